#include "JsonObject.h"

// TJsonObjectMethod

TJsonObjectMethod* TJsonObjectMethod::Generate(std::wstring name, TJsonBase* value) {
    auto* pair = new TJsonObjectMethod;
    pair->FName = std::move(name);
    pair->FValue = value;
    return pair;
}

TJsonObjectMethod::~TJsonObjectMethod() {
    delete FValue;
}

void TJsonObjectMethod::SetName(const std::wstring& name) {
    FName = name;
    if (owner != nullptr)
        owner->ht.Clear();  // the next lookup indexes the new name
}

// TJsonObject

TJsonObject::TJsonObject(bool useHash) : FUseHash(useHash) {}

TJsonObject* TJsonObject::Generate(bool useHash) {
    return new TJsonObject(useHash);
}

TJsonObject::~TJsonObject() {
    FreeItems();
}

TJsonTypes TJsonObject::SelfType() const {
    return jsObject;
}
std::wstring TJsonObject::SelfTypeName() const {
    return L"jsObject";
}

TJsonBase* TJsonObject::GetField(const Variant& key) {
    return key.IsString() ? OldGetField(key.AsString()) : TJsonCustomList::GetField(key);
}

TJsonBase* TJsonObject::ForEachElement(int index, std::wstring& name) {
    name = GetNameOf(index);
    return GetFieldByIndex(index);
}

TJsonObjectMethod* TJsonObject::PairAt(int index) const {
    return static_cast<TJsonObjectMethod*>(GetChild(index));
}

bool TJsonObject::Takes(TJsonBase* item) const {
    const auto* pair = dynamic_cast<TJsonObjectMethod*>(item);
    return pair != nullptr && pair->owner == nullptr;
}

int TJsonObject::_Add(TJsonBase* item) {
    if (!Takes(item))
        return -1;
    auto* pair = static_cast<TJsonObjectMethod*>(item);
    const bool indexed = Indexed();
    const int position = TJsonCustomList::_Add(pair);
    pair->owner = this;
    if (FUseHash && indexed)
        ht.Insert(pair->FName, position);  // a repeated name keeps its first pair
    return position;
}

void TJsonObject::_Delete(int index) {
    if (index < 0 || index >= GetCount())
        return;
    if (!FUseHash || !Indexed()) {
        TJsonCustomList::_Delete(index);
        return;
    }
    const bool last = index == GetCount() - 1;
    const std::wstring name = PairAt(index)->FName;
    TJsonCustomList::_Delete(index);
    if (!last) {
        ht.Clear();  // the last pair moved into the gap: the next lookup indexes anew
    } else if (ht.IndexOf(name) == index) {
        ht.Delete(name);  // no position lies above the last one
    }
}

void TJsonObject::SetChild(int index, TJsonBase* item) {
    if (index < 0 || index >= GetCount() || item == GetChild(index) || !Takes(item))
        return;
    TJsonCustomList::SetChild(index, item);
    static_cast<TJsonObjectMethod*>(item)->owner = this;
    ht.Clear();  // the next lookup indexes the new pair's name
}

void TJsonObject::Reindex() {
    if (FUseHash) {
        ht.Clear();
        ht.Reserve(GetCount());
    }
    for (int i = 0; i < GetCount(); ++i) {
        TJsonObjectMethod* pair = PairAt(i);
        pair->owner = this;
        if (FUseHash)
            ht.Insert(pair->FName, i);  // a repeated name keeps its first pair
    }
}

int TJsonObject::Add(const std::wstring& name, TJsonBase* value) {
    if (value == nullptr)
        return -1;
    return _Add(TJsonObjectMethod::Generate(name, value));
}
int TJsonObject::Add(const std::wstring& name, bool value) {
    return Add(name, TJsonBoolean::Generate(value));
}
int TJsonObject::Add(const std::wstring& name, double value) {
    return Add(name, TJsonNumber::Generate(value));
}
int TJsonObject::Add(const std::wstring& name, int value) {
    return Add(name, TJsonNumber::Generate(value));
}
int TJsonObject::Add(const std::wstring& name, const WideString& value) {
    return Add(name, TJsonString::Generate(value.str()));
}
int TJsonObject::Add(const std::wstring& name, const std::wstring& value) {
    return Add(name, TJsonString::Generate(value));
}
int TJsonObject::Add(const std::wstring& name, const wchar_t* value) {
    return Add(name, std::wstring(value ? value : L""));
}

void TJsonObject::Delete(int index) {
    _Delete(index);
}

int TJsonObject::IndexOfName(const std::wstring& name) const {
    if (FUseHash) {
        const_cast<TJsonObject*>(this)->Index();  // a tree is used by one thread at a time
        return ht.IndexOf(name);
    }
    for (int i = 0; i < GetCount(); ++i)
        if (PairAt(i)->FName == name)
            return i;
    return -1;
}

int TJsonObject::IndexOfObject(TJsonBase* value) const {
    for (int i = 0; i < GetCount(); ++i)
        if (PairAt(i)->FValue == value)
            return i;
    return -1;
}

TJsonBase* TJsonObject::OldGetField(const std::wstring& name) const {
    const int index = IndexOfName(name);
    return index >= 0 ? PairAt(index)->FValue : nullptr;
}

void TJsonObject::OldSetField(const std::wstring& name, TJsonBase* value) {
    const int index = IndexOfName(name);
    if (index >= 0)
        PairAt(index)->FValue = value;
}

std::wstring TJsonObject::GetNameOf(int index) const {
    const TJsonObjectMethod* pair = PairAt(index);
    return pair ? pair->FName : std::wstring();
}

TJsonBase* TJsonObject::GetFieldByIndex(int index) const {
    const std::wstring name = GetNameOf(index);
    return name.empty() ? nullptr : OldGetField(name);
}

void TJsonObject::SetFieldByIndex(int index, TJsonBase* value) {
    const std::wstring name = GetNameOf(index);
    if (!name.empty())
        OldSetField(name, value);
}

// The list's getters: they read the element ForEachElement gives, here the pair's value. They
// stay the object's own, as the executable exports them.
int TJsonObject::getInt(int index) {
    return TJsonCustomList::getInt(index);
}
std::wstring TJsonObject::getString(int index) {
    return TJsonCustomList::getString(index);
}
WideString TJsonObject::getWideString(int index) {
    return TJsonCustomList::getWideString(index);
}
double TJsonObject::getDouble(int index) {
    return TJsonCustomList::getDouble(index);
}
bool TJsonObject::getBoolean(int index) {
    return TJsonCustomList::getBoolean(index);
}
int TJsonObject::getInt(const std::wstring& name) {
    return getInt(IndexOfName(name));
}
std::wstring TJsonObject::getString(const std::wstring& name) {
    return getString(IndexOfName(name));
}
WideString TJsonObject::getWideString(const std::wstring& name) {
    return getWideString(IndexOfName(name));
}
double TJsonObject::getDouble(const std::wstring& name) {
    return getDouble(IndexOfName(name));
}
bool TJsonObject::getBoolean(const std::wstring& name) {
    return getBoolean(IndexOfName(name));
}
