#include "FloatText.h"
#include "Text.h"
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// 10^0 to 10^27 are exact in the 64-bit mantissa of the extended type.
constexpr int ExactPowers = 28;
const long double Exact[ExactPowers] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
                                        1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
                                        1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};
// 10^(2^i) and 10^-(2^i), each rounded once by the compiler.
const long double Up[] = {1e1L,   1e2L,   1e4L,   1e8L,    1e16L,   1e32L,  1e64L,
                          1e128L, 1e256L, 1e512L, 1e1024L, 1e2048L, 1e4096L};
const long double Down[] = {1e-1L,   1e-2L,   1e-4L,   1e-8L,    1e-16L,   1e-32L,  1e-64L,
                            1e-128L, 1e-256L, 1e-512L, 1e-1024L, 1e-2048L, 1e-4096L};

// value × 10^exponent, with one rounding when the power is exact.
long double Scale(long double value, int exponent) {
    if (exponent >= 0 && exponent < ExactPowers)
        return value * Exact[exponent];
    if (exponent < 0 && -exponent < ExactPowers)
        return value / Exact[-exponent];
    const long double* table = exponent > 0 ? Up : Down;
    unsigned n = exponent > 0 ? exponent : -exponent;
    for (int i = 0; n != 0 && value != 0 && std::isfinite(value); ++i, n >>= 1) {
        if (i == 13)
            return exponent > 0 ? value * Up[12] * Up[12] : 0.0L;  // far beyond the range
        if (n & 1)
            value *= table[i];
    }
    return value;
}

// The 15 digits of value as gdtoa rounds them (exactly, ties to even), and its exponent e.
uint64_t ExactDigits(long double value, int& e) {
    char text[64];
    __mingw_snprintf(text, sizeof text, "%.14Le", value);  // d.ddddddddddddddde[+-]x
    uint64_t q = 0;
    const char* p = text;
    for (int n = 0; n < 15; ++p)
        if (*p >= '0' && *p <= '9') {
            q = q * 10 + (*p - '0');
            ++n;
        }
    while (*p && *p != 'e')
        ++p;
    e = (*p ? std::atoi(p + 1) : 0) + 1;
    return q;
}

// The decimal digits of q (below 10^16, above 0) and their count, in 32-bit steps: a 64-bit
// division is a library call on this processor.
int Decimal(uint64_t q, char* digits) {
    char reversed[20];
    int r = 0;
    uint32_t low = static_cast<uint32_t>(q % 100000000u);
    uint32_t high = static_cast<uint32_t>(q / 100000000u);
    if (high != 0) {
        for (int i = 0; i < 8; ++i, low /= 10)
            reversed[r++] = static_cast<char>('0' + low % 10);
        for (; high != 0; high /= 10)
            reversed[r++] = static_cast<char>('0' + high % 10);
    } else {
        for (; low != 0; low /= 10)
            reversed[r++] = static_cast<char>('0' + low % 10);
    }
    for (int i = 0; i < r; ++i)
        digits[i] = reversed[r - 1 - i];
    return r;
}

// floor(log10(value)) or one less, for a positive finite value.
int DecimalExponentEstimate(long double value) {
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &value, sizeof bytes);
    const int biased = (bytes[9] << 8 | bytes[8]) & 0x7FFF;  // the 80-bit layout: exponent in bytes 8 and 9
    int binary = biased - 16383;
    if (biased == 0)
        std::frexp(value, &binary), --binary;  // a denormal
    return (binary * 78913) >> 18;             // binary × log10(2), rounded down
}

bool IsBlank(wchar_t c) {
    return c == L' ';
}
bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

}  // namespace

bool TextToFloat(const wchar_t* text, int length, long double& value, const TFormatSettings& settings) {
    int p = 0;
    while (p < length && IsBlank(text[p]))
        ++p;
    bool negative = false;
    if (p < length && (text[p] == L'+' || text[p] == L'-'))
        negative = text[p++] == L'-';

    uint64_t mantissa = 0;
    int kept = 0;      // significant digits in the mantissa (at most 19)
    int exponent = 0;  // decimal exponent of the mantissa's last digit
    int digits = 0;
    for (; p < length && IsDigit(text[p]); ++p, ++digits) {
        if (kept < 19) {
            mantissa = mantissa * 10 + (text[p] - L'0');
            if (mantissa != 0)
                ++kept;
        } else {
            ++exponent;
        }
    }
    if (p < length && text[p] == settings.DecimalSeparator) {
        for (++p; p < length && IsDigit(text[p]); ++p, ++digits) {
            if (kept < 19) {
                mantissa = mantissa * 10 + (text[p] - L'0');
                if (mantissa != 0)
                    ++kept;
                --exponent;
            }
        }
    }
    if (digits == 0)
        return false;
    if (p < length && (text[p] == L'e' || text[p] == L'E')) {
        ++p;
        bool negativeExponent = false;
        if (p < length && (text[p] == L'+' || text[p] == L'-'))
            negativeExponent = text[p++] == L'-';
        if (p >= length || !IsDigit(text[p]))
            return false;
        int written = 0;
        for (; p < length && IsDigit(text[p]); ++p)
            if (written < 100000000)
                written = written * 10 + (text[p] - L'0');  // beyond: saturated
        exponent += negativeExponent ? -written : written;
    }
    while (p < length && IsBlank(text[p]))
        ++p;
    if (p != length)
        return false;

    long double result = 0;
    if (mantissa != 0) {
        if (exponent + kept > 4934)
            return false;  // beyond the largest extended value
        result = exponent + kept < -4952 ? 0.0L : Scale(static_cast<long double>(mantissa), exponent);
        if (!std::isfinite(result))
            return false;
    }
    value = negative ? -result : result;
    return true;
}

long double StrToFloat(const std::wstring& text, const TFormatSettings& settings) {
    long double value = 0;
    if (!TextToFloat(text.data(), static_cast<int>(text.size()), value, settings))
        throw EConvertError("'" + vcl::ToAnsi(text) + "' is not a valid floating point value");
    return value;
}

int FloatToText(wchar_t* out, long double value, const TFormatSettings& settings) {
    constexpr int Precision = 15;
    int n = 0;
    if (std::isnan(value)) {
        for (const wchar_t* s = L"NAN"; *s; ++s)
            out[n++] = *s;
        return n;
    }
    if (std::signbit(value) && value != 0) {
        out[n++] = L'-';
        value = -value;
    }
    if (std::isinf(value)) {
        for (const wchar_t* s = L"INF"; *s; ++s)
            out[n++] = *s;
        return n;
    }
    if (value == 0) {
        out[n++] = L'0';
        return n;
    }
    if (value < Exact[Precision] && __builtin_rintl(value) == value) {  // an integer of at most 15 digits
        char digits[Precision];
        const int count = Decimal(static_cast<uint64_t>(static_cast<int64_t>(value)), digits);
        for (int i = 0; i < count; ++i)
            out[n++] = digits[i];
        return n;
    }

    // Digits: value rounded to 15 significant digits as the integer q in [10^14, 10^15),
    // value ≈ q × 10^(e - 15), that is 0.d1d2...d15 × 10^e. The decimal exponent is first
    // estimated from the binary one.
    int e = DecimalExponentEstimate(value) + 1;
    uint64_t q = 0;
    for (int attempt = 0; attempt < 3 && q == 0; ++attempt) {
        const long double scaled = Scale(value, Precision - e);
        const long double rounded = __builtin_rintl(scaled);  // to nearest; ties are decided below
        if (rounded >= Exact[Precision]) {
            ++e;
        } else if (rounded < Exact[Precision - 1]) {
            --e;
        } else if (std::fabs(scaled - rounded) > 0.49L) {
            // Too near a tie for the scaling's rounding error: the C library's exact digits.
            q = ExactDigits(value, e);
        } else {
            q = static_cast<uint64_t>(static_cast<int64_t>(rounded));
        }
    }
    if (q == 0)
        q = ExactDigits(value, e);
    char digits[Precision];
    int count = Decimal(q, digits);
    while (count > 1 && digits[count - 1] == '0')
        --count;

    if (e >= -3 && e <= Precision) {
        if (e <= 0) {
            out[n++] = L'0';
            out[n++] = settings.DecimalSeparator;
            for (int i = 0; i < -e; ++i)
                out[n++] = L'0';
            for (int i = 0; i < count; ++i)
                out[n++] = digits[i];
        } else {
            for (int i = 0; i < e; ++i)
                out[n++] = i < count ? digits[i] : L'0';
            if (count > e) {
                out[n++] = settings.DecimalSeparator;
                for (int i = e; i < count; ++i)
                    out[n++] = digits[i];
            }
        }
        return n;
    }
    out[n++] = digits[0];
    if (count > 1) {
        out[n++] = settings.DecimalSeparator;
        for (int i = 1; i < count; ++i)
            out[n++] = digits[i];
    }
    out[n++] = L'E';
    int x = e - 1;
    if (x < 0) {
        out[n++] = L'-';
        x = -x;
    }
    wchar_t reversed[8];
    int r = 0;
    do {
        reversed[r++] = static_cast<wchar_t>(L'0' + x % 10);
        x /= 10;
    } while (x != 0);
    while (r > 0)
        out[n++] = reversed[--r];
    return n;
}

std::wstring FloatToStr(long double value, const TFormatSettings& settings) {
    wchar_t buffer[FloatTextCapacity];
    return std::wstring(buffer, FloatToText(buffer, value, settings));
}
