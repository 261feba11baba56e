// The codec against RFC 4648's vectors and against crypt32's own base64 as a second judge.
#include "Base64.h"
#include "LocalFree.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <wincrypt.h>
#include <string>
#include <vector>

namespace {
struct Vector {
    const char* bytes;
    const char* text;
};
const Vector Rfc4648[] = {
    {"", ""},
    {"f", "Zg=="},
    {"fo", "Zm8="},
    {"foo", "Zm9v"},
    {"foob", "Zm9vYg=="},
    {"fooba", "Zm9vYmE="},
    {"foobar", "Zm9vYmFy"},
};

std::string Encode(const std::string& bytes) {
    std::string error = "untouched";
    TLocalFree<char> text(kwbase64_encode(reinterpret_cast<const unsigned char*>(bytes.data()),
                                          static_cast<unsigned int>(bytes.size()), &error));
    EXPECT_NE(text.Get(), nullptr);
    EXPECT_EQ(error, "untouched");
    return text.Get() != nullptr ? std::string(text.Get()) : std::string("<null>");
}

struct Decoded {
    int result;
    int state;
    std::string bytes;
};

Decoded Decode(const std::string& text, int length) {
    std::string buffer = text;
    int state = -7;
    const int result = kwbase64_decode(&buffer[0], length, &state);
    return {result, state, result > 0 ? buffer.substr(0, result) : std::string()};
}

Decoded Decode(const std::string& text) {
    return Decode(text, static_cast<int>(text.size()));
}

std::string CryptEncode(const std::vector<unsigned char>& data, DWORD flags) {
    DWORD size = 0;
    CryptBinaryToStringA(data.data(), static_cast<DWORD>(data.size()), flags, nullptr, &size);
    std::string text(size, '\0');
    EXPECT_TRUE(CryptBinaryToStringA(data.data(), static_cast<DWORD>(data.size()), flags, &text[0], &size));
    text.resize(size);
    return text;
}

std::vector<unsigned char> SomeBytes(size_t n) {
    std::vector<unsigned char> data(n);
    unsigned int x = 12345;
    for (unsigned char& b : data) {
        x = x * 1103515245u + 12345u;
        b = static_cast<unsigned char>(x >> 16);
    }
    return data;
}
}  // namespace

TEST(Base64, EncodesRfcVectors) {
    for (const Vector& v : Rfc4648)
        EXPECT_EQ(Encode(v.bytes), v.text) << v.bytes;
    EXPECT_EQ(Encode("abc"), "YWJj");
    EXPECT_EQ(Encode(std::string(1, '\0')), "AA==");
    EXPECT_EQ(Encode("\xff\xfe\xfd"), "//79");
}

TEST(Base64, EmptyInputGivesEmptyTextFromLocalHeap) {
    std::string error;
    TLocalFree<char> text(kwbase64_encode(nullptr, 0, &error));
    ASSERT_NE(text.Get(), nullptr);
    EXPECT_STREQ(text.Get(), "");
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, text.Get()));
}

TEST(Base64, NullDataWithLengthIsAnError) {
    std::string error;
    EXPECT_EQ(kwbase64_encode(nullptr, 5, &error), nullptr);
    EXPECT_EQ(error.rfind("kwbase64_encode. ", 0), 0u) << error;
    EXPECT_EQ(kwbase64_encode(nullptr, 5, nullptr), nullptr);
}

TEST(Base64, HugeInputFailsAsAllocationError) {
    std::string error;
    const unsigned char byte = 0;
    EXPECT_EQ(kwbase64_encode(&byte, 0xFFFFFFF0u, &error), nullptr);
    EXPECT_EQ(error.rfind("kwbase64_encode. Ошибка выделения памяти.\r\nОшибка LE № 0x8: ", 0), 0u) << error;
}

TEST(Base64, MatchesCrypt32BothWays) {
    for (size_t n : {1u, 2u, 3u, 57u, 58u, 1000u}) {
        const std::vector<unsigned char> data = SomeBytes(n);
        const std::string bytes(data.begin(), data.end());
        EXPECT_EQ(Encode(bytes), CryptEncode(data, CRYPT_STRING_BASE64 | CRYPT_STRING_NOCRLF)) << n;
        // crypt32 breaks its text into lines with CR LF.
        const std::string lines = CryptEncode(data, CRYPT_STRING_BASE64);
        const Decoded d = Decode(lines);
        EXPECT_EQ(d.bytes, bytes) << n;
        EXPECT_EQ(d.result, static_cast<int>(n));
        EXPECT_EQ(d.state, 0);
    }
}

TEST(Base64, DecodesRfcVectorsAndTheirLineBreaks) {
    for (const Vector& v : Rfc4648) {
        const Decoded d = Decode(v.text);
        EXPECT_EQ(d.bytes, v.bytes) << v.text;
        EXPECT_EQ(d.state, 0) << v.text;
    }
    EXPECT_EQ(Decode("Zm9v\r\nYmFy\r\n").bytes, "foobar");
    EXPECT_EQ(Decode("Zm 9v\nYm\r\nFy").bytes, "foobar");
}

TEST(Base64, DecoderRules) {
    using namespace std::string_literals;
    struct Case {
        std::string text;
        int length;
        int result;
        int state;
        std::string bytes;
    };
    const Case cases[] = {
        {"Zm9vYmE", 7, 3, 3, "foo"},  // last group lacks its fourth character
        {"Zm9vYg", 6, 3, 2, "foo"},
        {"Zm9vYmFy", 5, 3, 1, "foo"},  // length stops inside a group
        {"Zm9vYmFy", 4, 3, 0, "foo"},
        {"Zm\t9vYmFy", 9, -1, 2, ""},       // tab is a bad character
        {"Zm9vYmFy\t", 9, 6, 0, "foobar"},  // trailing tab at a group boundary
        {"Zm9vYm\tF", 8, 3, 2, "foo"},      // among the last three: tolerated
        {"Zm9v=mFy", 8, -1, 0, ""},         // "=" first in a group
        {"Zm9vY=FyZm9v", 12, -1, 1, ""},    // "=" second in a group
        {"Zm9vY=Fy", 8, 3, 1, "foo"},       // ... tolerated among the last three
        {"Zg==Zm9v", 8, 1, 0, "f"},         // third "=" ends decoding, whatever follows
        {"Zg=AZm9v", 8, 1, 0, "f"},
        {"Zm8=Zm9v", 8, 2, 0, "fo"},
        {"Zm9v\0Zm9v"s, 9, 3, 0, "foo"},  // NUL at a group boundary ends the text
        {"Zm\0"
         "9vYmFy"s,
         9, 6, 0, "foobar"},                  // NUL inside a group is skipped
        {"Zm9vYmFy\xc0", 9, 6, 0, "foobar"},  // bytes above 127 are bad characters
        {"Zm\xc0"
         "9vYmFyYmFy",
         13, -1, 2, ""},
        {"\r\n\r\n", 4, 0, 0, ""},
    };
    for (const Case& c : cases) {
        const Decoded d = Decode(c.text, c.length);
        EXPECT_EQ(d.result, c.result) << c.text;
        EXPECT_EQ(d.state, c.state) << c.text;
        EXPECT_EQ(d.bytes, c.bytes) << c.text;
    }
}

TEST(Base64, DecoderRejectsEmptyInput) {
    char text[] = "Zm9v";
    int state = 5;
    EXPECT_EQ(kwbase64_decode(text, 0, &state), -1);
    EXPECT_EQ(state, 0);
    EXPECT_EQ(kwbase64_decode(text, -4, &state), -1);
    EXPECT_EQ(kwbase64_decode(nullptr, 4, &state), -1);
    EXPECT_EQ(kwbase64_decode(text, 4, nullptr), 3);
    EXPECT_STREQ(text + 3, "v");
}

TEST(Base64, DecoderReadsNoFurtherThanLength) {
    // The page after the text is inaccessible: reading one byte past the length would fault.
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    char* pages = static_cast<char*>(VirtualAlloc(nullptr, 2 * info.dwPageSize, MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(pages, nullptr);
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(pages + info.dwPageSize, info.dwPageSize, PAGE_NOACCESS, &old));
    for (const char* text : {"Zm9vYmFy", "Zm9vYmE", "Zm9v\r\n", "Zm9vY\t"}) {
        const int length = static_cast<int>(strlen(text));
        char* start = pages + info.dwPageSize - length;
        memcpy(start, text, length);
        int state = 0;
        EXPECT_GE(kwbase64_decode(start, length, &state), 3) << text;
    }
    VirtualFree(pages, 0, MEM_RELEASE);
}
