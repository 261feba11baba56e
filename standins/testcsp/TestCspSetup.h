// Registration of the test provider for tests: the provider keys, the provider-type default names,
// the OID information of its GOST hash, its failure switches, and the CryptoPro settings values.
#pragma once
#include "TestCspSwitches.h"
#include <windows.h>
#include <string>
#include <vector>

constexpr const char* TestCspName75 = "Crypto-Pro GOST R 34.10-2001 Cryptographic Service Provider";
constexpr const char* TestCspName80 = "Crypto-Pro GOST R 34.10-2012 Cryptographic Service Provider";
constexpr const char* GostHashOid = "1.2.643.2.2.9";

// testcsp.dll beside the running program.
std::string TestCspPath();

// HKLM OID information that maps the GOST hash OID to its ALG_ID. crypt32 reads it when it loads,
// so it must be written before the process that hashes starts.
void RegisterGostHashOidInfo();

// Registers testcsp.dll beside the running program as the provider of the type's default name
// (type 75 or 80), and leaves it registered.
void RegisterTestCsp(DWORD type);

// Registers the provider under the type's default name (type 75 or 80) for as long as it lives,
// with its switches cleared; the destructor removes both and the switches.
class TestCspRegistration {
public:
    explicit TestCspRegistration(std::vector<DWORD> types);
    ~TestCspRegistration();
    TestCspRegistration(const TestCspRegistration&) = delete;
    TestCspRegistration& operator=(const TestCspRegistration&) = delete;

    static void SetSwitch(const char* name, DWORD value);

private:
    std::vector<DWORD> types_;
};

// The CryptoPro settings values ("SOFTWARE\\Crypto Pro" of HKLM) for as long as it lives; the
// constructor and the destructor remove the whole key.
class CryptoProSettings {
public:
    static constexpr const char* SettingsKey = "SOFTWARE\\Crypto Pro\\Settings";
    static constexpr const char* ParametersKey = "SOFTWARE\\Crypto Pro\\Cryptography\\CurrentVersion\\Parameters";
    static constexpr const char* LegacySuites = "tls_client_disable_legacy_cipher_suites";

    CryptoProSettings();
    ~CryptoProSettings();
    CryptoProSettings(const CryptoProSettings&) = delete;
    CryptoProSettings& operator=(const CryptoProSettings&) = delete;

    void SetText(const char* key, const char* name, const std::string& text);
    void SetNumber(const char* key, const char* name, DWORD value);
};
