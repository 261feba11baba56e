// Root of the library's classes: class references (name, parent, how to make a bare instance,
// which interfaces the class has) and the reference-counted interface objects.
#pragma once
#include <windows.h>
#include <unknwn.h>
#include <string>
#include <type_traits>

// The library's classes and operations are in the executable's export table.
#define HIERLOG_API __declspec(dllexport)

namespace HierLog {

class TObject;

// A class reference, as class registries and renderers see classes.
struct TClass {
    const char* Name;
    const TClass* Parent;   // null only for TObject
    TObject* (*NewBare)();  // a bare instance (nothing set up); null for an abstract class
    bool (*Supports)(const GUID& iid);

    std::string ClassName() const { return Name; }
};

// Root of every class of the library and of message objects. A message class declares
// HIERLOG_CLASS(Name) first in its body (what follows it is public) and
// HIERLOG_CLASS_INFO(Name, Parent) in one source file.
class HIERLOG_API TObject {
public:
    virtual ~TObject() = default;
    static const TClass* StaticClass();
    virtual const TClass* ClassType() const { return StaticClass(); }
    std::string ClassName() const { return ClassType()->Name; }
    // The interface of that identifier with a reference added; false when the object has none.
    virtual bool GetInterface(const GUID& iid, void** object);
};

constexpr GUID IID_IUnknownBase = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Whether interface I, or one it derives from, has that identifier. Each interface of the library
// names its identifier (Id) and the interface it derives from (Inherited).
template <class I>
bool InterfaceChainHas(const GUID& iid) {
    if constexpr (std::is_same_v<I, IUnknown>)
        return IsEqualGUID(iid, IID_IUnknownBase) != 0;
    else
        return IsEqualGUID(iid, I::Id) || InterfaceChainHas<typename I::Inherited>(iid);
}

template <class T>
TObject* MakeBare() {
    if constexpr (!std::is_abstract_v<T> && std::is_default_constructible_v<T>)
        return new T();
    else
        return nullptr;
}

template <class T, class = void>
struct HasInterfaceChain : std::false_type {};
template <class T>
struct HasInterfaceChain<T, std::void_t<decltype(&T::SupportsInterface)>> : std::true_type {};

template <class T>
bool ClassSupports(const GUID& iid) {
    if constexpr (HasInterfaceChain<T>::value)
        return T::SupportsInterface(iid);
    else
        return false;
}

namespace Internal {
void ObjectMade();
void ObjectGone();
}  // namespace Internal
// Reference-counted objects of the library alive in the process (for leak checks).
long LiveObjectCount();

// An object reached through interface I (and every interface I derives from). It starts with no
// reference; releasing the last reference destroys it, after BeforeDestruction.
template <class I>
class TLogInterfaced : public TObject, public I {
public:
    TLogInterfaced() { Internal::ObjectMade(); }
    TLogInterfaced(const TLogInterfaced&) = delete;
    TLogInterfaced& operator=(const TLogInterfaced&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        if (!InterfaceChainHas<I>(iid)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<I*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refCount)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refCount);
        if (left == 0) {
            BeforeDestruction();
            delete this;
        }
        return static_cast<ULONG>(left);
    }
    bool GetInterface(const GUID& iid, void** object) override { return QueryInterface(iid, object) == S_OK; }
    static bool SupportsInterface(const GUID& iid) { return InterfaceChainHas<I>(iid); }

protected:
    ~TLogInterfaced() override { Internal::ObjectGone(); }
    // Runs while the whole object still stands (virtual calls reach the most derived class).
    virtual void BeforeDestruction() {}

private:
    LONG refCount = 0;
};

}  // namespace HierLog

#define HIERLOG_CLASS(Class)                              \
public:                                                   \
    static const ::HierLog::TClass* StaticClass();        \
    const ::HierLog::TClass* ClassType() const override { \
        return StaticClass();                             \
    }

#define HIERLOG_CLASS_INFO(Class, Parent)                                                               \
    const ::HierLog::TClass* Class::StaticClass() {                                                     \
        static const ::HierLog::TClass info{#Class, Parent::StaticClass(), &::HierLog::MakeBare<Class>, \
                                            &::HierLog::ClassSupports<Class>};                          \
        return &info;                                                                                   \
    }
