// The JSON value tree. Every value is a TJsonBase; lists and objects own their items, a pair
// owns its value, so a document is freed from its root. A factory's result belongs to the
// caller until it is added to a container; an item a container refuses stays the caller's.
#pragma once
#include "BalTree.h"
#include "JsonApi.h"
#include "List.h"
#include "Variant.h"
#include "WideString.h"
#include <cstdint>
#include <functional>
#include <string>

enum TJsonTypes : uint8_t { jsBase, jsNumber, jsString, jsBoolean, jsNull, jsList, jsObject };

class TJsonBase;
class TJsonObject;
class TJsonReader;
class TJsonWriter;

// Called by ForEach for each element; clearing Continue ends the walk.
typedef std::function<void(const std::wstring& ElName, TJsonBase* Elem, void* data, bool& Continue)> TJsonFuncEnum;

class JSON_API TJsonBase {
public:
    TJsonBase() = default;
    TJsonBase(const TJsonBase&) = delete;
    TJsonBase& operator=(const TJsonBase&) = delete;

    virtual Variant GetValue() const;                   // Null
    virtual void SetValue(const Variant& value);        // nothing
    virtual TJsonBase* GetChild(int index) const;       // null
    virtual void SetChild(int index, TJsonBase* item);  // nothing
    virtual int GetCount() const;                       // 0
    virtual TJsonBase* GetField(const Variant& key);    // the value itself
    virtual TJsonTypes SelfType() const;                // jsBase
    virtual std::wstring SelfTypeName() const;          // "jsBase"
    virtual ~TJsonBase();

    int Count() const { return GetCount(); }
    Variant Value() const { return GetValue(); }
    void Value(const Variant& value) { SetValue(value); }
};

class JSON_API TJsonNumber : public TJsonBase {
public:
    static TJsonNumber* Generate(long double value);
    Variant GetValue() const override;             // a double
    void SetValue(const Variant& value) override;  // raises EVariantError unless it is a number
    TJsonTypes SelfType() const override;
    std::wstring SelfTypeName() const override;

protected:
    long double FValue = 0;
    friend class TJsonWriter;
    friend class TJsonCustomList;
};

class JSON_API TJsonString : public TJsonBase {
public:
    static TJsonString* Generate(std::wstring value);
    Variant GetValue() const override;
    void SetValue(const Variant& value) override;  // Null gives the empty text
    TJsonTypes SelfType() const override;
    std::wstring SelfTypeName() const override;

protected:
    std::wstring FValue;
    friend class TJsonWriter;
    friend class TJsonCustomList;
};

class JSON_API TJsonBoolean : public TJsonBase {
public:
    static TJsonBoolean* Generate(bool value);
    Variant GetValue() const override;
    void SetValue(const Variant& value) override;
    TJsonTypes SelfType() const override;
    std::wstring SelfTypeName() const override;

protected:
    bool FValue = false;
    friend class TJsonWriter;
    friend class TJsonCustomList;
};

class JSON_API TJsonNull : public TJsonBase {
public:
    static TJsonNull* Generate();
    TJsonTypes SelfType() const override;
    std::wstring SelfTypeName() const override;
};

// An ordered list of owned items.
class JSON_API TJsonCustomList : public TJsonBase {
public:
    TJsonCustomList();
    ~TJsonCustomList() override;

    TJsonBase* GetChild(int index) const override;  // null outside 0 to Count - 1
    // Outside 0 to Count - 1 nothing happens; else the item there is freed (unless it is the
    // one given) and replaced.
    void SetChild(int index, TJsonBase* item) override;
    int GetCount() const override;
    TJsonBase* GetField(const Variant& key) override;  // a numeric key: GetChild of it

    virtual TJsonBase* ForEachElement(int index, std::wstring& name);
    // Appends and returns the position; null is refused with -1.
    virtual int _Add(TJsonBase* item);
    // Frees the item; the last item takes its place. Nothing outside 0 to Count - 1.
    virtual void _Delete(int index);
    virtual int _IndexOf(TJsonBase* item) const;
    // The value of the element at index (the one ForEachElement gives) when it is of the
    // getter's kind; 0, empty or false when there is none; EInvalidCast for an element of another
    // kind. getInt truncates toward zero and keeps the low 32 bits; NaN or a number outside the
    // 64-bit range raises EConvertError.
    virtual int getInt(int index);
    virtual std::wstring getString(int index);
    virtual WideString getWideString(int index);
    virtual double getDouble(int index);
    virtual bool getBoolean(int index);

    void ForEach(const TJsonFuncEnum& callback, void* data);

protected:
    // The typed getters' reading of one item (null gives the default).
    static int IntOf(TJsonBase* item);
    static std::wstring StringOf(TJsonBase* item);
    static double DoubleOf(TJsonBase* item);
    static bool BooleanOf(TJsonBase* item);
    void FreeItems();

    TList fList;
    friend class TJsonReader;
    friend class TJsonWriter;
};

class JSON_API TJsonList : public TJsonCustomList {
public:
    static TJsonList* Generate();
    TJsonTypes SelfType() const override;
    std::wstring SelfTypeName() const override;

    int Add(TJsonBase* item);
    int Add(bool value);
    int Add(double value);
    int Add(int value);
    int Add(const WideString& value);
    int Add(const std::wstring& value);
    int Add(const wchar_t* value);  // a text, not a boolean
    void Delete(int index);
    int IndexOf(TJsonBase* item) const;
};

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
