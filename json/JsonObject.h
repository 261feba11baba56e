// JSON objects: an ordered list of name/value pairs with its member-name index.
#pragma once
#include "BalTree.h"
#include "JsonValues.h"

// One name/value pair of an object.
class JSON_API TJsonObjectMethod : public TJsonBase {
public:
    static TJsonObjectMethod* Generate(std::wstring name, TJsonBase* value);
    ~TJsonObjectMethod() override;
    const std::wstring& Name() const { return FName; }
    TJsonBase* ObjValue() const { return FValue; }
    // The object that holds the pair indexes it anew.
    void SetName(const std::wstring& name);

private:
    TJsonBase* FValue = nullptr;
    std::wstring FName;
    TJsonObject* owner = nullptr;  // the object that holds the pair
    friend class TJsonObject;      // takes the pair and sets its value
    friend class TJsonReader;      // hands parsed pairs to their object
};

// An ordered list of pairs; names may repeat, a lookup by name finds the first. With UseHash
// the member-name index answers lookups; it always maps each name to its first pair. The index
// is built when first asked for (a lookup by name, which reading by index and ForEach also make,
// or HashTable), so a tree that is only written or read through GetChild never builds it; a
// change that moves pairs drops it for the next lookup to rebuild.
class JSON_API TJsonObject : public TJsonCustomList {
public:
    explicit TJsonObject(bool useHash = true);
    static TJsonObject* Generate(bool useHash = true);
    ~TJsonObject() override;

    TJsonTypes SelfType() const override;
    std::wstring SelfTypeName() const override;
    TJsonBase* GetField(const Variant& key) override;  // a string key: OldGetField
    TJsonBase* ForEachElement(int index, std::wstring& name) override;
    // Only pairs that belong to no object are taken; anything else is refused with -1.
    int _Add(TJsonBase* item) override;
    void _Delete(int index) override;
    // Only a pair that belongs to no object replaces the item; anything else is refused.
    void SetChild(int index, TJsonBase* item) override;

    bool UseHash() const { return FUseHash; }
    TBalTree* HashTable() {
        Index();
        return &ht;
    }
    TBalTree* GetHashTable() { return HashTable(); }

    int Add(const std::wstring& name, TJsonBase* value);  // null is refused with -1
    int Add(const std::wstring& name, bool value);
    int Add(const std::wstring& name, double value);
    int Add(const std::wstring& name, int value);
    int Add(const std::wstring& name, const WideString& value);
    int Add(const std::wstring& name, const std::wstring& value);
    int Add(const std::wstring& name, const wchar_t* value);
    void Delete(int index);

    int IndexOfName(const std::wstring& name) const;
    int IndexOfObject(TJsonBase* value) const;
    TJsonBase* OldGetField(const std::wstring& name) const;
    // The found pair takes the value; the previous one is not freed but passes to the caller.
    void OldSetField(const std::wstring& name, TJsonBase* value);
    std::wstring GetNameOf(int index) const;  // empty outside 0 to Count - 1
    TJsonBase* GetFieldByIndex(int index) const;
    void SetFieldByIndex(int index, TJsonBase* value);

    // The list's getters, which read the pair's value (GetFieldByIndex); by name through
    // IndexOfName.
    int getInt(int index) override;
    std::wstring getString(int index) override;
    WideString getWideString(int index) override;
    double getDouble(int index) override;
    bool getBoolean(int index) override;
    int getInt(const std::wstring& name);
    std::wstring getString(const std::wstring& name);
    WideString getWideString(const std::wstring& name);
    double getDouble(const std::wstring& name);
    bool getBoolean(const std::wstring& name);

private:
    TJsonObjectMethod* PairAt(int index) const;
    bool Takes(TJsonBase* item) const;
    // Every pair of the list becomes the object's own; with UseHash the index is built anew
    // from the list, the first pair of each name.
    void Reindex();
    // With UseHash: whether the index holds the list's names (only pairs make it non-empty), and
    // building it when it does not.
    bool Indexed() const { return fList.Count() == 0 || !ht.Empty(); }
    void Index() {
        if (FUseHash && !Indexed())
            Reindex();
    }
    friend class TJsonObjectMethod;  // a held pair's rename drops the index
    friend class TJsonReader;        // fills the list of a new object, leaving the index to be built

    TBalTree ht;
    bool FUseHash;
};
