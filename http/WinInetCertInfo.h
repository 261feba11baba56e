// The server certificate record that THTTP keeps from its last secure send, with the texts
// WinINet allocated inside it.
#pragma once
#include <windows.h>
#include <wininet.h>
#include "ServerCertRecord.h"

struct TInetServerCertInfo : TServerCertRecord<INTERNET_CERTIFICATE_INFO, char> {};
