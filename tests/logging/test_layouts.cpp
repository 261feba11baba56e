// Layouts: the simple line, every conversion and modifier of the pattern, the HTML document.
#include "Exception.h"
#include "HierLog.h"
#include "LogLibrary.h"
#include "RecordingAppender.h"
#include "TextChecks.h"
#include <gtest/gtest.h>
#include <stdexcept>

using namespace HierLog;

namespace {

// An event of logger "app.part" made ms milliseconds after library start.
class Layouts : public ::testing::Test {
protected:
    void SetUp() override { TLogNDC::Remove(); }
    void TearDown() override { TLogNDC::Remove(); }

    TLogEvent At(int ms, TLogLevel* level, const std::string& message, const std::exception* error = nullptr) {
        return TLogEvent(logger, level, message, error, Internal::StartTime + ms / 86400000.0);
    }
    std::string Pattern(const std::string& pattern, TLogEvent event) {
        LogRef<TLogPatternLayout> layout(TLogPatternLayout::Create(pattern));
        return layout->Format(&event);
    }

    TLogHierarchy hierarchy{new TLogRoot(Debug)};
    TLogLogger* logger = hierarchy.GetLogger("app.part");
};

std::string Thread() {
    return std::to_string(GetCurrentThreadId());
}

}  // namespace

TEST_F(Layouts, SimpleLine) {
    LogRef<TLogSimpleLayout> layout(TLogSimpleLayout::Create());
    TLogEvent event = At(0, Info, "hello");
    EXPECT_EQ(layout->Format(&event), "info - hello\r\n");
    EXPECT_EQ(layout->GetContentType(), "text/plain");
    EXPECT_EQ(layout->GetHeader(), "");
    EXPECT_EQ(layout->GetFooter(), "");
    EXPECT_TRUE(layout->IgnoresException());
    const std::runtime_error error("boom");
    TLogEvent withError = At(0, Error, "failed", &error);
    EXPECT_EQ(layout->Format(&withError), "error - failed\r\n");
}

TEST_F(Layouts, PatternConversions) {
    const std::runtime_error error("disk full");
    TLogNDC::Push("outer");
    TLogNDC::Push("inner");
    const struct {
        const char* pattern;
        const char* level;
        std::string expected;
    } table[] = {
        {"%c", "info", "app.part"},
        {"%m", "info", "msg"},
        {"%p", "warn", "warn"},
        {"%r", "info", "42"},
        {"%t", "info", Thread()},
        {"%x", "info", "outer|inner"},
        {"%e", "info", "disk full"},
        {"%n", "info", "\r\n"},
        {"%%", "info", "%"},
        {"%L %C %F %l %M", "info", "Unknown Unknown Unknown Unknown Unknown"},
        {"[%-5p|%5r]", "debug", "[debug|   42]"},
        {"[%-5p]", "info", "[info ]"},
        {"[%.3c]", "info", "[app]"},
        {"[%10.3c]", "info", "[       app]"},
        {"[%-8.3m]", "info", "[msg     ]"},
        {"[%.5r]", "info", "[00042]"},
        {"[%-3n][%9%]", "info", "[\r\n][%]"},
        {"abc%", "info", "abcmsg"},
        {"%-5", "info", "msg  "},
        {"%z-%m", "info", "%m"},
        {"plain text only", "info", "plain text only"},
        {"%r ms [%t] %p %c %x - %m%n", "error", "42 ms [" + Thread() + "] error app.part outer|inner - msg\r\n"},
        {"", "info", ""},
    };
    for (const auto& row : table) {
        TLogLevel* level = TLogLevel::GetLevel(std::string(row.level));
        EXPECT_EQ(Pattern(row.pattern, At(42, level, "msg", &error)), row.expected) << row.pattern;
    }
}

TEST_F(Layouts, PatternModifiersTheFormatterRejectsRaiseWhenFormatting) {
    for (const char* pattern : {"% m", "%5.qm", "%zc", "%-q-m", "%1:m"}) {
        LogRef<TLogPatternLayout> layout(TLogPatternLayout::Create(pattern));  // never rejected when set
        TLogEvent event = At(0, Info, "m");
        EXPECT_THROW(layout->Format(&event), EConvertError) << pattern;
    }
}

// Widths and precisions up to the formatter's bound are made; beyond it, or when conversions make
// far more text than the message holds, the conversion is malformed, also for the logging call.
TEST_F(Layouts, PatternWidthsAndLengthsBeyondTheBoundsRaiseWhenFormatting) {
    const std::string bound = std::to_string(MaxFormatWidth);
    const std::string beyond = std::to_string(MaxFormatWidth + 1);
    EXPECT_EQ(Pattern("%" + bound + "m", At(0, Info, "m")), std::string(MaxFormatWidth - 1, ' ') + "m");
    EXPECT_EQ(Pattern("%." + bound + "r", At(42, Info, "m")), std::string(MaxFormatWidth - 2, '0') + "42");
    EXPECT_EQ(Pattern("%99999999%%" + beyond + "n", At(0, Info, "m")), "%\r\n");  // no modifiers taken
    const std::string fullWidth = Repeated("%" + bound + "p", MaxFormattedLength / MaxFormatWidth);
    EXPECT_EQ(Pattern(fullWidth, At(0, Info, "m")).size(), MaxFormattedLength / MaxFormatWidth * MaxFormatWidth);
    const std::string longMessage(MaxFormattedLength + 1, 'x');
    EXPECT_EQ(Pattern("[%m]", At(0, Info, longMessage)).size(), longMessage.size() + 2);
    const struct {
        std::string pattern;
        const std::string& message;
    } table[] = {
        {"%" + beyond + "m", "m"},
        {"%-" + beyond + "c", "m"},
        {"%." + beyond + "x", "m"},
        {"%." + beyond + "t", "m"},
        {"%" + beyond + "L", "m"},
        {"%999999999m", "m"},
        {"%-2147483647.2147483647p", "m"},
        {"%2147483648r", "m"},
        {"%.99999999999999999999999999e", "m"},
        {fullWidth + "%" + bound + "p", "m"},
        {"%m%m", longMessage},
    };
    for (const auto& row : table) {
        LogRef<TLogPatternLayout> layout(TLogPatternLayout::Create(row.pattern));
        TLogEvent event = At(0, Info, row.message);
        EXPECT_THROW(layout->Format(&event), EConvertError) << row.pattern.substr(0, 40);
    }
    LogRef<TRecordingAppender> appender(new TRecordingAppender("rec", TLogPatternLayout::Create("%999999999m")));
    logger->AddAppender(appender.get());
    EXPECT_THROW(logger->Info("m"), EConvertError);
    EXPECT_TRUE(appender->Texts().empty());
}

// Every %d of an event gives the same reading of the clock.
TEST_F(Layouts, PatternDatesOfOneEventAreOneReading) {
    LogRef<TLogPatternLayout> layout(TLogPatternLayout::Create(Repeated("%d|", 2000)));
    layout->SetOption("dateFormat", "hh:nn:ss.zzz");
    TLogEvent event = At(0, Info, "m");
    const std::string text = layout->Format(&event);
    const std::string first = text.substr(0, text.find('|') + 1);
    EXPECT_TRUE(text == Repeated(first, 2000)) << first << " ... " << text.substr(text.size() - first.size());
}

TEST_F(Layouts, PatternDateIgnoresModifiersAndUsesTheDateFormat) {
    LogRef<TLogPatternLayout> layout(TLogPatternLayout::Create("[%-30d]"));
    TLogEvent event = At(0, Info, "m");
    const std::string today = FormatDateTime("dd.MM.yyyy", Now());
    EXPECT_EQ(layout->DateFormat(), "dd.MM.yyyy");  // the locale's short date format
    const std::string text = layout->Format(&event);
    if (text != "[" + today + "]") {  // the day changed in between
        EXPECT_EQ(text, "[" + FormatDateTime("dd.MM.yyyy", Now()) + "]");
    }
    layout->SetOption("dateFormat", "yyyy");
    EXPECT_EQ(layout->Format(&event), "[" + FormatDateTime("yyyy", Now()) + "]");
    layout->SetOption("dateFormat", "");  // an empty value keeps the format
    EXPECT_EQ(layout->DateFormat(), "yyyy");
}

TEST_F(Layouts, PatternOptionAndBareLayout) {
    TObject* bare = TLogPatternLayout::StaticClass()->NewBare();
    void* found = nullptr;
    ASSERT_TRUE(bare->GetInterface(ILogLayout::Id, &found));
    LogRef<ILogLayout> layout;
    layout.Adopt(static_cast<ILogLayout*>(found));
    layout->Init();
    TLogEvent event = At(5, Info, "m");
    EXPECT_EQ(layout->Format(&event), "");  // no pattern yet
    layout->SetOption("pattern", "%p:%m");
    EXPECT_EQ(layout->Format(&event), "info:m");
    layout->SetOption("pattern", "");
    EXPECT_EQ(layout->Format(&event), "info:m");
    EXPECT_EQ(static_cast<TLogPatternLayout*>(layout.get())->Pattern(), "%p:%m");
}

TEST_F(Layouts, HtmlRows) {
    LogRef<TLogHTMLLayout> layout(TLogHTMLLayout::Create());
    const std::string start = "<tr><td>42</td><td>" + Thread() + "</td><td>";
    const std::runtime_error error("disk <full> & \"gone\"");
    const struct {
        TLogLevel* level;
        const char* message;
        const std::exception* error;
        std::string expected;
    } table[] = {
        {Debug, "d", nullptr,
         start + "<font color=\"#339933\">debug</font></td><td>app.part</td><td></td><td>d</td></tr>\r\n"},
        {Info, "i", nullptr, start + "info</td><td>app.part</td><td></td><td>i</td></tr>\r\n"},
        {Warn, "w", nullptr,
         start +
             "<font color=\"#993300\"><strong>warn</strong></font></td><td>app.part</td><td></td><td>w</td></tr>\r\n"},
        {Fatal, "a < b & \"c\" > d", &error,
         start + "<font color=\"#993300\"><strong>fatal</strong></font></td><td>app.part</td><td></td>"
                 "<td>a &lt; b &amp; &quot;c&quot; &gt; d</td></tr>\r\n"
                 "<tr><td bgcolor=\"#993300\" style=\"color: White; font-size: xx-small;\" colspan=\"6\">"
                 "disk &lt;full&gt; &amp; &quot;gone&quot;</td></tr>\r\n"},
    };
    for (const auto& row : table) {
        TLogEvent event = At(42, row.level, row.message, row.error);
        EXPECT_EQ(layout->Format(&event), row.expected) << row.level->Name();
    }
    TLogNDC::Push("<ctx>");
    TLogLogger* odd = hierarchy.GetLogger("a&b");
    TLogEvent event(odd, Info, "m", nullptr, Internal::StartTime);
    EXPECT_EQ(layout->Format(&event), "<tr><td>0</td><td>" + Thread() +
                                          "</td><td>info</td><td>a&amp;b</td><td>&lt;ctx&gt;</td><td>m</td></tr>\r\n");
    EXPECT_EQ(layout->GetContentType(), "text/html");
    EXPECT_FALSE(layout->IgnoresException());
}

TEST_F(Layouts, HtmlHeaderAndFooter) {
    LogRef<TLogHTMLLayout> layout(TLogHTMLLayout::Create());
    layout->SetOption("title", "Log <of> \"Vorsalt\" & co");
    const std::string before = DateTimeToStr(Now());
    const std::string header = layout->GetHeader();
    const std::string after = DateTimeToStr(Now());
    const std::string top =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">\r\n"
        "<html>\r\n<head>\r\n<title>Log &lt;of&gt; &quot;Vorsalt&quot; &amp; co</title>\r\n"
        "<style type=\"text/css\">\r\n<!--\r\nbody, table {font-family: arial,sans-serif; font-size: x-small;}\r\n"
        "th {background: #336699; color: #FFFFFF; text-align: left;}\r\n-->\r\n</style>\r\n</head>\r\n"
        "<body bgcolor=\"#FFFFFF\" topmargin=\"6\" leftmargin=\"6\">\r\n<hr size=\"1\" noshade>\r\nLog session start time ";
    const std::string bottom =
        "<br>\r\n<br>\r\n<table cellspacing=\"0\" cellpadding=\"4\" border=\"1\" bordercolor=\"#224466\" width=\"100%\">\r\n"
        "<tr><th>Time</th><th>Thread</th><th>Level</th><th>Logger</th><th>NDC</th><th>Message</th></tr>\r\n";
    const bool sameSecond = header == top + before + bottom || header == top + after + bottom;
    EXPECT_TRUE(sameSecond) << header;
    EXPECT_EQ(layout->GetFooter(), "</table>\r\n</body>\r\n</html>\r\n");
    layout->SetOption("title", "");
    EXPECT_EQ(layout->Title(), "Log <of> \"Vorsalt\" & co");
}
