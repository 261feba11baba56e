#include "FloatText.h"
#include "Json.h"
#include "JsonEscapes.h"
#include <algorithm>
#include <cstring>
#include <emmintrin.h>
#include <iterator>
#include <memory>
#include <vector>

namespace {

const wchar_t Hex[] = L"0123456789ABCDEF";

// The ASCII characters written as themselves.
struct PlainTable {
    bool plain[0x80];
    PlainTable() {
        for (int c = 0; c < 0x80; ++c)
            plain[c] = c >= 0x20 && c != '"' && c != '/' && c != '\\';
    }
    bool operator[](wchar_t c) const { return plain[c]; }
};
const PlainTable PlainAscii;

// Copies the plain characters that begin text, eight at a time, and returns their number: a
// multiple of eight unless a character that is not plain ends them. Writes up to n characters.
constexpr size_t PlainStep = 8;
__attribute__((target("sse2"))) size_t CopyPlain(const wchar_t* text, size_t n, wchar_t* to) {
    const __m128i control = _mm_set1_epi16(0x1F), quote = _mm_set1_epi16('"'), slash = _mm_set1_epi16('/'),
                  backslash = _mm_set1_epi16('\\'), surrogateBits = _mm_set1_epi16(static_cast<short>(0xF800)),
                  surrogate = _mm_set1_epi16(static_cast<short>(0xD800)), zero = _mm_setzero_si128();
    size_t i = 0;
    for (; i + PlainStep <= n; i += PlainStep) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        const __m128i special =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(_mm_subs_epu16(v, control), zero), _mm_cmpeq_epi16(v, quote)),
                         _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, slash), _mm_cmpeq_epi16(v, backslash)),
                                      _mm_cmpeq_epi16(_mm_and_si128(v, surrogateBits), surrogate)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), v);
        if (const int mask = _mm_movemask_epi8(special))
            return i + __builtin_ctz(static_cast<unsigned>(mask)) / 2;
    }
    return i;
}
const bool WidePlain = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("sse2") != 0;
}();

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

// Writes values into a chain of blocks of the heap's ordinary size, joined into the text once
// at the end: no block is copied while the text grows, and large fresh memory is touched once.
class TJsonWriter {
public:
    TJsonWriter() { NextBlock(); }

    std::wstring Take() const {
        std::wstring text;
        text.reserve((blocks.size() - 1) * BlockSize + (at - blocks.back().get()));
        for (size_t i = 0; i + 1 < blocks.size(); ++i)
            text.append(blocks[i].get(), BlockSize);
        text.append(blocks.back().get(), at - blocks.back().get());
        return text;
    }

    // A null item of a container is written "null"; a null root is written as nothing. A
    // value's class is the one its kind names.
    void Compact(TJsonBase* value, bool contained) {
        if (value == nullptr) {
            if (contained)
                Put(L"null");
            return;
        }
        switch (value->SelfType()) {
        case jsNumber:
            return Number(static_cast<TJsonNumber*>(value)->FValue);
        case jsString:
            return String(static_cast<TJsonString*>(value)->FValue);
        case jsBoolean:
            if (static_cast<TJsonBoolean*>(value)->FValue) {
                Put(L"true");
            } else {
                Put(L"false");
            }
            return;
        case jsNull:
            Put(L"null");
            return;
        case jsList:
            return Items(static_cast<TJsonCustomList*>(value), L'[', L']', false);
        case jsObject:
            return Items(static_cast<TJsonCustomList*>(value), L'{', L'}', true);
        default:
            if (auto* pair = dynamic_cast<TJsonObjectMethod*>(value))
                Pair(pair);
            // anything else (the base and the custom list themselves): nothing
        }
    }

    void Readable(TJsonBase* value, int& level, bool contained) {
        const TJsonTypes kind = value ? value->SelfType() : jsBase;
        if (auto* pair = kind == jsBase ? dynamic_cast<TJsonObjectMethod*>(value) : nullptr)
            return ReadablePair(pair, level);
        ++level;
        if (kind == jsList || kind == jsObject) {
            const TList& items = static_cast<TJsonCustomList*>(value)->fList;
            const bool object = kind == jsObject;
            if (items.Count() == 0) {
                Put(object ? L"{}" : L"[]", 2);
            } else {
                Put(object ? L"{\r\n" : L"[\r\n", 3);
                for (int i = 0; i < items.Count(); ++i) {
                    if (i > 0)
                        Put(L",\r\n");
                    Blanks(2 * level);
                    auto* item = static_cast<TJsonBase*>(items.Items(i));
                    if (object) {
                        ReadablePair(static_cast<TJsonObjectMethod*>(item), level);
                    } else {
                        Readable(item, level, true);
                    }
                }
                Put(L"\r\n");
                Blanks(2 * (level - 1));
                Put(object ? L'}' : L']');
            }
        } else {
            Compact(value, contained);
        }
        --level;
    }

private:
    // Pair, Number and String stay out of line: inlined into the recursive writers they make
    // every level's frame larger, and records were written a third slower.

    // An object's items are pairs: it takes no other.
    void Items(TJsonCustomList* container, wchar_t open, wchar_t close, bool pairs) {
        const TList& items = container->fList;
        const int count = items.Count();
        Put(open);
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                Put(L',');
            auto* item = static_cast<TJsonBase*>(items.Items(i));
            if (pairs) {
                Pair(static_cast<TJsonObjectMethod*>(item));
            } else {
                Compact(item, true);
            }
        }
        Put(close);
    }

    __attribute__((noinline)) void Pair(TJsonObjectMethod* pair) {
        String(pair->Name());
        Put(L':');
        Compact(pair->ObjValue(), true);
    }

    // A pair counts one level, and its value is written one level lower: at the pair's own.
    void ReadablePair(TJsonObjectMethod* pair, int& level) {
        String(pair->Name());
        Put(L':');
        Readable(pair->ObjValue(), level, true);
    }

    __attribute__((noinline)) void Number(long double value) {
        wchar_t buffer[FloatTextCapacity];
        Put(buffer, FloatToText(buffer, value, TFormatSettings()));
    }

    static bool Plain(wchar_t c) { return c < 0x80 ? PlainAscii[c] : (c & 0xF800) != 0xD800; }

    // A string is written straight into the block, in parts that fit it even with every
    // character escaped; its long plain runs eight characters at a time where the processor can.
    __attribute__((noinline)) void String(const std::wstring& text) {
        const wchar_t* s = text.data();
        const size_t n = text.size();
        Put(L'"');
        size_t i = 0;
        while (i < n) {
            const size_t room = static_cast<size_t>(end - at) / MaxEscape;
            if (room == 0) {  // the last characters of the block
                wchar_t one[MaxEscape];
                Put(one, Character(s, n, i, one) - one);
                continue;
            }
            const size_t stop = std::min(n, i + room);
            wchar_t* to = at;
            while (i < stop) {
                if (stop - i >= PlainStep && WidePlain) {
                    const size_t plain = CopyPlain(s + i, stop - i, to);
                    i += plain;
                    to += plain;
                    if (i == stop)
                        break;
                }
                to = Character(s, n, i, to);
            }
            at = to;
        }
        Put(L'"');
    }

    // Writes the character at i (a pair of surrogates together) and moves i past it.
    static wchar_t* Character(const wchar_t* s, size_t n, size_t& i, wchar_t* to) {
        const wchar_t c = s[i++];
        if (Plain(c)) {
            *to++ = c;
        } else if (IsHighSurrogate(c) && i < n && IsLowSurrogate(s[i])) {
            *to++ = c;  // a pair is written as itself
            *to++ = s[i++];
        } else {
            to = Escape(to, c);
        }
        return to;
    }

    // The escape of a character that is not written as itself; returns its end.
    static wchar_t* Escape(wchar_t* to, wchar_t c) {
        const TJsonEscape* escape = std::find_if(std::begin(JsonEscapes), std::end(JsonEscapes),
                                                 [c](const TJsonEscape& e) { return e.character == c; });
        *to++ = L'\\';
        if (escape != std::end(JsonEscapes)) {
            *to++ = escape->letter;
        } else {  // other control characters and unpaired surrogates
            *to++ = L'u';
            for (int shift = 12; shift >= 0; shift -= 4)
                *to++ = Hex[(c >> shift) & 0xF];
        }
        return to;
    }
    static constexpr size_t MaxEscape = 6;  // \uXXXX

    void NextBlock() {
        blocks.emplace_back(new wchar_t[BlockSize]);
        at = blocks.back().get();
        end = at + BlockSize;
    }
    void Put(wchar_t c) {
        if (at == end)
            NextBlock();
        *at++ = c;
    }
    // Short texts, the most, are copied here: a call of the C library's copy costs more.
    void Put(const wchar_t* text, size_t n) {
        if (n <= ShortText && n <= static_cast<size_t>(end - at)) {
            for (size_t i = 0; i < n; ++i)
                at[i] = text[i];
            at += n;
            return;
        }
        while (n > 0) {
            if (at == end)
                NextBlock();
            const size_t part = std::min(n, static_cast<size_t>(end - at));
            std::memcpy(at, text, part * sizeof(wchar_t));
            at += part;
            text += part;
            n -= part;
        }
    }
    template <size_t N>
    void Put(const wchar_t (&literal)[N]) {
        Put(literal, N - 1);
    }
    void Blanks(size_t n) {
        while (n > 0) {
            if (at == end)
                NextBlock();
            const size_t part = std::min(n, static_cast<size_t>(end - at));
            at = std::fill_n(at, part, L' ');
            n -= part;
        }
    }

    static constexpr size_t BlockSize = 16384;  // characters
    static constexpr size_t ShortText = 16;
    std::vector<std::unique_ptr<wchar_t[]>> blocks;
    wchar_t* at;   // the next character of the last block
    wchar_t* end;  // the end of the last block
};

std::wstring TJson::GenerateText(TJsonBase* value) {
    TJsonWriter writer;
    writer.Compact(value, false);
    return writer.Take();
}

std::wstring GenerateReadableText(TJsonBase* value, int& level) {
    TJsonWriter writer;
    writer.Readable(value, level, false);
    return writer.Take();
}
