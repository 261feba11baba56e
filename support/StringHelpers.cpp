#include "StringHelpers.h"
#include "Owned.h"
#include <cerrno>
#include <cstdlib>
#include <ctype.h>
#include <locale.h>

namespace {
struct TCrtLocaleTraits : TOwnedTraits<_locale_t, bool, true> {
    static bool Close(Handle locale) {
        _free_locale(locale);
        return true;
    }
};
}  // namespace

std::string ToUpperCp1251(const std::string& text) {
    // The CRT locale whose character classes upper-case both alphabets of code page 1251.
    static const TOwned<TCrtLocaleTraits> russian(_create_locale(LC_ALL, "Russian_Russia.1251"));
    std::string result(text);
    if (russian.Get() == nullptr)
        return result;
    for (char& c : result)
        c = static_cast<char>(_toupper_l(static_cast<unsigned char>(c), russian.Get()));
    return result;
}

std::string IntToStdString(int value) {
    return std::to_string(value);
}

std::string IntToHexStdString(int value) {
    static const char digits[] = "0123456789abcdef";
    unsigned int rest = static_cast<unsigned int>(value);
    std::string reversed;
    do {
        reversed += digits[rest & 0xF];
        rest >>= 4;
    } while (rest != 0);
    return std::string(reversed.rbegin(), reversed.rend());
}

std::string ReplaceAll(const std::string& text, const std::string& searched, const std::string& replacement) {
    std::string result(text);
    if (searched.empty())
        return result;
    size_t position = 0;
    while ((position = result.find(searched, position)) != std::string::npos) {
        result.replace(position, searched.size(), replacement);
        position += replacement.size();
    }
    return result;
}

bool ParseDecimalUInt(const char* text, unsigned int& value) {
    if (text == nullptr)
        return false;
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(text, &end, 10);
    // long is 32 bits here, so ERANGE is exactly the signed 32-bit range.
    if (*end != '\0' || errno == ERANGE)
        return false;
    value = static_cast<unsigned int>(number);
    return true;
}

bool SplitHostPath(const std::string& url, std::string& host, std::string& path) {
    const size_t marker = url.find("//");
    if (marker == std::string::npos)
        return false;
    const size_t slash = url.find('/', marker + 2);
    if (slash == std::string::npos)
        return false;
    host = url.substr(marker + 2, slash - marker - 2);
    path = url.substr(slash + 1);
    return true;
}

float MaxFloat(float a, float b) {
    return a > b ? a : b;
}

std::string FileNameFromPath(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(slash + 1);
}
