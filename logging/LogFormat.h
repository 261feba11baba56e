// The library's text formatter: "%" [index ":"] ["-"] [width] ["." precision] type, with the
// types d, u and x (integers) and s (text); "%%" is a percent sign. A format item that is
// malformed, or that does not fit its argument, raises EConvertError. Patterns are never handed
// to printf.
#pragma once
#include <initializer_list>
#include <string>

namespace HierLog {

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
// value does not fit the type.
void AppendFormatted(std::string& out, const TLogFormatSpec& spec, const TLogFormatArg& arg, const std::string& format);

}  // namespace HierLog
