// What the test provider takes from the registry: the version it reports and the calls that are
// to fail. Each failure switch is a DWORD error code; a missing value or 0 lets the call succeed.
#pragma once
#include <windows.h>
#include <wincrypt.h>

#define TESTCSP_SWITCH_KEY "Software\\VorsaltTestCsp"  // under HKEY_CURRENT_USER
#define TESTCSP_VERSION "Version"                      // answer to PP_VERSION
#define TESTCSP_FAIL_ACQUIRE "FailAcquire"             // CPAcquireContext
#define TESTCSP_FAIL_VERSION "FailVersion"             // CPGetProvParam (PP_VERSION)
#define TESTCSP_FAIL_CREATE_HASH "FailCreateHash"      // CPCreateHash
#define TESTCSP_FAIL_HASH_DATA "FailHashData"          // CPHashData
#define TESTCSP_FAIL_HASH_VALUE "FailHashValue"        // CPGetHashParam (HP_HASHVAL)

constexpr DWORD TestCspDefaultVersion = 0x00000400;
constexpr ALG_ID TestCspGostHash = 0x801E;  // GOST R 34.11-94; the stand-in's digest is SHA-256
constexpr DWORD TestCspDigestSize = 32;
constexpr int TestCspAlgorithmCount = 3;
