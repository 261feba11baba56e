#include "LogFormat.h"
#include "Exception.h"
#include <cstdint>
#include <cstring>
#include <vector>

namespace HierLog {

void RaiseInvalidFormat(const std::string& format) {
    throw EConvertError("Format '" + format + "' invalid or incompatible with argument");
}

namespace {

// Writes the digits so that they end at end; returns where they start.
char* Digits(uint32_t value, unsigned base, char* end) {
    char* first = end;
    do {
        *--first = "0123456789ABCDEF"[value % base];
        value /= base;
    } while (value);
    return first;
}

class Formatter {
public:
    Formatter(const std::string& format, std::initializer_list<TLogFormatArg> args) : format(format), args(args) {}

    std::string Run() {
        uint64_t allowed = MaxFormattedLength;
        for (const TLogFormatArg& arg : args)
            if (arg.isText)
                allowed += arg.text ? arg.text->size() : std::strlen(arg.literal);
        std::string out;
        while (pos < format.size()) {
            const char c = format[pos++];
            if (c != '%') {
                out += c;
                continue;
            }
            if (pos < format.size() && format[pos] == '%') {
                out += '%';
                ++pos;
                continue;
            }
            out += Conversion();
            if (out.size() > allowed)
                RaiseInvalidFormat(format);
        }
        return out;
    }

private:
    // A number or "*" (the next argument, an integer); -1 when there is neither.
    int Number() {
        if (pos < format.size() && format[pos] == '*') {
            ++pos;
            const TLogFormatArg& arg = Next();
            if (arg.isText)
                RaiseInvalidFormat(format);
            return arg.number;
        }
        if (pos >= format.size() || format[pos] < '0' || format[pos] > '9')
            return -1;
        int64_t value = 0;
        while (pos < format.size() && format[pos] >= '0' && format[pos] <= '9') {
            value = value * 10 + (format[pos++] - '0');
            if (value > INT32_MAX)
                RaiseInvalidFormat(format);
        }
        return static_cast<int>(value);
    }

    const TLogFormatArg& Next() {
        if (argIndex >= args.size())
            RaiseInvalidFormat(format);
        return args.begin()[argIndex++];
    }

    std::string Conversion() {
        TLogFormatSpec spec;
        int width = Number();
        if (pos < format.size() && format[pos] == ':') {
            ++pos;
            if (width < 0)
                width = 0;
            argIndex = static_cast<size_t>(width);
            width = Number();
        }
        if (width < 0 && pos < format.size() && format[pos] == '-') {
            spec.left = true;
            ++pos;
            width = Number();
        }
        spec.width = width;
        if (pos < format.size() && format[pos] == '.') {
            ++pos;
            spec.precision = Number();
            if (spec.precision < 0)
                spec.precision = 0;
        }
        if (pos >= format.size())
            RaiseInvalidFormat(format);
        spec.type = format[pos++];
        std::string text;
        AppendFormatted(text, spec, Next(), format);
        return text;
    }

    const std::string& format;
    std::initializer_list<TLogFormatArg> args;
    size_t pos = 0;
    size_t argIndex = 0;
};

}  // namespace

bool CompileFormatSpec(const std::string& spec, TLogFormatSpec& compiled) {
    size_t pos = 1;
    auto number = [&]() {
        int64_t value = -1;
        while (pos < spec.size() && spec[pos] >= '0' && spec[pos] <= '9') {
            value = (value < 0 ? 0 : value * 10) + (spec[pos++] - '0');
            if (value > INT32_MAX)
                return static_cast<int64_t>(-2);
        }
        return value;
    };
    if (spec.size() < 2 || spec[0] != '%')
        return false;
    TLogFormatSpec result;
    if (spec[pos] == '-') {
        result.left = true;
        ++pos;
    }
    const int64_t width = number();
    if (width < -1)
        return false;
    result.width = static_cast<int>(width);
    if (pos < spec.size() && spec[pos] == '.') {
        ++pos;
        const int64_t precision = number();
        if (precision < -1)
            return false;
        result.precision = precision < 0 ? 0 : static_cast<int>(precision);
    }
    if (pos + 1 != spec.size())
        return false;
    result.type = spec[pos];
    if (std::string("sSdDuUxX").find(result.type) == std::string::npos)
        return false;
    compiled = result;
    return true;
}

void AppendFormatted(std::string& out, const TLogFormatSpec& spec, const TLogFormatArg& arg,
                     const std::string& format) {
    if (spec.width > MaxFormatWidth || spec.precision > MaxFormatWidth)
        RaiseInvalidFormat(format);
    const size_t start = out.size();
    switch (spec.type) {
    case 's':
    case 'S':
        if (!arg.isText)
            RaiseInvalidFormat(format);
        {
            const char* text = arg.text ? arg.text->data() : arg.literal;
            size_t length = arg.text ? arg.text->size() : std::strlen(arg.literal);
            if (spec.precision >= 0 && length > static_cast<size_t>(spec.precision))
                length = static_cast<size_t>(spec.precision);
            out.append(text, length);
        }
        break;
    case 'd':
    case 'D':
    case 'u':
    case 'U':
    case 'x':
    case 'X': {
        if (arg.isText)
            RaiseInvalidFormat(format);
        const bool isSigned = spec.type == 'd' || spec.type == 'D';
        const bool negative = isSigned && arg.number < 0;
        const uint32_t magnitude = negative ? 0u - static_cast<uint32_t>(arg.number)
                                            : static_cast<uint32_t>(arg.number);
        char buffer[16];
        char* const end = buffer + sizeof buffer;
        const char* const digits = Digits(magnitude, spec.type == 'x' || spec.type == 'X' ? 16 : 10, end);
        const size_t count = static_cast<size_t>(end - digits);
        if (negative)
            out += '-';
        if (spec.precision > 0 && count < static_cast<size_t>(spec.precision))
            out.append(spec.precision - count, '0');
        out.append(digits, count);
        break;
    }
    default:
        RaiseInvalidFormat(format);
    }
    const size_t length = out.size() - start;
    if (spec.width > 0 && length < static_cast<size_t>(spec.width)) {
        if (spec.left)
            out.append(spec.width - length, ' ');
        else
            out.insert(start, spec.width - length, ' ');
    }
}

std::string LogFormat(const std::string& format, std::initializer_list<TLogFormatArg> args) {
    return Formatter(format, args).Run();
}

}  // namespace HierLog
