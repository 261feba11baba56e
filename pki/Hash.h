// A digest through the provider, by way of a CMS hashed message. Error texts are cp1251; a null
// errorText sends them to VYRNLog.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <string>

constexpr ALG_ID GostHashAlgId = 0x801E;  // GOST R 34.11-94

// Hashes data with the algorithm of the OID. 0: digest holds a local-heap buffer (the caller frees
// it with LocalFree) and the digest's length; the buffer may be longer than the digest. 1 no
// message length, 2 no memory, 3 the message did not open, 4 the data did not go in, 5 no digest;
// on failure digest keeps what it held.
int _hash(const char* oid, const CRYPT_DATA_BLOB& data, CRYPT_DATA_BLOB& digest, std::string* errorText);

// As _hash, with the OID of the algorithm id; 3 when the id has no OID.
int HashByAlgId(ALG_ID algorithm, const CRYPT_DATA_BLOB& data, CRYPT_DATA_BLOB& digest, std::string* errorText);
