// A counted reference to an interface object: adds a reference when it takes the pointer and
// releases it when it lets go.
#pragma once
#include <cstddef>
#include <utility>

namespace HierLog {

template <class T>
class LogRef {
public:
    LogRef() = default;
    LogRef(std::nullptr_t) {}
    LogRef(T* object) : p(object) {
        if (p)
            p->AddRef();
    }
    LogRef(const LogRef& other) : LogRef(other.p) {}
    LogRef(LogRef&& other) noexcept : p(std::exchange(other.p, nullptr)) {}
    template <class U>
    LogRef(const LogRef<U>& other) : LogRef(other.get()) {}
    ~LogRef() {
        if (p)
            p->Release();
    }

    LogRef& operator=(LogRef other) noexcept {
        std::swap(p, other.p);
        return *this;
    }

    T* get() const { return p; }
    T* operator->() const { return p; }
    T& operator*() const { return *p; }
    explicit operator bool() const { return p != nullptr; }
    friend bool operator==(const LogRef& a, const LogRef& b) { return a.p == b.p; }
    friend bool operator!=(const LogRef& a, const LogRef& b) { return a.p != b.p; }

    // The object's interface I, or null when it has none.
    template <class I>
    LogRef<I> As() const {
        LogRef<I> result;
        void* object = nullptr;
        if (p && p->QueryInterface(I::Id, &object) == S_OK)
            result.Adopt(static_cast<I*>(object));
        return result;
    }
    // Takes over a reference that the caller already holds.
    void Adopt(T* object) {
        if (p)
            p->Release();
        p = object;
    }

private:
    T* p = nullptr;
};

}  // namespace HierLog
