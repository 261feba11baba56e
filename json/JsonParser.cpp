#include "FloatText.h"
#include "Json.h"
#include "JsonEscapes.h"
#include <algorithm>
#include <memory>
#include <vector>

namespace {

// A failure that ends the whole parse (a number outside the range, a wrong \u escape, nesting
// beyond the limit).
struct Abandon {};

// What the UTF-8 byte-order mark reads as in code page 1251.
const wchar_t Utf8MarkIn1251[] = {0x043F, 0x00BB, 0x0457};

}  // namespace

// Reads one value. The items of a list or an object being read wait in one scratch list, so
// that each container's item list is made with its exact size (once, but for a list of several
// items whose first is a container: see List).
class TJsonReader {
public:
    TJsonReader(const wchar_t* text, int length) : s(text), n(length) {}
    TJsonReader(const TJsonReader&) = delete;
    TJsonReader& operator=(const TJsonReader&) = delete;
    ~TJsonReader() {
        for (TJsonBase* item : scratch)
            delete item;  // what an abandoned parse left
    }

    // The value at p, or null with p where it was.
    TJsonBase* Value() {
        const int start = p;
        SkipBlanks();
        TJsonBase* value = nullptr;
        if (p < n) {
            switch (s[p]) {
            case L't':
                value = Word(L"true", 4) ? TJsonBoolean::Generate(true) : nullptr;
                break;
            case L'f':
                value = Word(L"false", 5) ? TJsonBoolean::Generate(false) : nullptr;
                break;
            case L'n':
                value = Word(L"null", 4) ? TJsonNull::Generate() : nullptr;
                break;
            case L'"':
                value = String();
                break;
            case L'[':
                value = List();
                break;
            case L'{':
                value = Object();
                break;
            default:
                value = Number();
                break;
            }
        }
        if (value == nullptr)
            p = start;
        return value;
    }

    int p = 0;

private:
    void SkipBlanks() {
        while (p < n && s[p] <= 32)
            ++p;
    }

    bool Word(const wchar_t* word, int length) {
        if (n - p < length)
            return false;
        for (int i = 0; i < length; ++i)
            if (s[p + i] != word[i])
                return false;
        p += length;
        return true;
    }

    bool Digits() {
        const int start = p;
        while (p < n && s[p] >= L'0' && s[p] <= L'9')
            ++p;
        return p > start;
    }

    TJsonBase* Number() {
        const int start = p;
        if (p < n && (s[p] == L'+' || s[p] == L'-'))
            ++p;
        if (!Digits())
            return nullptr;
        if (p < n && s[p] == L'.') {
            ++p;
            if (!Digits())
                return nullptr;
        }
        if (p < n && (s[p] == L'e' || s[p] == L'E')) {
            ++p;
            if (p < n && (s[p] == L'+' || s[p] == L'-'))
                ++p;
            if (!Digits())
                return nullptr;
        }
        long double value = 0;
        if (!TextToFloat(s + start, p - start, value, TFormatSettings()))
            throw Abandon();
        return TJsonNumber::Generate(value);
    }

    // The text of the string at p (its opening quote), p past its closing quote; false when the
    // closing quote is missing.
    bool Text(std::wstring& text) {
        int end = p + 1;
        bool escaped = false;
        while (end < n && s[end] != L'"') {
            if (s[end] == L'\\') {
                escaped = true;
                ++end;
            }
            ++end;
        }
        if (end >= n)
            return false;
        const wchar_t* raw = s + p + 1;
        const int length = end - p - 1;
        p = end + 1;
        if (!escaped) {
            text.assign(raw, length);
        } else {
            Unescape(raw, length, text);
        }
        return true;
    }

    static void Unescape(const wchar_t* raw, int length, std::wstring& text) {
        text.clear();
        text.reserve(length);
        for (int i = 0; i < length; ++i) {
            if (raw[i] != L'\\') {
                text += raw[i];
                continue;
            }
            ++i;  // the closing-quote scan guarantees a character after each backslash
            if (raw[i] == L'u') {
                const int digits = std::min(4, length - i - 1);
                if (digits == 0)
                    throw Abandon();
                unsigned unit = 0;
                for (int k = 1; k <= digits; ++k)
                    unit = unit * 16 + HexDigit(raw[i + k]);
                text += static_cast<wchar_t>(unit);
                i += digits;
            } else if (raw[i] == L'\'') {
                text += L'\'';
            } else {
                for (const TJsonEscape& escape : JsonEscapes)
                    if (escape.letter == raw[i])
                        text += escape.character;
                // any other character is dropped together with its backslash
            }
        }
    }

    static unsigned HexDigit(wchar_t c) {
        if (c >= L'0' && c <= L'9')
            return c - L'0';
        if (c >= L'a' && c <= L'f')
            return c - L'a' + 10;
        if (c >= L'A' && c <= L'F')
            return c - L'A' + 10;
        throw Abandon();
    }

    TJsonBase* String() {
        std::wstring text;
        if (!Text(text))
            return nullptr;
        return TJsonString::Generate(std::move(text));
    }

    void Enter() {
        if (++depth > TJson::MaxDepth)
            throw Abandon();
    }

    // Frees the waiting items from base on.
    void Drop(size_t base) {
        for (size_t i = base; i < scratch.size(); ++i)
            delete scratch[i];
        scratch.resize(base);
    }

    // Moves the waiting items from base on into the container's list, sized to them.
    void Fill(TJsonCustomList* container, size_t base) {
        TList& items = container->fList;
        items.SetCapacity(static_cast<int>(scratch.size() - base));
        for (size_t i = base; i < scratch.size(); ++i)
            items.Add(scratch[i]);
        scratch.resize(base);
    }

    // A container is made before its items, and a list whose first item is a container takes
    // its first slot before that item's own: a tree lies in memory in the order it is written,
    // and the writers walk it forwards (a deep tree was written up to twice as fast).
    TJsonBase* List() {
        Enter();
        ++p;
        std::unique_ptr<TJsonList> list(TJsonList::Generate());
        SkipBlanks();
        if (p < n && (s[p] == L'[' || s[p] == L'{'))
            list->fList.SetCapacity(1);
        const size_t base = scratch.size();
        while (p < n && s[p] != L']') {  // the end is not tried as a value
            TJsonBase* item = Value();
            if (item == nullptr)
                break;
            scratch.push_back(item);
            SkipBlanks();
            if (p < n && s[p] == L',')
                ++p;
            SkipBlanks();
        }
        --depth;
        if (p >= n || s[p] != L']') {
            Drop(base);
            return nullptr;
        }
        ++p;
        Fill(list.get(), base);
        return list.release();
    }

    TJsonBase* Object() {
        Enter();
        ++p;
        std::unique_ptr<TJsonObject> object(TJsonObject::Generate(true));
        const size_t base = scratch.size();
        for (;;) {
            TJsonObjectMethod* pair = Pair();
            SkipBlanks();
            if (pair == nullptr)
                break;
            scratch.push_back(pair);
            if (p < n && s[p] == L',')
                ++p;
        }
        --depth;
        if (p >= n || s[p] != L'}') {
            Drop(base);
            return nullptr;
        }
        ++p;
        for (size_t i = base; i < scratch.size(); ++i)
            static_cast<TJsonObjectMethod*>(scratch[i])->owner = object.get();
        Fill(object.get(), base);  // the first lookup indexes the names
        return object.release();
    }

    TJsonObjectMethod* Pair() {
        const int start = p;
        SkipBlanks();
        std::wstring name;
        if (p < n && s[p] == L'"' && Text(name)) {
            SkipBlanks();
            if (p < n && s[p] == L':') {
                ++p;
                if (TJsonBase* value = Value())
                    return TJsonObjectMethod::Generate(std::move(name), value);
            }
        }
        p = start;
        return nullptr;
    }

    std::vector<TJsonBase*> scratch;
    const wchar_t* s;
    const int n;
    int depth = 0;
};

TJsonBase* TJson::ParseText(const std::wstring& text) {
    if (text.empty())
        return nullptr;
    TJsonReader parser(text.data(), static_cast<int>(text.size()));
    if (text.compare(0, 3, Utf8MarkIn1251, 3) == 0) {
        if (text.size() == 3)
            return nullptr;
        parser.p = 3;
    }
    try {
        return parser.Value();  // what follows the value is ignored
    } catch (...) {
        return nullptr;  // the reader frees what was built
    }
}
