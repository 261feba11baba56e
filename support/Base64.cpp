#include "Base64.h"
#include "ErrorText.h"
#include <windows.h>
#include <array>
#include <cstdint>

namespace {
const char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr unsigned char NotInAlphabet = 127;

std::array<unsigned char, 256> MakeDecodeTable() {
    std::array<unsigned char, 256> table;
    table.fill(NotInAlphabet);
    for (unsigned char value = 0; value < 64; ++value)
        table[static_cast<unsigned char>(Alphabet[value])] = value;
    return table;
}

const std::array<unsigned char, 256> DecodeTable = MakeDecodeTable();

bool IsSkipped(char c) {
    return c == '\r' || c == '\n' || c == ' ' || c == '\0';
}
}  // namespace

char* kwbase64_encode(const unsigned char* data, unsigned int n, std::string* errorText) {
    if (data == nullptr && n != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        LogOrStoreError(errorText, "kwbase64_encode. Нет данных для кодирования.");
        return nullptr;
    }
    const uint64_t twice = 2ull * n;
    const uint64_t capacity = twice + twice / 78 + 20;
    char* text = capacity <= SIZE_MAX ? static_cast<char*>(LocalAlloc(LMEM_FIXED, static_cast<SIZE_T>(capacity)))
                                      : nullptr;
    if (text == nullptr) {
        if (GetLastError() == 0 || capacity > SIZE_MAX)
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        LogOrStoreError(errorText, "kwbase64_encode. Ошибка выделения памяти.");
        return nullptr;
    }
    char* out = text;
    unsigned int i = 0;
    for (; n - i >= 3; i += 3) {
        const unsigned int group = (data[i] << 16) | (data[i + 1] << 8) | data[i + 2];
        *out++ = Alphabet[(group >> 18) & 0x3F];
        *out++ = Alphabet[(group >> 12) & 0x3F];
        *out++ = Alphabet[(group >> 6) & 0x3F];
        *out++ = Alphabet[group & 0x3F];
    }
    if (n - i == 1) {
        *out++ = Alphabet[data[i] >> 2];
        *out++ = Alphabet[(data[i] << 4) & 0x30];
        *out++ = '=';
        *out++ = '=';
    } else if (n - i == 2) {
        *out++ = Alphabet[data[i] >> 2];
        *out++ = Alphabet[((data[i] << 4) & 0x30) | (data[i + 1] >> 4)];
        *out++ = Alphabet[(data[i + 1] << 2) & 0x3C];
        *out++ = '=';
    }
    *out = '\0';
    return text;
}

int kwbase64_decode(char* buffer, int length, int* state) {
    int ignoredState = 0;
    int& where = state != nullptr ? *state : ignoredState;
    where = 0;
    if (buffer == nullptr || length <= 0)
        return -1;
    int consumed = 0;
    int written = 0;
    for (;;) {
        if (consumed >= length || buffer[consumed] == '\0')
            return written;
        char chars[4];
        unsigned char values[4];
        for (int g = 0; g < 4; ++g) {
            while (consumed < length && IsSkipped(buffer[consumed]))
                ++consumed;
            if (consumed >= length) {
                where = g;
                return written;
            }
            const int position = consumed++;
            const char c = buffer[position];
            const unsigned char value = DecodeTable[static_cast<unsigned char>(c)];
            if (value == NotInAlphabet && !(g >= 2 && c == '=')) {
                where = g;
                return position >= length - 3 ? written : -1;
            }
            chars[g] = c;
            values[g] = value;
        }
        buffer[written++] = static_cast<char>((values[0] << 2) | (values[1] >> 4));
        if (chars[2] == '=')
            return written;
        buffer[written++] = static_cast<char>(((values[1] << 4) & 0xF0) | (values[2] >> 2));
        if (chars[3] == '=')
            return written;
        buffer[written++] = static_cast<char>(((values[2] << 6) & 0xC0) | values[3]);
    }
}
