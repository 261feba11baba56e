#include "SignerFixture.h"
#include <vector>
#include "CaPki.h"
#include "RegistryFixture.h"

namespace {
const char* const ProvidersKey = "Software\\Microsoft\\Cryptography\\Defaults\\Provider\\";

std::string ProxyKey() {
    const std::wstring name = ProxyProviderName;
    return ProvidersKey + std::string(name.begin(), name.end());
}

std::string ProxyPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string folder = path;
    return folder.substr(0, folder.rfind('\\') + 1) + "proxycsp.dll";
}
}  // namespace

TSigner::TSigner(const std::string& name, const wchar_t* provider) {
    const std::string blob = CaPkiBytes(name + ".msblob");
    const std::wstring container = L"vorsalt-" + std::wstring(name.begin(), name.end());
    HCRYPTPROV prov = 0;
    if (!CryptAcquireContextW(&prov, container.c_str(), MS_ENH_RSA_AES_PROV_W, PROV_RSA_AES, 0) &&
        !CryptAcquireContextW(&prov, container.c_str(), MS_ENH_RSA_AES_PROV_W, PROV_RSA_AES, CRYPT_NEWKEYSET))
        return;
    const TCryptProv provOwner(prov);
    TCryptKey key;
    if (blob.size() < sizeof(BLOBHEADER) ||
        !CryptImportKey(prov, reinterpret_cast<const BYTE*>(blob.data()), static_cast<DWORD>(blob.size()), 0,
                        CRYPT_EXPORTABLE, key.Receive()))
        return;
    const auto* header = reinterpret_cast<const BLOBHEADER*>(blob.data());
    const TCertStore store(CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"MY"));
    const std::string der = CaPkiBytes(name + ".der");
    PCCERT_CONTEXT added = nullptr;
    if (!store ||
        !CertAddEncodedCertificateToStore(store.Get(), X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                          static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, &added))
        return;
    TCertContext certificate(added);
    CRYPT_KEY_PROV_INFO info{};
    info.pwszContainerName = const_cast<LPWSTR>(container.c_str());
    info.pwszProvName = const_cast<LPWSTR>(provider);
    info.dwProvType = PROV_RSA_AES;
    info.dwKeySpec = header->aiKeyAlg == CALG_RSA_SIGN ? AT_SIGNATURE : AT_KEYEXCHANGE;
    if (!CertSetCertificateContextProperty(certificate.Get(), CERT_KEY_PROV_INFO_PROP_ID, 0, &info))
        return;
    CertControlStore(store.Get(), 0, CERT_STORE_CTRL_COMMIT, nullptr);
    cert = std::move(certificate);
}

TProxyProviderRegistration::TProxyProviderRegistration() {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, ProxyKey().c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    const std::string path = ProxyPath();
    const DWORD type = PROV_RSA_AES;
    RegSetValueExA(key, "Image Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>(path.size() + 1));
    RegSetValueExA(key, "Type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&type), sizeof type);
    RegCloseKey(key);
}

TProxyProviderRegistration::~TProxyProviderRegistration() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, ProxyKey().c_str());
}

TCertContext WithAlgorithm(PCCERT_CONTEXT cert, const char* oid, bool key) {
    return Reencoded(cert, [&](CERT_INFO& info) {
        (key ? info.SubjectPublicKeyInfo.Algorithm : info.SignatureAlgorithm).pszObjId = const_cast<LPSTR>(oid);
    });
}

TCertContext WithNotBefore(PCCERT_CONTEXT cert, const SYSTEMTIME& notBefore) {
    FILETIME time;
    if (!SystemTimeToFileTime(&notBefore, &time))
        return TCertContext();
    return Reencoded(cert, [&](CERT_INFO& info) { info.NotBefore = time; });
}

TCertContext Reencoded(PCCERT_CONTEXT cert, const std::function<void(CERT_INFO&)>& change) {
    CERT_INFO info = *cert->pCertInfo;
    change(info);
    DWORD size = 0;
    if (!CryptEncodeObject(X509_ASN_ENCODING, X509_CERT_TO_BE_SIGNED, &info, nullptr, &size))
        return TCertContext();
    std::vector<BYTE> toBeSigned(size);
    CryptEncodeObject(X509_ASN_ENCODING, X509_CERT_TO_BE_SIGNED, &info, toBeSigned.data(), &size);
    CERT_SIGNED_CONTENT_INFO signedInfo{};
    signedInfo.ToBeSigned = {size, toBeSigned.data()};
    signedInfo.SignatureAlgorithm = cert->pCertInfo->SignatureAlgorithm;
    signedInfo.Signature = {0, nullptr, 0};
    DWORD signedSize = 0;
    if (!CryptEncodeObject(X509_ASN_ENCODING, X509_CERT, &signedInfo, nullptr, &signedSize))
        return TCertContext();
    std::vector<BYTE> encoded(signedSize);
    CryptEncodeObject(X509_ASN_ENCODING, X509_CERT, &signedInfo, encoded.data(), &signedSize);
    TCertContext copy(CertCreateCertificateContext(X509_ASN_ENCODING, encoded.data(), signedSize));
    DWORD infoSize = 0;  // the original's key goes with the copy
    if (copy && CertGetCertificateContextProperty(cert, CERT_KEY_PROV_INFO_PROP_ID, nullptr, &infoSize)) {
        std::vector<BYTE> keyInfo(infoSize);
        CertGetCertificateContextProperty(cert, CERT_KEY_PROV_INFO_PROP_ID, keyInfo.data(), &infoSize);
        CertSetCertificateContextProperty(copy.Get(), CERT_KEY_PROV_INFO_PROP_ID, 0, keyInfo.data());
    }
    return copy;
}
