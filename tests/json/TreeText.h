// A plain description of a value tree, independent of the library's generators, that tests
// compare: numbers N<d.dddddddddddddd>e<exponent> (N0, Ninf, N-inf), strings S"..." with every code unit
// outside printable ASCII (and the quote and the backslash) as \x{HEX}, T, F, Z (null), lists [a b],
// objects {"name"=value ...}, a null item as -. The suite's judge writes the same in python.
#pragma once
#include "Json.h"
#include "JsonObject.h"
#include <cstdio>
#include <memory>
#include <string>

inline std::string DescribeText(const std::wstring& text) {
    std::string out = "\"";
    for (wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F && c != L'"' && c != L'\\') {
            out += static_cast<char>(c);
        } else {
            char hex[16];
            snprintf(hex, sizeof hex, "\\x{%X}", static_cast<unsigned>(c));
            out += hex;
        }
    }
    return out + "\"";
}

// The number as the tree gives it (a double) to 15 significant digits.
inline std::string DescribeNumber(double value) {
    if (value == 0)
        return "N0";
    if (value != value)
        return "Nnan";
    if (value - value != 0)
        return value < 0 ? "N-inf" : "Ninf";
    char text[64];
    __mingw_snprintf(text, sizeof text, "%.14e", value);  // -d.ddddddddddddddde+xx
    std::string s(text), digits;
    const size_t e = s.find('e');
    for (size_t i = 0; i < e; ++i)
        if (s[i] == '-' || s[i] == '.' || (s[i] >= '0' && s[i] <= '9'))
            digits += s[i];
    return "N" + digits + "e" + std::to_string(std::stoi(s.substr(e + 1)));
}

inline std::string Describe(TJsonBase* value) {
    if (value == nullptr)
        return "-";
    switch (value->SelfType()) {
    case jsNumber:
        return DescribeNumber(value->GetValue().AsDouble());
    case jsString:
        return "S" + DescribeText(value->GetValue().AsString());
    case jsBoolean:
        return value->GetValue().AsBoolean() ? "T" : "F";
    case jsNull:
        return "Z";
    case jsList: {
        std::string out = "[";
        for (int i = 0; i < value->Count(); ++i)
            out += (i ? " " : "") + Describe(value->GetChild(i));
        return out + "]";
    }
    case jsObject: {
        std::string out = "{";
        for (int i = 0; i < value->Count(); ++i) {
            auto* pair = static_cast<TJsonObjectMethod*>(value->GetChild(i));
            out += (i ? " " : "") + DescribeText(pair->Name()) + "=" + Describe(pair->ObjValue());
        }
        return out + "}";
    }
    default:
        return "?";
    }
}

// The description of the tree a text parses to, or "null".
inline std::string Parsed(const std::wstring& text) {
    std::unique_ptr<TJsonBase> tree(TJson::ParseText(text));
    return tree ? Describe(tree.get()) : std::string("null");
}
