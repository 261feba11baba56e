// The back-end of every HTTP client: WinINet or WinHTTP, chosen by the Windows version and the
// per-user "http_type" value, afresh at every call.
#pragma once
#include "class_http.h"
#include <memory>

// 1 WinINet (THTTP), 2 WinHTTP (TWinHTTP); the registry may give any other value.
using THttpType = int;
constexpr THttpType HttpTypeWinInet = 1, HttpTypeWinHttp = 2;

THttpType GetHttpType();

// A TWinHTTP for type 2, a THTTP for every other type.
std::unique_ptr<TAllHTTP> CreateHttpClient(bool secure, int resumeOffset);

// "undef", "WinInet" or "WinHTTP"; "undef" for every value above 2.
const char* HttpTypeName(unsigned int type);
