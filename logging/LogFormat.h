// The library's text formatter: "%" [index ":"] ["-"] [width] ["." precision] type, with the
// types d, u and x (integers) and s (text); "%%" is a percent sign. A format item that is
// malformed, or that does not fit its argument, raises EConvertError. Patterns are never handed
// to printf.
#pragma once
#include <cstddef>
#include <initializer_list>
#include <string>

namespace HierLog {

// Bounds of what a format may ask for, so that no format text makes the formatter allocate much
// beyond them. A width or precision above MaxFormatWidth is malformed: log columns are a few dozen
// characters wide, and an item at the bound makes 64 KB. However many items a format holds, one
// after which the text outgrows its text arguments (each counted once) by more than
// MaxFormattedLength is malformed too: that is 256 items at the full width, far beyond any log
// line and far within a 32-bit process.
constexpr int MaxFormatWidth = 65535;
constexpr size_t MaxFormattedLength = size_t(1) << 24;

// Raises EConvertError for a malformed format item, naming the format.
[[noreturn]] void RaiseInvalidFormat(const std::string& format);

struct TLogFormatArg {
    TLogFormatArg(const std::string& text) : isText(true), text(&text) {}
    TLogFormatArg(const char* text) : isText(true), literal(text ? text : "") {}
    TLogFormatArg(int number) : isText(false), number(number) {}

    bool isText;
    const std::string* text = nullptr;
    const char* literal = nullptr;
    int number = 0;
    std::string Text() const { return text ? *text : std::string(literal); }
};

std::string LogFormat(const std::string& format, std::initializer_list<TLogFormatArg> args);

// One format item "%" ["-"] [width] ["." precision] type, for formatting many values alike.
struct TLogFormatSpec {
    bool left = false;
    int width = -1;
    int precision = -1;
    char type = 0;
};
// False when the text is not exactly one such format item (an index or "*" included): such
// a text goes through LogFormat, which raises where it must.
bool CompileFormatSpec(const std::string& spec, TLogFormatSpec& compiled);
// Appends the value as the format item gives it; raises EConvertError, naming format, when the
// value does not fit the type or the width or precision is above MaxFormatWidth.
void AppendFormatted(std::string& out, const TLogFormatSpec& spec, const TLogFormatArg& arg, const std::string& format);

}  // namespace HierLog
