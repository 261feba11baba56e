#include "JsonValues.h"
#include "Exception.h"
#include "FloatText.h"
#include <cmath>

// TJsonBase

Variant TJsonBase::GetValue() const {
    return Variant::Null();
}
void TJsonBase::SetValue(const Variant&) {}
TJsonBase* TJsonBase::GetChild(int) const {
    return nullptr;
}
void TJsonBase::SetChild(int, TJsonBase*) {}
int TJsonBase::GetCount() const {
    return 0;
}
TJsonBase* TJsonBase::GetField(const Variant&) {
    return this;
}
TJsonTypes TJsonBase::SelfType() const {
    return jsBase;
}
std::wstring TJsonBase::SelfTypeName() const {
    return L"jsBase";
}
TJsonBase::~TJsonBase() = default;

// Scalars

TJsonNumber* TJsonNumber::Generate(long double value) {
    auto* number = new TJsonNumber;
    number->FValue = value;
    return number;
}
Variant TJsonNumber::GetValue() const {
    return Variant(static_cast<double>(FValue));
}
void TJsonNumber::SetValue(const Variant& value) {
    FValue = value.AsDouble();
}
TJsonTypes TJsonNumber::SelfType() const {
    return jsNumber;
}
std::wstring TJsonNumber::SelfTypeName() const {
    return L"jsNumber";
}

TJsonString* TJsonString::Generate(std::wstring value) {
    auto* text = new TJsonString;
    text->FValue = std::move(value);
    return text;
}
Variant TJsonString::GetValue() const {
    return Variant(FValue);
}
void TJsonString::SetValue(const Variant& value) {
    FValue = value.IsNull() ? std::wstring() : value.AsString();
}
TJsonTypes TJsonString::SelfType() const {
    return jsString;
}
std::wstring TJsonString::SelfTypeName() const {
    return L"jsString";
}

TJsonBoolean* TJsonBoolean::Generate(bool value) {
    auto* flag = new TJsonBoolean;
    flag->SetValue(Variant(value));
    return flag;
}
Variant TJsonBoolean::GetValue() const {
    return Variant(FValue);
}
void TJsonBoolean::SetValue(const Variant& value) {
    FValue = value.AsBoolean();
}
TJsonTypes TJsonBoolean::SelfType() const {
    return jsBoolean;
}
std::wstring TJsonBoolean::SelfTypeName() const {
    return L"jsBoolean";
}

TJsonNull* TJsonNull::Generate() {
    return new TJsonNull;
}
TJsonTypes TJsonNull::SelfType() const {
    return jsNull;
}
std::wstring TJsonNull::SelfTypeName() const {
    return L"jsNull";
}

// TJsonCustomList

TJsonCustomList::TJsonCustomList() = default;

TJsonCustomList::~TJsonCustomList() {
    FreeItems();
}

void TJsonCustomList::FreeItems() {
    for (int i = fList.Count() - 1; i >= 0; --i)
        delete static_cast<TJsonBase*>(fList.Items(i));
    fList.Clear();
}

TJsonBase* TJsonCustomList::GetChild(int index) const {
    return index >= 0 && index < fList.Count() ? static_cast<TJsonBase*>(fList.Items(index)) : nullptr;
}

void TJsonCustomList::SetChild(int index, TJsonBase* item) {
    if (index < 0 || index >= fList.Count())
        return;
    auto* old = static_cast<TJsonBase*>(fList.Items(index));
    if (old != item)
        delete old;
    fList.SetItems(index, item);
}

int TJsonCustomList::GetCount() const {
    return fList.Count();
}

TJsonBase* TJsonCustomList::GetField(const Variant& key) {
    return key.IsNumeric() ? GetChild(key.AsInteger()) : TJsonBase::GetField(key);
}

TJsonBase* TJsonCustomList::ForEachElement(int index, std::wstring& name) {
    name = std::to_wstring(index);
    return GetChild(index);
}

int TJsonCustomList::_Add(TJsonBase* item) {
    return item ? fList.Add(item) : -1;
}

void TJsonCustomList::_Delete(int index) {
    if (index < 0 || index >= fList.Count())
        return;
    delete static_cast<TJsonBase*>(fList.Items(index));
    const int last = fList.Count() - 1;
    if (index < last)
        fList.SetItems(index, fList.Items(last));
    fList.Delete(last);
}

int TJsonCustomList::_IndexOf(TJsonBase* item) const {
    return fList.IndexOf(item);
}

namespace {

// The item as the kind T: null stays null, another kind raises EInvalidCast.
template <typename T>
T* Checked(TJsonBase* item) {
    if (item == nullptr)
        return nullptr;
    T* typed = dynamic_cast<T*>(item);
    if (typed == nullptr)
        throw EInvalidCast();
    return typed;
}

// The element the typed getters read: a list's item, an object's pair value.
TJsonBase* ElementAt(TJsonCustomList& container, int index) {
    std::wstring name;
    return container.ForEachElement(index, name);
}

}  // namespace

int TJsonCustomList::IntOf(TJsonBase* item) {
    const TJsonNumber* number = Checked<TJsonNumber>(item);
    if (number == nullptr)
        return 0;
    const long double value = std::trunc(number->FValue);
    // -2^63 is the lowest 64-bit integer; 2^63 is already beyond the highest.
    if (!(value >= -9223372036854775808.0L && value < 9223372036854775808.0L))
        throw EConvertError("'" + AnsiString(FloatToStr(number->FValue, TFormatSettings())).str() +
                            "' is not a valid integer value");
    return static_cast<int>(static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(value))));
}

std::wstring TJsonCustomList::StringOf(TJsonBase* item) {
    const TJsonString* text = Checked<TJsonString>(item);
    return text ? text->FValue : std::wstring();
}

double TJsonCustomList::DoubleOf(TJsonBase* item) {
    const TJsonNumber* number = Checked<TJsonNumber>(item);
    return number ? static_cast<double>(number->FValue) : 0.0;
}

bool TJsonCustomList::BooleanOf(TJsonBase* item) {
    const TJsonBoolean* flag = Checked<TJsonBoolean>(item);
    return flag ? flag->FValue : false;
}

int TJsonCustomList::getInt(int index) {
    return IntOf(ElementAt(*this, index));
}
std::wstring TJsonCustomList::getString(int index) {
    return StringOf(ElementAt(*this, index));
}
WideString TJsonCustomList::getWideString(int index) {
    return WideString(StringOf(ElementAt(*this, index)));
}
double TJsonCustomList::getDouble(int index) {
    return DoubleOf(ElementAt(*this, index));
}
bool TJsonCustomList::getBoolean(int index) {
    return BooleanOf(ElementAt(*this, index));
}

void TJsonCustomList::ForEach(const TJsonFuncEnum& callback, void* data) {
    if (!callback)
        return;
    bool next = true;
    const int count = GetCount();
    std::wstring name;
    for (int i = 0; i < count && next; ++i) {
        TJsonBase* element = ForEachElement(i, name);
        if (element != nullptr)
            callback(name, element, data, next);
    }
}

// TJsonList

TJsonList* TJsonList::Generate() {
    return new TJsonList;
}
TJsonTypes TJsonList::SelfType() const {
    return jsList;
}
std::wstring TJsonList::SelfTypeName() const {
    return L"jsList";
}
int TJsonList::Add(TJsonBase* item) {
    return _Add(item);
}
int TJsonList::Add(bool value) {
    return _Add(TJsonBoolean::Generate(value));
}
int TJsonList::Add(double value) {
    return _Add(TJsonNumber::Generate(value));
}
int TJsonList::Add(int value) {
    return _Add(TJsonNumber::Generate(value));
}
int TJsonList::Add(const WideString& value) {
    return _Add(TJsonString::Generate(value.str()));
}
int TJsonList::Add(const std::wstring& value) {
    return _Add(TJsonString::Generate(value));
}
int TJsonList::Add(const wchar_t* value) {
    return Add(std::wstring(value ? value : L""));
}
void TJsonList::Delete(int index) {
    _Delete(index);
}
int TJsonList::IndexOf(TJsonBase* item) const {
    return _IndexOf(item);
}
