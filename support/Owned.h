// The one owner of a platform handle: it closes the handle when it goes. A traits type tells the
// handle type, the value that means "none", the closer and what Close answers when nothing is
// held; traits may carry state that the closer needs (the smart-card list keeps its context).
//   struct TFileTraits : TOwnedTraits<HANDLE> {
//       static Handle Empty() { return INVALID_HANDLE_VALUE; }
//       static BOOL Close(Handle handle) { return CloseHandle(handle); }
//   };
// Traits of the CryptoAPI handles stand in CryptOwned.h.
#pragma once
#include <windows.h>
#include <utility>

template <typename Traits>
class TOwned {
public:
    using Handle = typename Traits::Handle;
    using CloseResult = decltype(std::declval<Traits&>().Close(std::declval<Handle>()));

    TOwned() = default;
    explicit TOwned(Handle handle, Traits traits = Traits()) : handle(handle), traits(traits) {}
    ~TOwned() { Close(); }

    TOwned(const TOwned&) = delete;
    TOwned& operator=(const TOwned&) = delete;
    TOwned(TOwned&& other) noexcept : handle(other.Release()), traits(other.traits) {}
    TOwned& operator=(TOwned&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
            traits = other.traits;
        }
        return *this;
    }

    Handle Get() const { return handle; }
    explicit operator bool() const { return handle != Traits::Empty(); }

    // The slot for a platform call that gives out a handle; what was held is closed first.
    Handle* Receive() {
        Close();
        return &handle;
    }
    // Hands the handle out: the caller closes it, the owner holds none.
    Handle Release() {
        const Handle held = handle;
        handle = Traits::Empty();
        return held;
    }
    // Takes another handle; the one held is closed unless it is the same.
    void Reset(Handle other = Traits::Empty()) {
        if (other == handle)
            return;
        Close();
        handle = other;
    }
    // Closes now and gives the closer's answer (NoneClosed when nothing was held).
    CloseResult Close() {
        if (handle == Traits::Empty())
            return Traits::NoneClosed;
        return traits.Close(Release());
    }

private:
    Handle handle = Traits::Empty();
    Traits traits;
};

// What most traits share: the handle type, null (or 0) as "none", and Close's answer when nothing
// is held.
template <typename H, typename Result = BOOL, Result None = TRUE>
struct TOwnedTraits {
    using Handle = H;
    static Handle Empty() { return Handle(); }
    static constexpr Result NoneClosed = None;
};

// A handle whose "none" is null and whose closer takes the handle alone and answers BOOL.
template <typename H, BOOL(WINAPI* Closer)(H)>
struct TClosedByTraits : TOwnedTraits<H> {
    static BOOL Close(H handle) { return Closer(handle); }
};

// A file, as CreateFile gives it.
struct TFileTraits : TOwnedTraits<HANDLE> {
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static BOOL Close(Handle handle) { return CloseHandle(handle); }
};
using TFileHandle = TOwned<TFileTraits>;

// A kernel object whose "none" is null: process, thread, event, pipe end.
using TKernelHandle = TOwned<TClosedByTraits<HANDLE, CloseHandle>>;

struct TRegKeyTraits : TOwnedTraits<HKEY, LONG, ERROR_SUCCESS> {
    static LONG Close(Handle handle) { return RegCloseKey(handle); }
};
using TRegKey = TOwned<TRegKeyTraits>;

// A loaded library (LoadLibrary, LoadLibraryEx).
using TModule = TOwned<TClosedByTraits<HMODULE, FreeLibrary>>;
