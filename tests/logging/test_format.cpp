// The library's text and date-time formatters.
#include "Exception.h"
#include "LogDateTime.h"
#include "LogFormat.h"
#include "WineBehaviour.h"
#include <gtest/gtest.h>

using namespace HierLog;

TEST(LogFormat, TextAndNumbers) {
    const struct {
        const char* format;
        TLogFormatArg arg;
        const char* expected;
    } table[] = {
        {"%s", "abc", "abc"},
        {"[%5s]", "abc", "[  abc]"},
        {"[%-5s]", "abc", "[abc  ]"},
        {"[%.2s]", "abc", "[ab]"},
        {"[%-6.2s]", "abc", "[ab    ]"},
        {"[%2s]", "abcdef", "[abcdef]"},
        {"%d", 42, "42"},
        {"[%5d]", 42, "[   42]"},
        {"[%-5d]", 42, "[42   ]"},
        {"[%.4d]", 42, "[0042]"},
        {"[%.4d]", -42, "[-0042]"},
        {"[%6.3d]", 7, "[   007]"},
        {"%d", INT32_MIN, "-2147483648"},
        {"%u", -1, "4294967295"},
        {"%x", 255, "FF"},
        {"%0:s", "first", "first"},
        {"100%%", 1, "100%"},
        {"%s", "", ""},
        {"no conversion", 1, "no conversion"},
        {"%S", "upper", "upper"},
        {"%D", 5, "5"},
    };
    for (const auto& row : table)
        EXPECT_EQ(LogFormat(row.format, {row.arg}), row.expected) << row.format;
    EXPECT_EQ(LogFormat("%s - (%d) %s", {"write failed", 5, "disk full"}), "write failed - (5) disk full");
    EXPECT_EQ(LogFormat("%1:s %0:s", {"a", "b"}), "b a");
    EXPECT_EQ(LogFormat("%*d", {4, 7}), "   7");
}

TEST(LogFormat, MalformedOrMismatchedFormatItemsRaise) {
    const struct {
        const char* format;
        TLogFormatArg arg;
    } table[] = {
        {"%d", "text"},
        {"%s", 5},
        {"%z", 1},
        {"%5", 1},
        {"%", 1},
        {"%-", 1},
        {"%5.q", "x"},
        {"%1:s", "only one"},
        {"%s%s", "one"},
        {"%*s", "x"},
        {"%f", 1},
        {"% 5s", "x"},
        {"%99999999999s", "x"},
    };
    for (const auto& row : table) {
        try {
            LogFormat(row.format, {row.arg});
            ADD_FAILURE() << row.format << " did not raise";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, std::string("Format '") + row.format + "' invalid or incompatible with argument");
        }
    }
}

// The test prefix runs with the Russian locale: short date dd.MM.yyyy; long time HH:mm:ss in Wine's
// locale data (Windows has H:mm:ss).
TEST(FormatDateTime, Letters) {
    const TDateTime moment = EncodeDateTime(2024, 3, 7, 9, 5, 4, 32);
    const TDateTime evening = EncodeDateTime(1999, 12, 31, 21, 45, 0, 0);
    const struct {
        const char* format;
        TDateTime value;
        const char* expected;
    } table[] = {
        {"yyyy-mm-dd hh:nn:ss.zzz", moment, "2024-03-07 09:05:04.032"},
        {"d/m/yy h:n:s z", moment, "7.3.24 9:5:4 32"},
        {"hh:mm", moment, "09:05"},  // m right after an hour is the minute
        {"YYYY MM DD", moment, "2024 03 07"},
        {"h:nn am/pm", evening, "9:45 pm"},
        {"h:nn A/P", moment, "9:05 A"},
        {"'yyyy' \"dd\" yyyy", moment, "yyyy dd 2024"},
        {"ddddd", moment, "07.03.2024"},
        {"c", moment, WineGives("07.03.2024 09:05:04", "ru-RU long time HH:mm:ss")},
        {"c", EncodeDateTime(2024, 3, 7, 0, 0, 0, 0), "07.03.2024"},
        {"tt", evening, "21:45:00"},
        {"t", evening, "21:45"},
        {"", moment, WineGives("07.03.2024 09:05:04", "ru-RU long time HH:mm:ss")},
        {"[x]", moment, "[x]"},
    };
    for (const auto& row : table)
        EXPECT_EQ(FormatDateTime(row.format, row.value), row.expected) << row.format;
    EXPECT_EQ(ShortDateFormat(), "dd.MM.yyyy");
    EXPECT_EQ(DateTimeToStr(evening), "31.12.1999 21:45:00");
}

TEST(FormatDateTime, NamesOfMonthsAndDays) {
    const TDateTime thursday = EncodeDateTime(2024, 3, 7, 12, 0, 0, 0);
    EXPECT_FALSE(FormatDateTime("mmmm", thursday).empty());
    EXPECT_NE(FormatDateTime("mmm", thursday), FormatDateTime("mmm", EncodeDateTime(2024, 4, 7, 12, 0, 0, 0)));
    EXPECT_NE(FormatDateTime("ddd", thursday), FormatDateTime("ddd", thursday + 1));
    EXPECT_EQ(FormatDateTime("dddd", thursday), FormatDateTime("dddd", thursday + 7));
}

TEST(FormatDateTime, EncodingCountsDaysFrom1899) {
    EXPECT_EQ(EncodeDateTime(1899, 12, 30, 0, 0, 0, 0), 0.0);
    EXPECT_EQ(EncodeDateTime(1900, 1, 1, 0, 0, 0, 0), 2.0);
    EXPECT_EQ(EncodeDateTime(2000, 1, 1, 12, 0, 0, 0), 36526.5);
    // Before that day the fraction still counts forward from midnight.
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh", EncodeDateTime(1899, 12, 29, 6, 0, 0, 0)), "1899-12-29 06");
    const TDateTime now = Now();
    EXPECT_GT(now, 45000.0);
}
