// Reading and writing JSON text: the parser, the compact and the indented generator, and the
// stream and file forms (UTF-16, low byte first, no byte-order mark).
#pragma once
#include "JsonApi.h"
#include "JsonObject.h"
#include "Streams.h"
#include <string>

class JSON_API TJson {
public:
    // The tree of the first value in the text, owned by the caller; null when it does not
    // parse (nothing is said of where or why). Lenient: commas between items are optional, one
    // trailing comma is allowed, a number may start with "+", anything after the value is
    // ignored. Lists and objects nest at most MaxDepth deep.
    static TJsonBase* ParseText(const std::wstring& text);
    static constexpr int MaxDepth = 1000;

    // The compact text of the value and everything below it; empty for a null value. A null
    // item of a list or a null value of a pair is written "null". A string's unpaired surrogate
    // is written as a \u escape, so the text reads back to the same code unit.
    static std::wstring GenerateText(TJsonBase* value);
};

// The indented text: one member or item per line, two blanks per level; level is the caller's
// depth (usually 0) and holds the same number again on return.
JSON_API std::wstring GenerateReadableText(TJsonBase* value, int& level);

class JSON_API TJsonStreamed : public TJson {
public:
    // The compact text at the stream's position; nothing when either is null.
    static void SaveToStream(TJsonBase* value, TStream* stream);
    // The compact text as the file's whole content; nothing, and no file, for a null value. The
    // text is written beside the file and replaces it only when complete, so a failure leaves
    // an existing file as it was. A file that cannot be made raises EFCreateError.
    static void SaveToFile(TJsonBase* value, const std::wstring& fileName);
    // Parses from the stream's position to its end; an odd last byte is ignored. Null for a
    // null stream or text that does not parse.
    static TJsonBase* LoadFromStream(TStream* stream);
    // Null when the file does not exist; EFOpenError when it cannot be opened.
    static TJsonBase* LoadFromFile(const std::wstring& fileName);
};
