#include "LogLayouts.h"
#include "LogDateTime.h"
#include "LogEvent.h"
#include "LogFormat.h"
#include "LogLevel.h"
#include "LogRenderers.h"
#include "LogText.h"
#include <charconv>
#include <optional>
#include <typeinfo>

namespace HierLog {

HIERLOG_CLASS_INFO(TLogCustomLayout, TLogOptionHandlerOf<ILogLayout>)
HIERLOG_CLASS_INFO(TLogSimpleLayout, TLogCustomLayout)
HIERLOG_CLASS_INFO(TLogHTMLLayout, TLogCustomLayout)
HIERLOG_CLASS_INFO(TLogPatternLayout, TLogCustomLayout)
HIERLOG_CLASS_INFO(TLogCustomRenderer, TLogOptionHandlerOf<ILogRenderer>)

namespace {

// The words of the HTML document.
const char* const SessionStartText = "Log session start time";
const char* const TimeText = "Time";
const char* const ThreadText = "Thread";
const char* const LevelText = "Level";
const char* const LoggerText = "Logger";
const char* const NDCText = "NDC";
const char* const MessageText = "Message";

std::string Escaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Conversion letters and, at the same positions, the type letter each part gets. %L (a line
// number elsewhere) gives the text "Unknown" here, so it is formatted as text.
const std::string ConversionLetters = " cCdeFlLmMnprtx%";
const std::string TypeLetters = " sssssssssssddss";

enum Conversion {
    PlainText = 0,
    LoggerName = 1,
    ClassName = 2,
    Date = 3,
    ErrorMessage = 4,
    FileName = 5,
    Location = 6,
    LineNumber = 7,
    Message = 8,
    MethodName = 9,
    LineBreak = 10,
    LevelName = 11,
    Elapsed = 12,
    Thread = 13,
    Context = 14,
    Percent = 15
};

}  // namespace

void TLogCustomLayout::Init() {
    TLogOptionHandlerOf<ILogLayout>::Init();
    SetOption("dateFormat", ShortDateFormat());
}

void TLogCustomLayout::SetOption(const std::string& name, const std::string& value) {
    TLogOptionHandlerOf<ILogLayout>::SetOption(name, value);
    if (SameText(name, "dateFormat") && !value.empty())
        FDateFormat = value;
}

TLogSimpleLayout* TLogSimpleLayout::Create() {
    auto* layout = new TLogSimpleLayout;
    layout->Init();
    return layout;
}

namespace {

// The simple layout's text of the event, appended to out.
void AppendSimple(TLogEvent* event, std::string& out) {
    out += event->Level()->Name();
    out += " - ";
    out += event->Message();
    out += "\r\n";
}

}  // namespace

std::string TLogSimpleLayout::Format(TLogEvent* event) {
    std::string out;
    AppendSimple(event, out);
    return out;
}

TLogHTMLLayout* TLogHTMLLayout::Create() {
    auto* layout = new TLogHTMLLayout;
    layout->Init();
    return layout;
}

void TLogHTMLLayout::SetOption(const std::string& name, const std::string& value) {
    TLogCustomLayout::SetOption(name, value);
    if (SameText(name, "title") && !value.empty())
        FTitle = value;
}

std::string TLogHTMLLayout::GetHeader() {
    std::string h;
    h +=
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">\r\n";
    h += "<html>\r\n";
    h += "<head>\r\n";
    h += "<title>" + Escaped(FTitle) + "</title>\r\n";
    h += "<style type=\"text/css\">\r\n";
    h += "<!--\r\n";
    h += "body, table {font-family: arial,sans-serif; font-size: x-small;}\r\n";
    h += "th {background: #336699; color: #FFFFFF; text-align: left;}\r\n";
    h += "-->\r\n";
    h += "</style>\r\n";
    h += "</head>\r\n";
    h += "<body bgcolor=\"#FFFFFF\" topmargin=\"6\" leftmargin=\"6\">\r\n";
    h += "<hr size=\"1\" noshade>\r\n";
    h += std::string(SessionStartText) + " " + Escaped(DateTimeToStr(Now())) + "<br>\r\n";
    h += "<br>\r\n";
    h += "<table cellspacing=\"0\" cellpadding=\"4\" border=\"1\" bordercolor=\"#224466\" width=\"100%\">\r\n";
    h += std::string("<tr><th>") + TimeText + "</th><th>" + ThreadText + "</th>" + "<th>" + LevelText + "</th><th>" +
         LoggerText + "</th>" + "<th>" + NDCText + "</th><th>" + MessageText + "</th></tr>\r\n";
    return h;
}

std::string TLogHTMLLayout::Format(TLogEvent* event) {
    std::string row = "<tr><td>" + std::to_string(event->ElapsedTime()) + "</td><td>" +
                      std::to_string(event->ThreadId()) + "</td><td>";
    TLogLevel* level = event->Level();
    const std::string name = Escaped(level->Name());
    if (level == Debug)
        row += "<font color=\"#339933\">" + name + "</font>";
    else if (level->IsGreaterOrEqual(Warn))
        row += "<font color=\"#993300\"><strong>" + name + "</strong></font>";
    else
        row += name;
    row += "</td><td>" + Escaped(event->LoggerName()) + "</td>" + "<td>" + Escaped(event->NDC()) + "</td><td>" +
           Escaped(event->Message()) + "</td></tr>\r\n";
    const std::string error = event->ErrorMessage();
    if (!error.empty())
        row += "<tr><td bgcolor=\"#993300\" style=\"color: White; font-size: xx-small;\" colspan=\"6\">" +
               Escaped(error) + "</td></tr>\r\n";
    return row;
}

std::string TLogHTMLLayout::GetFooter() {
    return "</table>\r\n</body>\r\n</html>\r\n";
}

TLogPatternLayout* TLogPatternLayout::Create(const std::string& pattern) {
    auto* layout = new TLogPatternLayout;
    layout->Init();
    layout->SetPattern(pattern);
    return layout;
}

void TLogPatternLayout::Init() {
    TLogCustomLayout::Init();
    FPatternParts.clear();
}

void TLogPatternLayout::SetOption(const std::string& name, const std::string& value) {
    TLogCustomLayout::SetOption(name, value);
    if (SameText(name, "pattern") && !value.empty())
        SetPattern(value);
}

void TLogPatternLayout::SetPattern(const std::string& pattern) {
    FPattern = pattern;
    FPatternParts.clear();
    size_t i = 0;
    while (i < pattern.size()) {
        if (pattern[i] != '%') {
            const size_t end = pattern.find('%', i);
            const size_t stop = end == std::string::npos ? pattern.size() : end;
            FPatternParts.push_back({pattern.substr(i, stop - i), PlainText, false, {}, false});
            i = stop;
            continue;
        }
        std::string text = "%";
        ++i;
        while (i < pattern.size() && (pattern[i] == ' ' || ConversionLetters.find(pattern[i]) == std::string::npos))
            text += pattern[i++];
        char letter = 'm';
        if (i < pattern.size())
            letter = pattern[i++];
        const size_t position = ConversionLetters.find(letter);
        text += TypeLetters[position];
        Part part{text, static_cast<int>(position), false, {}, false};
        part.compiled = CompileFormatSpec(text, part.spec);
        part.bare = part.compiled && text.size() == 2;
        FPatternParts.push_back(part);
    }
}

void TLogPatternLayout::Append(std::string& out, const Part& part, const TLogFormatArg& value) const {
    if (part.bare && value.text && part.spec.type == 's') {
        out += *value.text;
    } else if (part.bare && !value.isText && part.spec.type == 'd') {
        char digits[12];
        out.append(digits, std::to_chars(digits, digits + sizeof digits, value.number).ptr);
    } else if (part.compiled) {
        AppendFormatted(out, part.spec, value, part.text);
    } else {
        out += LogFormat(part.text, {value});
    }
}

// The pattern layout's text of an event, appended to a buffer of the caller's; a friend rather
// than a member, so that the exported class keeps its members.
struct TPatternLayoutWriter {
    static void Append(const TLogPatternLayout& layout, TLogEvent* event, std::string& out);
};

std::string TLogPatternLayout::Format(TLogEvent* event) {
    std::string out;
    out.reserve(event->Message().size() + 96);
    TPatternLayoutWriter::Append(*this, event, out);
    return out;
}

void TPatternLayoutWriter::Append(const TLogPatternLayout& layout, TLogEvent* event, std::string& out) {
    using Part = TLogPatternLayout::Part;
    const size_t from = out.size();
    const size_t allowed = MaxFormattedLength + event->Message().size();
    std::optional<std::string> date;  // the time of the first %d, for every %d of the event
    for (const Part& part : layout.FPatternParts) {
        switch (part.code) {
        case PlainText:
            out += part.text;
            break;
        case LineBreak:
            out.append("\r\n", 2);
            break;
        case Percent:
            out += '%';
            break;
        case Date:
            if (!date)
                date = FormatDateTime(layout.FDateFormat, Now());
            out += *date;
            break;
        case LoggerName:
            layout.Append(out, part, event->LoggerName());
            break;
        case ErrorMessage:
            layout.Append(out, part, event->ErrorMessage());
            break;
        case Message:
            layout.Append(out, part, event->Message());
            break;
        case LevelName:
            layout.Append(out, part, event->Level()->Name());
            break;
        case Elapsed:
            layout.Append(out, part, event->ElapsedTime());
            break;
        case Thread:
            layout.Append(out, part, event->ThreadId());
            break;
        case Context:
            layout.Append(out, part, event->NDC());
            break;
        default:
            layout.Append(out, part, "Unknown");
            break;
        }
        if (part.code != PlainText && out.size() - from > allowed)
            RaiseInvalidFormat(part.text);
    }
}

void FormatEventInto(ILogLayout* layout, TLogEvent* event, std::string& out) {
    // Exact classes only: a subclass may give its own Format.
    const std::type_info& type = typeid(*layout);
    if (type == typeid(TLogPatternLayout))
        TPatternLayoutWriter::Append(*static_cast<TLogPatternLayout*>(layout), event, out);
    else if (type == typeid(TLogSimpleLayout))
        AppendSimple(event, out);
    else
        out += layout->Format(event);
}

}  // namespace HierLog
