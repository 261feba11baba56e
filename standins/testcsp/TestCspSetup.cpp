#include "TestCspSetup.h"
#include <windows.h>
#include <cstdio>

namespace {

const char* const ProvidersKey = "Software\\Microsoft\\Cryptography\\Defaults\\Provider\\";
const char* const TypesKey = "Software\\Microsoft\\Cryptography\\Defaults\\Provider Types\\";
const char* const OidInfoKey = "Software\\Microsoft\\Cryptography\\OID\\EncodingType 0\\CryptDllFindOIDInfo\\";

void SetValue(HKEY root, const std::string& path, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void SetText(HKEY root, const std::string& path, const char* name, const std::string& text) {
    SetValue(root, path, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void SetNumber(HKEY root, const std::string& path, const char* name, DWORD value) {
    SetValue(root, path, name, REG_DWORD, &value, sizeof value);
}

const char* NameOfType(DWORD type) {
    return type == 80 ? TestCspName80 : TestCspName75;
}

std::string TypeKey(DWORD type) {
    char name[16];
    std::snprintf(name, sizeof name, "Type %03lu", static_cast<unsigned long>(type));
    return std::string(TypesKey) + name;
}

void Unregister(DWORD type) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string(ProvidersKey) + NameOfType(type)).c_str());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, TypeKey(type).c_str());
}

}  // namespace

std::string TestCspPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1) + "testcsp.dll";
}

void RegisterGostHashOidInfo() {
    const std::string key = std::string(OidInfoKey) + GostHashOid + "!1";  // group 1: hash algorithms
    SetText(HKEY_LOCAL_MACHINE, key, "Name", "GOST R 34.11-94");
    SetNumber(HKEY_LOCAL_MACHINE, key, "Algid", TestCspGostHash);
}

void RegisterTestCsp(DWORD type) {
    const std::string provider = std::string(ProvidersKey) + NameOfType(type);
    SetText(HKEY_LOCAL_MACHINE, provider, "Image Path", TestCspPath());
    SetNumber(HKEY_LOCAL_MACHINE, provider, "Type", type);
    SetText(HKEY_LOCAL_MACHINE, TypeKey(type), "Name", NameOfType(type));
    SetText(HKEY_LOCAL_MACHINE, TypeKey(type), "TypeName", "GOST test provider");
}

TestCspRegistration::TestCspRegistration(std::vector<DWORD> types) : types_(std::move(types)) {
    // A test process killed while registered leaves its registration behind: start from none.
    Unregister(75);
    Unregister(80);
    RegDeleteTreeA(HKEY_CURRENT_USER, TESTCSP_SWITCH_KEY);
    for (DWORD type : types_)
        RegisterTestCsp(type);
}

TestCspRegistration::~TestCspRegistration() {
    for (DWORD type : types_)
        Unregister(type);
    RegDeleteTreeA(HKEY_CURRENT_USER, TESTCSP_SWITCH_KEY);
}

void TestCspRegistration::SetSwitch(const char* name, DWORD value) {
    SetNumber(HKEY_CURRENT_USER, TESTCSP_SWITCH_KEY, name, value);
}

CryptoProSettings::CryptoProSettings() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Crypto Pro");
}

CryptoProSettings::~CryptoProSettings() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Crypto Pro");
}

void CryptoProSettings::SetText(const char* key, const char* name, const std::string& text) {
    ::SetText(HKEY_LOCAL_MACHINE, key, name, text);
}

void CryptoProSettings::SetNumber(const char* key, const char* name, DWORD value) {
    ::SetNumber(HKEY_LOCAL_MACHINE, key, name, value);
}
