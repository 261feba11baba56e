// Extended numbers and text: the general format's rules, digits judged by the C library's
// correctly rounded conversions (mingw's gdtoa), and no use of the locale.
#include "FloatText.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include "GeneralFormatCases.h"

namespace {

const TFormatSettings Point;

TEST(FloatToStr, GeneralFormatWith15Digits) {
    for (const TGeneralFormatCase& c : GeneralFormatCases)
        EXPECT_EQ(FloatToStr(c.value, Point), c.text) << c.text;
}

TEST(FloatToStr, TheSeparatorComesFromTheSettings) {
    TFormatSettings comma;
    comma.DecimalSeparator = L',';
    EXPECT_EQ(FloatToStr(1.5L, comma), L"1,5");
    EXPECT_EQ(FloatToStr(1.5e-9L, comma), L"1,5E-9");
}

// The value rounded to 15 significant digits by the C library.
long double Rounded15(long double value) {
    char text[64];
    __mingw_snprintf(text, sizeof text, "%.14Le", value);
    return __mingw_strtold(text, nullptr);
}

long double Reread(const std::wstring& text) {
    const std::string narrow(text.begin(), text.end());
    return __mingw_strtold(narrow.c_str(), nullptr);
}

TEST(FloatToStr, DigitsAreTheCorrectlyRoundedOnes) {
    std::mt19937_64 random(20240601);
    std::uniform_int_distribution<int> exponent(-4900, 4900);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    for (int i = 0; i < 20000; ++i) {
        const int e = i < 10000 ? exponent(random) % 40 : exponent(random);
        const long double value = mantissa(random) * std::pow(10.0L, e) * (i % 2 ? -1 : 1);
        const std::wstring text = FloatToStr(value, Point);
        ASSERT_EQ(Reread(text), Rounded15(value)) << std::string(text.begin(), text.end());
    }
}

TEST(TextToFloat, AcceptsTheNumberSyntax) {
    struct Case {
        const wchar_t* text;
        long double value;
    };
    const Case cases[] = {
        {L"0", 0},
        {L"-0", -0.0L},
        {L"12", 12},
        {L"+12", 12},
        {L"-12.5", -12.5L},
        {L"007", 7},
        {L"1.", 1},
        {L".5", 0.5L},
        {L"1e3", 1000},
        {L"1E+3", 1000},
        {L"1.5E-3", 0.0015L},
        {L"  42  ", 42},
        {L"0.1", 0.1L},
        {L"123456789012345678901234567890", 123456789012345678901234567890.0L},
        {L"1e4932", 1e4932L},
        {L"1e-5000", 0},
        {L"0e99999999999", 0},
        {L"123e-10000000", 0},
        {L"0.000000000000000000000000000001", 1e-30L},
    };
    for (const Case& c : cases) {
        long double value = -99;
        EXPECT_TRUE(TextToFloat(c.text, static_cast<int>(wcslen(c.text)), value, Point)) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(std::signbit(value), std::signbit(c.value)) << c.text;
    }
}

TEST(TextToFloat, RefusesOtherTexts) {
    for (const wchar_t* text : {L"", L" ", L"-", L"+", L".", L"e5", L"1e", L"1e+", L"1,5", L"1.5.2", L"12a", L"--1",
                                L"1 2", L"0x10", L"INF", L"NAN", L"1e4933", L"-1e5000", L"1.5e+9999"}) {
        long double value = 7;
        EXPECT_FALSE(TextToFloat(text, static_cast<int>(wcslen(text)), value, Point)) << text;
        EXPECT_EQ(value, 7) << text;
    }
}

TEST(TextToFloat, ReadsOnlyTheGivenLength) {
    long double value = 0;
    EXPECT_TRUE(TextToFloat(L"12345", 3, value, Point));
    EXPECT_EQ(value, 123);
}

TEST(TextToFloat, ValuesAreTheCorrectlyRoundedOnesOrWithinTheLastDigits) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const int e = i < 10000 ? static_cast<int>(random() % 55) - 27 : static_cast<int>(random() % 9000) - 4500;
        const unsigned long long m = random() % 10000000000000000000ULL;
        wchar_t text[64];
        swprintf(text, 64, L"%llue%d", m, e);
        long double value = 0;
        ASSERT_TRUE(TextToFloat(text, static_cast<int>(wcslen(text)), value, Point));
        char narrow[64];
        snprintf(narrow, sizeof narrow, "%llue%d", m, e);
        const long double judged = __mingw_strtold(narrow, nullptr);
        if (i < 10000) {
            ASSERT_EQ(value, judged) << narrow;  // one rounding: exact
        } else {
            ASSERT_LE(std::fabs(value - judged), std::fabs(judged) * 1e-17L) << narrow;
        }
    }
}

TEST(StrToFloat, RaisesTheConversionError) {
    EXPECT_EQ(StrToFloat(L"2.5", Point), 2.5L);
    try {
        StrToFloat(L"1,5", Point);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, "'1,5' is not a valid floating point value");
    }
    TFormatSettings comma;
    comma.DecimalSeparator = L',';
    EXPECT_EQ(StrToFloat(L"1,5", comma), 1.5L);
}

TEST(FloatText, IgnoresTheLocales) {
    ASSERT_EQ(PRIMARYLANGID(LANGIDFROMLCID(GetThreadLocale())), LANG_RUSSIAN);
    const char* previous = setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    if (setlocale(LC_ALL, "Russian_Russia.1251")) {  // the C library's decimal point becomes ","
        EXPECT_EQ(FloatToStr(1.5L, Point), L"1.5");
        EXPECT_EQ(StrToFloat(L"1.5", Point), 1.5L);
    }
    setlocale(LC_ALL, saved.c_str());
}

}  // namespace
