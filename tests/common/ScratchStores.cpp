#include "ScratchStores.h"
#include <wincrypt.h>
#include "CaPki.h"

namespace {
bool AddEncoded(const wchar_t* storeName, const std::string& bytes, bool crl) {
    TCertStore store(CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, storeName));
    if (!store || bytes.empty())
        return false;
    const auto* data = reinterpret_cast<const BYTE*>(bytes.data());
    const DWORD size = static_cast<DWORD>(bytes.size());
    const BOOL added = crl ? CertAddEncodedCRLToStore(store.Get(), X509_ASN_ENCODING, data, size, CERT_STORE_ADD_ALWAYS,
                                                      nullptr)
                           : CertAddEncodedCertificateToStore(store.Get(), X509_ASN_ENCODING, data, size,
                                                              CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    CertControlStore(store.Get(), 0, CERT_STORE_CTRL_COMMIT, nullptr);
    return added != FALSE;
}
}  // namespace

TScratchStores::TScratchStores(const std::string& name, TStart start) : user(HKEY_CURRENT_USER, name) {
    active = user.Active();
    if (active && start == ChainStores)
        active = AddCert(L"Root", "root") && AddCert(L"CA", "sub");
}

bool TScratchStores::AddCert(const wchar_t* store, const std::string& name) {
    return AddEncoded(store, CaPkiBytes(name + ".der"), false);
}

bool TScratchStores::AddCrl(const wchar_t* store, const std::string& name) {
    return AddEncoded(store, CaPkiBytes(name + ".crl"), true);
}
