// The library's text and date-time formatters.
#include "Exception.h"
#include "LogDateTime.h"
#include "LogFormat.h"
#include "TextChecks.h"
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

namespace {

void ExpectInvalid(const std::string& format, std::initializer_list<TLogFormatArg> args) {
    try {
        LogFormat(format, args);
        ADD_FAILURE() << format.substr(0, 40) << " did not raise";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, "Format '" + format + "' invalid or incompatible with argument") << format.substr(0, 40);
    }
}

}  // namespace

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
    for (const auto& row : table)
        ExpectInvalid(row.format, {row.arg});
}

// Widths and precisions up to the bound are made; beyond it, or beyond the digits of a number, or
// when items make far more text than their arguments hold, the item is malformed and nothing that
// large is allocated.
TEST(LogFormat, WidthsAndLengthsBeyondTheBoundsRaise) {
    const std::string bound = std::to_string(MaxFormatWidth);
    const std::string beyond = std::to_string(MaxFormatWidth + 1);
    EXPECT_EQ(LogFormat("%" + bound + "s", {"x"}), std::string(MaxFormatWidth - 1, ' ') + "x");
    EXPECT_EQ(LogFormat("%." + bound + "d", {7}), std::string(MaxFormatWidth - 1, '0') + "7");
    EXPECT_EQ(LogFormat("%." + bound + "s", {"abc"}), "abc");
    EXPECT_EQ(LogFormat("%*s", {MaxFormatWidth, ""}).size(), static_cast<size_t>(MaxFormatWidth));
    const struct {
        std::string format;
        TLogFormatArg arg;
    } table[] = {
        {"%" + beyond + "s", "x"},
        {"%-" + beyond + "s", "x"},
        {"%." + beyond + "s", "x"},
        {"%." + beyond + "d", 7},
        {"%" + beyond + "." + beyond + "x", 7},
        {"%0:" + beyond + "s", "x"},
        {"%999999999s", "x"},
        {"%-2147483647.2147483647s", "x"},
        {"%2147483648d", 7},
        {"%.99999999999999999999999999d", 7},
    };
    for (const auto& row : table)
        ExpectInvalid(row.format, {row.arg});
    ExpectInvalid("%*s", {MaxFormatWidth + 1, "x"});
    ExpectInvalid("%-*d", {INT32_MAX, 7});
    ExpectInvalid("%.*d", {MaxFormatWidth + 1, 7});
    // Items at the full width up to the bound of the whole text, and one more.
    const std::string item = "%0:" + bound + "s";
    const size_t fit = MaxFormattedLength / MaxFormatWidth;
    EXPECT_EQ(LogFormat(Repeated(item, fit), {"x"}).size(), fit * MaxFormatWidth);
    ExpectInvalid(Repeated(item, fit + 1), {"x"});
    // An argument as long as the bound and more is made once, not twice.
    const std::string longText(MaxFormattedLength + 1, 'x');
    EXPECT_EQ(LogFormat("[%s]", {longText}).size(), longText.size() + 2);
    ExpectInvalid("%s%0:s", {longText});
}

// The test prefix runs with the Russian locale: short date dd.MM.yyyy; long time H:mm:ss (Wine's
// locale data has HH:mm:ss).
const char WineLongTime[] = "ru-RU long time HH:mm:ss";
const char WineLongDate[] =
    "ru-RU long date; one of its spaces has no cp1251 character; Windows' long date (d MMMM yyyy 'г.') with the "
    "month's name as the version writes it: not known here";

TEST(FormatDateTime, Letters) {
    const TDateTime moment = EncodeDateTime(2024, 3, 7, 9, 5, 4, 32);
    const TDateTime evening = EncodeDateTime(1999, 12, 31, 21, 45, 0, 0);
    const struct {
        const char* format;
        TDateTime value;
        TExpected<std::string> expected;
    } table[] = {
        {"yyyy-mm-dd hh:nn:ss.zzz", moment, "2024-03-07 09:05:04.032"},
        {"d/m/yy h:n:s z", moment, "7.3.24 9:5:4 32"},
        {"hh:mm", moment, "09:05"},  // m right after an hour is the minute
        {"YYYY MM DD", moment, "2024 03 07"},
        {"h:nn am/pm", evening, "9:45 pm"},
        {"h:nn A/P", moment, "9:05 A"},
        {"'yyyy' \"dd\" yyyy", moment, "yyyy dd 2024"},
        {"ddddd", moment, "07.03.2024"},
        {"c", moment, ContractOr("07.03.2024 9:05:04", "07.03.2024 09:05:04", WineLongTime)},
        {"c", EncodeDateTime(2024, 3, 7, 0, 0, 0, 0), "07.03.2024"},
        {"tt", evening, "21:45:00"},
        {"t", evening, "21:45"},
        {"", moment, ContractOr("07.03.2024 9:05:04", "07.03.2024 09:05:04", WineLongTime)},
        {"[x]", moment, "[x]"},
    };
    for (const auto& row : table)
        EXPECT_MEETS(FormatDateTime(row.format, row.value), row.expected) << row.format;
    EXPECT_EQ(ShortDateFormat(), "dd.MM.yyyy");
    EXPECT_EQ(DateTimeToStr(evening), "31.12.1999 21:45:00");
}

// What each item of the date format gives, with letters in runs, in either case and in quotes.
// Names and designators are the Russian locale's, as Wine's data gives them.
TEST(FormatDateTime, ItemsRunsAndQuoting) {
    const TDateTime moment = EncodeDateTime(2024, 3, 7, 9, 5, 4, 32);  // a Thursday
    const TDateTime evening = EncodeDateTime(1999, 12, 31, 21, 45, 0, 0);
    const TDateTime midnight = EncodeDateTime(2024, 3, 7, 0, 0, 0, 0);
    const TDateTime noon = EncodeDateTime(2024, 3, 7, 12, 30, 0, 0);
    const struct {
        const char* format;
        TDateTime value;
        TExpected<std::string> expected;
    } table[] = {
        // Day: number, two digits, names, the short and the long date; a longer run repeats.
        {"d", moment, "7"},
        {"dd", moment, "07"},
        {"ddd", moment, "чт"},
        {"dddd", moment, "четверг"},
        {"ddddd", moment, "07.03.2024"},
        {"dddddd", moment, WineOnly("четверг, 7 март 2024?г.", WineLongDate)},
        {"ddddddd", moment, WineOnly("четверг, 7 март 2024?г.7", WineLongDate)},
        {"DdDd", moment, "четверг"},
        {"dd", evening, "31"},
        // Month, and minutes when the letter before is an hour's (blanks, separators and quoted
        // text between do not count; another letter does).
        {"m", moment, "3"},
        {"mm", moment, "03"},
        {"mmm", moment, "март"},
        {"mmmm", moment, "март"},
        {"mmmmm", moment, "март3"},
        {"h m", moment, "9 5"},
        {"hhmm", moment, "0905"},
        {"h'x'm", moment, "9x5"},
        {"h:m:m", moment, "9:5:3"},
        {"hxm", moment, "9x3"},
        {"h mmm", moment, "9 март"},
        {"HH:MM", moment, "09:05"},
        // Year, hour, minute, second, millisecond.
        {"y", moment, "24"},
        {"yy", moment, "24"},
        {"yyy", moment, "2024"},
        {"yyyy", moment, "2024"},
        {"yyyyy", moment, "202424"},
        {"yy", EncodeDateTime(2005, 1, 1, 0, 0, 0, 0), "05"},
        {"h", moment, "9"},
        {"hh", moment, "09"},
        {"hhh", moment, "099"},
        {"h", evening, "21"},
        {"n", moment, "5"},
        {"nn", moment, "05"},
        {"nnn", moment, "055"},
        {"s", moment, "4"},
        {"ss", moment, "04"},
        {"sss", moment, "044"},
        {"z", moment, "32"},
        {"zz", moment, "3232"},
        {"zzz", moment, "032"},
        {"zzzz", moment, "03232"},
        {"ZZZ", moment, "032"},
        // Times and the whole date-time from the locale.
        {"t", evening, "21:45"},
        {"tt", evening, "21:45:00"},
        {"ttt", evening, "21:45:0021:45"},
        {"T", moment, "09:05"},
        {"c", evening, "31.12.1999 21:45:00"},
        {"cc", midnight, "07.03.202407.03.2024"},
        {"C", midnight, "07.03.2024"},
        // Designators: am/pm and a/p keep the format's letter case; ampm is the locale's; any of
        // them after an hour (anywhere later, quoted or not) makes it count from 1 to 12.
        {"h am/pm", evening, "9 pm"},
        {"h AM/PM", moment, "9 AM"},
        {"h Am/pM", evening, "9 pM"},
        {"h a/p", evening, "9 p"},
        {"h A/P", moment, "9 A"},
        {"h am/pm", midnight, "12 am"},
        {"h am/pm", noon, "12 pm"},
        {"hh:nn ampm", evening, "09:45 PM"},
        {"ampm", moment, "AM"},
        {"AmPm", noon, "PM"},
        {"am/pm h", evening, "pm 21"},
        {"h 'am/pm'", evening, "9 am/pm"},
        {"h data/p", evening, "9 31a21:45p"},
        {"a", moment, "a"},
        {"ax", moment, "ax"},
        {"am", moment, "a3"},
        {"a/", moment, "a."},
        // Separators of the locale.
        {"/", moment, "."},
        {"d//m", moment, "7..3"},
        {":", moment, ":"},
        {"h::n", moment, "9::5"},
        // Quoted text stands as it is; an open quote runs to the end.
        {"'dd'", moment, "dd"},
        {"\"hh\"", moment, "hh"},
        {"'it\"s' \"it's\"", moment, "it\"s it's"},
        {"''", moment, ""},
        {"[''x]", moment, "[x]"},
        {"'abc", moment, "abc"},
        {"d \"m", moment, "7 m"},
        {"'/:'", moment, "/:"},
        // Every other character stands for itself.
        {"[x] 1-2 +", moment, "[x] 1-2 +"},
        {"бвг", moment, "бвг"},
        {"e", moment, "e"},
        {"QQ", moment, "QQ"},
    };
    for (const auto& row : table)
        EXPECT_MEETS(FormatDateTime(row.format, row.value), row.expected) << row.format;
}

// A format of many copies of a piece gives as many copies of the piece's text; a long run of one
// letter is its longest item repeated.
TEST(FormatDateTime, LongFormatsGiveWhatTheirPiecesGive) {
    const TDateTime moment = EncodeDateTime(2024, 3, 7, 21, 5, 4, 32);
    const char* pieces[] = {
        "yyyy-mm-dd hh:nn:ss.zzz|",     "h am/pm|", "dddddd|", "'quoted d'|", "c|", "tt|", "mmmm ddd|",
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ+/|"};
    for (const char* piece : pieces)
        EXPECT_EQ(FormatDateTime(Repeated(piece, 2000), moment), Repeated(FormatDateTime(piece, moment), 2000))
            << piece;
    const struct {
        char letter;
        const char* longestItem;
    } runs[] = {{'d', "dddddd"}, {'m', "mmmm"}, {'y', "yyyy"}, {'h', "hh"}, {'n', "nn"}, {'s', "ss"},
                {'z', "zzz"},    {'t', "tt"},   {'c', "c"},    {'a', "a"},  {'/', "/"},  {'x', "x"}};
    for (const auto& run : runs) {
        const std::string item = run.longestItem;
        EXPECT_EQ(FormatDateTime(std::string(item.size() * 1000, run.letter), moment),
                  Repeated(FormatDateTime(item, moment), 1000))
            << run.letter;
    }
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
