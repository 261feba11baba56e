// Layouts: an event as the text an appender writes, with the header and footer of a file.
// Option "dateFormat" (the pattern layout's date conversion; the locale's short date format at
// first); the HTML layout's "title"; the pattern layout's "pattern".
#pragma once
#include "LogFormat.h"
#include "LogInterfaces.h"
#include "LogOptionHandler.h"
#include <string>
#include <vector>

namespace HierLog {

class HIERLOG_API TLogCustomLayout : public TLogOptionHandlerOf<ILogLayout> {
    HIERLOG_CLASS(TLogCustomLayout)
    void Init() override;
    void SetOption(const std::string& name, const std::string& value) override;
    std::string GetContentType() override { return "text/plain"; }
    std::string GetHeader() override { return {}; }
    std::string GetFooter() override { return {}; }
    bool IgnoresException() override { return true; }
    const std::string& DateFormat() const { return FDateFormat; }

protected:
    std::string FDateFormat;
};

// level - message, and a line break.
class HIERLOG_API TLogSimpleLayout : public TLogCustomLayout {
    HIERLOG_CLASS(TLogSimpleLayout)
    TLogSimpleLayout() = default;  // bare
    static TLogSimpleLayout* Create();
    std::string Format(TLogEvent* event) override;
};

// A table document: one row per event, a full-width row for an exception's message. Every text
// it writes has & < > " escaped.
class HIERLOG_API TLogHTMLLayout : public TLogCustomLayout {
    HIERLOG_CLASS(TLogHTMLLayout)
    TLogHTMLLayout() = default;  // bare
    static TLogHTMLLayout* Create();
    std::string GetContentType() override { return "text/html"; }
    bool IgnoresException() override { return false; }
    void SetOption(const std::string& name, const std::string& value) override;
    std::string GetHeader() override;
    std::string Format(TLogEvent* event) override;
    std::string GetFooter() override;
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& title) { FTitle = title; }

private:
    std::string FTitle;
};

// Formats events by a conversion pattern: %c logger, %d date and time (in the date format, read
// once for all of an event's %d), %e exception message, %m message, %n line break, %p level, %r
// age in ms, %t thread, %x context, %% percent; %C %F %l %L %M give "Unknown". Modifiers between
// "%" and the letter: "-" left alignment, a width, "." and a precision, within the formatter's
// bounds (LogFormat.h); a conversion after which an event's text outgrows its message by more
// than MaxFormattedLength is malformed.
class HIERLOG_API TLogPatternLayout : public TLogCustomLayout {
    HIERLOG_CLASS(TLogPatternLayout)
    TLogPatternLayout() = default;  // bare
    static TLogPatternLayout* Create(const std::string& pattern = {});
    void Init() override;
    void SetOption(const std::string& name, const std::string& value) override;
    std::string Format(TLogEvent* event) override;
    const std::string& Pattern() const { return FPattern; }
    void SetPattern(const std::string& pattern);

private:
    struct Part {
        std::string text;  // plain text, or "%", the modifiers and a type letter
        int code;          // 0 plain text, else the conversion's position in the table
        bool compiled;     // spec holds the text's format item
        TLogFormatSpec spec;
        bool bare;  // the item is "%s" or "%d": the value as it is
    };
    void Append(std::string& out, const Part& part, const TLogFormatArg& value) const;
    std::string FPattern;
    std::vector<Part> FPatternParts;
    friend struct TPatternLayoutWriter;  // appends Format's text to a buffer of the caller's
};

// Appends the event's text as the layout formats it: the simple and the pattern layout write into
// out directly; any other layout, a subclass of those two included, gives its Format.
void FormatEventInto(ILogLayout* layout, TLogEvent* event, std::string& out);

}  // namespace HierLog
