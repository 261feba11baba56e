// The service's client library LUMCLIENT.DLL: the records the program passes to it and the four
// functions it imports from it by name at load time (standard calling convention, undecorated
// names: the import library is made from LumClient.def). Without the library the program does
// not start.
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>

#pragma pack(push, 4)
// One item of a time-stamp request.
struct _ENCHANCE_ITEM {
    int32_t size;        // 16
    int32_t kind;        // the item's kind
    const char* data;    // the item's bytes, or null
    int32_t dataLength;  // number of data bytes
};

// The request of a test signature.
struct _AUTH_REQUEST {
    int32_t size;        // 20
    int32_t second;      // 1
    int32_t kind;        // written by the library on success: 1 enhanced signature, else simple extended
    char* buffer;        // the signer's identifier, NUL-terminated ANSI (the library may fill it without a NUL)
    int32_t bufferSize;  // 100
};
#pragma pack(pop)

static_assert(sizeof(_ENCHANCE_ITEM) == 16, "the library expects 16 bytes");
static_assert(offsetof(_ENCHANCE_ITEM, size) == 0 && offsetof(_ENCHANCE_ITEM, kind) == 4 &&
                  offsetof(_ENCHANCE_ITEM, data) == 8 && offsetof(_ENCHANCE_ITEM, dataLength) == 12,
              "the library's item layout");
static_assert(sizeof(_AUTH_REQUEST) == 20, "the library expects 20 bytes");
static_assert(offsetof(_AUTH_REQUEST, size) == 0 && offsetof(_AUTH_REQUEST, second) == 4 &&
                  offsetof(_AUTH_REQUEST, kind) == 8 && offsetof(_AUTH_REQUEST, buffer) == 12 &&
                  offsetof(_AUTH_REQUEST, bufferSize) == 16,
              "the library's request layout");

// Authentificate's result for a signature that was not made and may need no words of its own.
constexpr int32_t LumNotAuthenticated = static_cast<int32_t>(0x8000000A);

#ifndef LUMCLIENT_API
#define LUMCLIENT_API __declspec(dllimport)
#endif

extern "C" {
// Sets the service host for the calls that follow; the result is not used.
LUMCLIENT_API int32_t WINAPI SetLumIp(const char* host);
// Has the service enhance the items: 0 success.
LUMCLIENT_API int32_t WINAPI Enchance(const _ENCHANCE_ITEM* items, int32_t count);
// Makes a test signature: 0 success (kind and identifier written), LumNotAuthenticated, else a failure.
LUMCLIENT_API int32_t WINAPI Authentificate(int32_t mode, _AUTH_REQUEST* request);
// The text of the library's last failure, or null.
LUMCLIENT_API const char* WINAPI GetError();
}
