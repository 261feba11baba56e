// Tells what one of the current user's certificate stores holds, as a process of its own sees it
// (crypt32 and its chain engine keep what a process saw first): HKEY_CURRENT_USER stands on the
// scratch key, the store is opened read-only, and each certificate and CRL gives a line.
//   cert_store_probe.exe KEY_PATH STORE
// KEY_PATH: under HKEY_CURRENT_USER (ScratchStores.h). Lines:
//   opened | missing
//   cert SHA-1
//   crl SHA-1 NUMBER THIS_UPDATE NEXT_UPDATE   (as OpensslCrlView in CaPki.h writes them)
#include <windows.h>
#include <wincrypt.h>
#include <cstdio>
#include <string>

namespace {
std::string Hex(const BYTE* bytes, DWORD count, const char* format) {
    std::string text;
    char digits[3];
    for (DWORD i = 0; i < count; ++i) {
        std::snprintf(digits, sizeof digits, format, bytes[i]);
        text += digits;
    }
    return text;
}

std::string Sha1(const BYTE* bytes, DWORD count) {
    BYTE hash[20];
    DWORD size = sizeof hash;
    if (!CryptHashCertificate(0, CALG_SHA1, 0, bytes, count, hash, &size))
        return "-";
    return Hex(hash, size, "%02x");
}

std::string Iso(const FILETIME& time) {
    SYSTEMTIME t{};
    if (!FileTimeToSystemTime(&time, &t))
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02uZ", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                  t.wSecond);
    return text;
}

// The CRL number as an unsigned big-endian integer, two digits a byte.
std::string CrlNumber(const CRL_INFO* info) {
    const CERT_EXTENSION* extension = CertFindExtension(szOID_CRL_NUMBER, info->cExtension, info->rgExtension);
    BYTE decoded[64];
    DWORD size = sizeof decoded;
    if (extension == nullptr || !CryptDecodeObject(X509_ASN_ENCODING, X509_MULTI_BYTE_INTEGER, extension->Value.pbData,
                                                   extension->Value.cbData, 0, decoded, &size))
        return "-";
    const auto* number = reinterpret_cast<const CRYPT_INTEGER_BLOB*>(decoded);
    std::string text;
    for (DWORD i = number->cbData; i-- > 0;)
        text += Hex(number->pbData + i, 1, "%02X");
    return text;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::puts("usage: cert_store_probe.exe KEY_PATH STORE");
        return 2;
    }
    HKEY scratch = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, argv[1], 0, KEY_ALL_ACCESS, &scratch) != ERROR_SUCCESS ||
        RegOverridePredefKey(HKEY_CURRENT_USER, scratch) != ERROR_SUCCESS) {
        std::puts("no scratch key");
        return 1;
    }
    const std::string name = argv[2];
    const std::wstring storeName(name.begin(), name.end());
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0,
                                     CERT_SYSTEM_STORE_CURRENT_USER | CERT_STORE_OPEN_EXISTING_FLAG |
                                         CERT_STORE_READONLY_FLAG,
                                     storeName.c_str());
    if (store == nullptr) {
        std::puts("missing");
        return 0;
    }
    std::puts("opened");
    for (PCCERT_CONTEXT cert = nullptr; (cert = CertEnumCertificatesInStore(store, cert)) != nullptr;)
        std::printf("cert %s\n", Sha1(cert->pbCertEncoded, cert->cbCertEncoded).c_str());
    for (PCCRL_CONTEXT crl = nullptr; (crl = CertEnumCRLsInStore(store, crl)) != nullptr;)
        std::printf("crl %s %s %s %s\n", Sha1(crl->pbCrlEncoded, crl->cbCrlEncoded).c_str(),
                    CrlNumber(crl->pCrlInfo).c_str(), Iso(crl->pCrlInfo->ThisUpdate).c_str(),
                    Iso(crl->pCrlInfo->NextUpdate).c_str());
    CertCloseStore(store, 0);
    return 0;
}
