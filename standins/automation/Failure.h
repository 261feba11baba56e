// A failure of a stand-in provider function: its code and description.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <string>

struct TMemberFailure {
    HRESULT scode;
    std::wstring description;
};

// A digest of bytes by a CryptoAPI algorithm.
std::string HashBytes(ALG_ID algorithm, const std::string& bytes);
