#include "FloatText.h"
#include "Json.h"

namespace {

const wchar_t Hex[] = L"0123456789ABCDEF";

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

// Writes values into one text that grows geometrically.
class TJsonWriter {
public:
    TJsonWriter() { out.reserve(25000); }

    std::wstring Take() { return std::move(out); }

    // A null item of a container is written "null"; a null root is written as nothing. A
    // value's class is the one its kind names.
    void Compact(TJsonBase* value, bool contained)
    {
        if (value == nullptr) {
            if (contained) out += L"null";
            return;
        }
        switch (value->SelfType()) {
        case jsNumber: return Number(static_cast<TJsonNumber*>(value)->FValue);
        case jsString: return String(static_cast<TJsonString*>(value)->FValue);
        case jsBoolean: out += static_cast<TJsonBoolean*>(value)->FValue ? L"true" : L"false"; return;
        case jsNull: out += L"null"; return;
        case jsList: return Items(static_cast<TJsonCustomList*>(value), L'[', L']');
        case jsObject: return Items(static_cast<TJsonCustomList*>(value), L'{', L'}');
        default:
            if (auto* pair = dynamic_cast<TJsonObjectMethod*>(value)) {
                String(pair->FName);
                out += L':';
                Compact(pair->FValue, true);
            }
            // anything else (the base and the custom list themselves): nothing
        }
    }

    void Readable(TJsonBase* value, int& level, bool contained)
    {
        ++level;
        const TJsonTypes kind = value ? value->SelfType() : jsBase;
        if (kind == jsList || kind == jsObject) {
            const TList& items = static_cast<TJsonCustomList*>(value)->fList;
            const bool object = kind == jsObject;
            if (items.Count() == 0) {
                out += object ? L"{}" : L"[]";
            } else {
                out += object ? L"{\r\n" : L"[\r\n";
                for (int i = 0; i < items.Count(); ++i) {
                    if (i > 0) out += L",\r\n";
                    out.append(2 * level, L' ');
                    Readable(static_cast<TJsonBase*>(items.Items(i)), level, true);
                }
                out += L"\r\n";
                out.append(2 * (level - 1), L' ');
                out += object ? L'}' : L']';
            }
        } else if (auto* pair = kind == jsBase ? dynamic_cast<TJsonObjectMethod*>(value) : nullptr) {
            String(pair->FName);
            out += L':';
            --level;
            Readable(pair->FValue, level, true);
            ++level;
        } else {
            Compact(value, contained);
        }
        --level;
    }

private:
    void Items(TJsonCustomList* container, wchar_t open, wchar_t close)
    {
        const TList& items = container->fList;
        out += open;
        for (int i = 0; i < items.Count(); ++i) {
            if (i > 0) out += L',';
            Compact(static_cast<TJsonBase*>(items.Items(i)), true);
        }
        out += close;
    }

    void Number(long double value)
    {
        wchar_t buffer[FloatTextCapacity];
        out.append(buffer, FloatToText(buffer, value, TFormatSettings()));
    }

    void String(const std::wstring& text)
    {
        out += L'"';
        const wchar_t* s = text.data();
        const size_t n = text.size();
        size_t plain = 0;  // start of the run of characters written as themselves
        for (size_t i = 0; i < n; ++i) {
            const wchar_t c = s[i];
            if (c >= 0x20 && c != L'"' && c != L'/' && c != L'\\' && (c < 0xD800 || c > 0xDFFF)) continue;
            if (IsHighSurrogate(c) && i + 1 < n && IsLowSurrogate(s[i + 1])) {
                ++i;  // a pair is written as itself
                continue;
            }
            out.append(s + plain, i - plain);
            plain = i + 1;
            switch (c) {
            case L'\b': out += L"\\b"; break;
            case L'\t': out += L"\\t"; break;
            case L'\n': out += L"\\n"; break;
            case L'\f': out += L"\\f"; break;
            case L'\r': out += L"\\r"; break;
            case L'"': out += L"\\\""; break;
            case L'/': out += L"\\/"; break;
            case L'\\': out += L"\\\\"; break;
            default:  // other control characters and unpaired surrogates
                out += L"\\u";
                for (int shift = 12; shift >= 0; shift -= 4) out += Hex[(c >> shift) & 0xF];
            }
        }
        out.append(s + plain, n - plain);
        out += L'"';
    }

    std::wstring out;
};

std::wstring TJson::GenerateText(TJsonBase* value)
{
    TJsonWriter writer;
    writer.Compact(value, false);
    return writer.Take();
}

std::wstring GenerateReadableText(TJsonBase* value, int& level)
{
    TJsonWriter writer;
    writer.Readable(value, level, false);
    return writer.Take();
}
