// Records passed to the service's client library.
#pragma once
#include <cstdint>

#pragma pack(push, 4)
struct _AUTH_REQUEST {
    int32_t size;        // 20
    int32_t second;      // 1
    int32_t kind;        // written by the library: 1 enhanced signature, else simple extended
    char* buffer;        // the signer's identifier, NUL-terminated ANSI
    int32_t bufferSize;  // 100
};
#pragma pack(pop)
static_assert(sizeof(_AUTH_REQUEST) == 20, "the library expects 20 bytes");
