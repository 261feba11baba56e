// The server certificate record that TWinHTTP keeps from its last secure send, with the texts
// WinHTTP allocated inside it.
#pragma once
#include <windows.h>
#include <winhttp.h>
#include "ServerCertRecord.h"

// Record is zero when the certificate could not be read.
struct TServerCertInfo : TServerCertRecord<WINHTTP_CERTIFICATE_INFO, wchar_t> {};
