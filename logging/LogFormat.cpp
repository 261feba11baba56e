#include "LogFormat.h"
#include "Exception.h"
#include <cstdint>
#include <vector>

namespace HierLog {

namespace {

[[noreturn]] void Invalid(const std::string& format)
{
    throw EConvertError("Format '" + format + "' invalid or incompatible with argument");
}

std::string Digits(uint32_t value, unsigned base)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), "0123456789ABCDEF"[value % base]);
        value /= base;
    } while (value);
    return digits;
}

class Formatter {
public:
    Formatter(const std::string& format, std::initializer_list<TLogFormatArg> args)
        : format(format), args(args) {}

    std::string Run()
    {
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
        }
        return out;
    }

private:
    // A number or "*" (the next argument, an integer); -1 when there is neither.
    int Number()
    {
        if (pos < format.size() && format[pos] == '*') {
            ++pos;
            const TLogFormatArg& arg = Next();
            if (arg.isText) Invalid(format);
            return arg.number;
        }
        if (pos >= format.size() || format[pos] < '0' || format[pos] > '9') return -1;
        int64_t value = 0;
        while (pos < format.size() && format[pos] >= '0' && format[pos] <= '9') {
            value = value * 10 + (format[pos++] - '0');
            if (value > INT32_MAX) Invalid(format);
        }
        return static_cast<int>(value);
    }

    const TLogFormatArg& Next()
    {
        if (argIndex >= args.size()) Invalid(format);
        return args.begin()[argIndex++];
    }

    std::string Conversion()
    {
        int width = Number();
        if (pos < format.size() && format[pos] == ':') {
            ++pos;
            if (width < 0) width = 0;
            argIndex = static_cast<size_t>(width);
            width = Number();
        }
        bool left = false;
        if (width < 0 && pos < format.size() && format[pos] == '-') {
            left = true;
            ++pos;
            width = Number();
        }
        int precision = -1;
        if (pos < format.size() && format[pos] == '.') {
            ++pos;
            precision = Number();
            if (precision < 0) precision = 0;
        }
        if (pos >= format.size()) Invalid(format);
        const char type = format[pos++];
        const TLogFormatArg& arg = Next();
        std::string text;
        switch (type) {
        case 's': case 'S':
            if (!arg.isText) Invalid(format);
            text = arg.Text();
            if (precision >= 0 && text.size() > static_cast<size_t>(precision)) text.resize(precision);
            break;
        case 'd': case 'D': case 'u': case 'U': case 'x': case 'X': {
            if (arg.isText) Invalid(format);
            const bool isSigned = type == 'd' || type == 'D';
            const bool negative = isSigned && arg.number < 0;
            const uint32_t magnitude = negative ? 0u - static_cast<uint32_t>(arg.number) : static_cast<uint32_t>(arg.number);
            text = Digits(magnitude, type == 'x' || type == 'X' ? 16 : 10);
            if (precision > 0 && text.size() < static_cast<size_t>(precision))
                text.insert(0, precision - text.size(), '0');
            if (negative) text.insert(0, 1, '-');
            break;
        }
        default:
            Invalid(format);
        }
        if (width > 0 && text.size() < static_cast<size_t>(width)) {
            if (left) text.append(width - text.size(), ' ');
            else text.insert(0, width - text.size(), ' ');
        }
        return text;
    }

    const std::string& format;
    std::initializer_list<TLogFormatArg> args;
    size_t pos = 0;
    size_t argIndex = 0;
};

}  // namespace

std::string LogFormat(const std::string& format, std::initializer_list<TLogFormatArg> args)
{
    return Formatter(format, args).Run();
}

}  // namespace HierLog
