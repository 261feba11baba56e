// Signers of the CA test PKI with their real RSA keys, for one test within a TScratchStores: the
// key imported into a container of the platform's RSA provider (PROV_RSA_AES), the certificate in
// the current user's "MY" store with the key's provider information naming that provider, the
// proxy test provider (standins/proxycsp) or any other name.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <string>
#include "CryptOwned.h"

constexpr const wchar_t* ProxyProviderName = L"Vorsalt Proxy RSA Provider";

class TSigner {
public:
    TSigner(const std::string& name, const wchar_t* provider = MS_ENH_RSA_AES_PROV_W);
    bool Ready() const { return static_cast<bool>(cert); }
    PCCERT_CONTEXT Cert() const { return cert.Get(); }

private:
    TCertContext cert;
};

// The proxy provider registered by name (machine-wide: lock "proxy_provider") while it lives.
class TProxyProviderRegistration {
public:
    TProxyProviderRegistration();
    ~TProxyProviderRegistration();
    TProxyProviderRegistration(const TProxyProviderRegistration&) = delete;
    TProxyProviderRegistration& operator=(const TProxyProviderRegistration&) = delete;
};

// A copy of the certificate whose subject key algorithm (key true) or signature algorithm is the
// OID, with the original's key provider information; its signature is not one of it, which
// nothing here checks.
TCertContext WithAlgorithm(PCCERT_CONTEXT cert, const char* oid, bool key);
