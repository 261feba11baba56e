// Extended numbers and their text in the general format with 15 digits and a point: the
// conversion's own cases, also met by the JSON writer, which writes numbers with it.
#pragma once
#include <limits>

struct TGeneralFormatCase {
    long double value;
    const wchar_t* text;
};

inline const TGeneralFormatCase GeneralFormatCases[] = {
    {0, L"0"},
    {-0.0L, L"0"},
    {1, L"1"},
    {-1, L"-1"},
    {1500, L"1500"},
    {1.5L, L"1.5"},
    {-0.25L, L"-0.25"},
    {0.0001L, L"0.0001"},
    {0.00012345L, L"0.00012345"},
    {0.00001L, L"1E-5"},
    {1.5e20L, L"1.5E20"},
    {1e14L, L"100000000000000"},
    {1e15L, L"1E15"},
    {999999999999999.0L, L"999999999999999"},
    {9999999999999995.0L, L"1E16"},
    {123456789012345678.0L, L"1.23456789012346E17"},
    {0.1L, L"0.1"},
    {1.0L / 3, L"0.333333333333333"},
    {2.0L / 3, L"0.666666666666667"},
    {3.14159265358979323846L, L"3.14159265358979"},
    {1e-300L, L"1E-300"},
    {-1e-300L, L"-1E-300"},
    {-1.25e-7L, L"-1.25E-7"},
    {1e308L, L"1E308"},
    {1e4000L, L"1E4000"},
    {1.18973149535723176502e4932L, L"1.18973149535723E4932"},
    {std::numeric_limits<long double>::denorm_min(), L"3.64519953188247E-4951"},
    {0.1 + 0.2, L"0.3"},
    {123456.7890L, L"123456.789"},
    {std::numeric_limits<long double>::infinity(), L"INF"},
    {-std::numeric_limits<long double>::infinity(), L"-INF"},
    {std::numeric_limits<long double>::quiet_NaN(), L"NAN"},
};
