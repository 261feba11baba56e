// The length CryptMsgCalculateEncodedLength gives for a hashed message of dataSize bytes.
#pragma once
#include <windows.h>
#include <wincrypt.h>

// On Windows the real function. Under Wine that function is an unimplemented stub that ends the
// process, so there the answer is a safe upper bound of the encoded message. 0 when it fails.
DWORD HashedMessageEncodedLength(const CMSG_HASHED_ENCODE_INFO& info, DWORD dataSize);
