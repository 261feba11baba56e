// The JSON value tree. Every value is a TJsonBase; lists and objects own their items, a pair
// owns its value, so a document is freed from its root (objects and their pairs: JsonObject.h).
// A factory's result belongs to the caller until it is added to a container; an item a container
// refuses stays the caller's.
#pragma once
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
