// Owners (Owned.h) for the handles of the two HTTP stacks and for blocks that a stack hands out
// from the global heap. wininet.h and winhttp.h do not mix in one translation unit: both stacks'
// HINTERNET is void* here, and each closer is defined beside its own stack's code.
#pragma once
#include "Owned.h"

struct TWinInetHandleTraits : TOwnedTraits<void*> {
    static BOOL Close(Handle handle);  // InternetCloseHandle
};
using TWinInetHandle = TOwned<TWinInetHandleTraits>;

struct TWinHttpHandleTraits : TOwnedTraits<void*> {
    static BOOL Close(Handle handle);  // WinHttpCloseHandle
};
using TWinHttpHandle = TOwned<TWinHttpHandleTraits>;

// A block that the caller frees with GlobalFree (the proxy texts of both stacks).
struct TGlobalBlockTraits : TOwnedTraits<void*> {
    static BOOL Close(Handle handle) { return GlobalFree(handle) == nullptr; }
};
using TGlobalBlock = TOwned<TGlobalBlockTraits>;
