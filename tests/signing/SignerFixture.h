// Signers of the CA test PKI with their real RSA keys, for one test within a TScratchStores: the
// key imported into a container of the platform's RSA provider (PROV_RSA_AES), the certificate in
// the current user's "MY" store with the key's provider information naming that provider, the
// proxy test provider (standins/proxycsp) or any other name.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <functional>
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

// A copy of the certificate changed in its CERT_INFO, with the original's key provider
// information; its signature is not one of it, which nothing here checks.
TCertContext Reencoded(PCCERT_CONTEXT cert, const std::function<void(CERT_INFO&)>& change);
// Such a copy whose subject key algorithm (key true) or signature algorithm is the OID.
TCertContext WithAlgorithm(PCCERT_CONTEXT cert, const char* oid, bool key);
// Such a copy issued at the time (UTC).
TCertContext WithNotBefore(PCCERT_CONTEXT cert, const SYSTEMTIME& notBefore);
