// The class library's ANSI string: cp1251 text with 1-based character positions (a position
// outside the text raises ERangeError).
#pragma once
#include "Exception.h"
#include <string>

class AnsiString {
public:
    AnsiString() = default;
    AnsiString(const char* text) : text(text ? text : "") {}
    AnsiString(const char* text, int length) : text(text && length > 0 ? std::string(text, length) : std::string()) {}
    AnsiString(std::string text) : text(std::move(text)) {}
    // UTF-16 text in cp1251; characters the code page lacks become "?".
    explicit AnsiString(const std::wstring& wide);
    explicit AnsiString(int value) : text(std::to_string(value)) {}

    const char* c_str() const { return text.c_str(); }
    const std::string& str() const { return text; }
    int Length() const { return static_cast<int>(text.size()); }
    bool IsEmpty() const { return text.empty(); }
    std::wstring ToWide() const;

    // Position 1 is the first character; outside 1 to Length raises ERangeError.
    char operator[](int index) const;
    char& operator[](int index);

    // The first position of part, 0 when absent (or when part is empty).
    int Pos(const AnsiString& part) const;
    // count characters from position index, clipped to the text.
    AnsiString SubString(int index, int count) const;

    AnsiString& operator+=(const AnsiString& other) {
        text += other.text;
        return *this;
    }
    friend AnsiString operator+(AnsiString left, const AnsiString& right) { return left += right; }
    friend bool operator==(const AnsiString& a, const AnsiString& b) { return a.text == b.text; }
    friend bool operator!=(const AnsiString& a, const AnsiString& b) { return a.text != b.text; }
    friend bool operator<(const AnsiString& a, const AnsiString& b) { return a.text < b.text; }

private:
    std::string text;
};
