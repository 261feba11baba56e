// Owner of one block from the local heap (LocalAlloc, FormatMessage, CryptoAPI and the like).
#pragma once
#include <windows.h>

template <typename T>
class TLocalFree {
public:
    TLocalFree() = default;
    explicit TLocalFree(T* block) : pointer(block) {}
    ~TLocalFree() { FreeOwned(); }

    TLocalFree(const TLocalFree&) = delete;
    TLocalFree& operator=(const TLocalFree&) = delete;

    TLocalFree& operator=(T* block) {
        Reset(block);
        return *this;
    }

    // Takes a new block; the one still owned is freed unless it is the same pointer.
    void Reset(T* block = nullptr) {
        if (block == pointer)
            return;
        FreeOwned();
        pointer = block;
        detached = false;
    }

    T* Get() const { return pointer; }

    // Hands the block out: it stays visible through Get but is no longer freed here.
    T* Detach() {
        if (pointer != nullptr)
            detached = true;
        return pointer;
    }

    bool IsDetached() const { return detached; }

private:
    void FreeOwned() {
        if (pointer != nullptr && !detached)
            LocalFree(const_cast<void*>(static_cast<const void*>(pointer)));
    }

    T* pointer = nullptr;
    bool detached = false;
};
