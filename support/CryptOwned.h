// Traits of the CryptoAPI handles for TOwned (Owned.h): certificate stores, certificate and CRL
// contexts, certificate chains, CMS messages, provider contexts, keys and hashes.
#pragma once
#include "Owned.h"
#include <wincrypt.h>

// A store closed with the given CertCloseStore flags (0, CERT_CLOSE_STORE_CHECK_FLAG or
// CERT_CLOSE_STORE_FORCE_FLAG).
template <DWORD Flags>
struct TCertStoreTraits : TOwnedTraits<HCERTSTORE> {
    static BOOL Close(Handle handle) { return CertCloseStore(handle, Flags); }
};
using TCertStore = TOwned<TCertStoreTraits<0>>;
using TCertStoreForced = TOwned<TCertStoreTraits<CERT_CLOSE_STORE_FORCE_FLAG>>;

struct TCertContextTraits : TOwnedTraits<PCCERT_CONTEXT> {
    static BOOL Close(Handle handle) { return CertFreeCertificateContext(handle); }
};
using TCertContext = TOwned<TCertContextTraits>;

struct TCrlContextTraits : TOwnedTraits<PCCRL_CONTEXT> {
    static BOOL Close(Handle handle) { return CertFreeCRLContext(handle); }
};
using TCrlContext = TOwned<TCrlContextTraits>;

struct TCertChainTraits : TOwnedTraits<PCCERT_CHAIN_CONTEXT> {
    static BOOL Close(Handle handle) {
        CertFreeCertificateChain(handle);
        return TRUE;
    }
};
using TCertChain = TOwned<TCertChainTraits>;

struct TCryptMsgTraits : TOwnedTraits<HCRYPTMSG> {
    static BOOL Close(Handle handle) { return CryptMsgClose(handle); }
};
using TCryptMsg = TOwned<TCryptMsgTraits>;

struct TCryptProvTraits : TOwnedTraits<HCRYPTPROV> {
    static BOOL Close(Handle handle) { return CryptReleaseContext(handle, 0); }
};
using TCryptProv = TOwned<TCryptProvTraits>;

struct TCryptKeyTraits : TOwnedTraits<HCRYPTKEY> {
    static BOOL Close(Handle handle) { return CryptDestroyKey(handle); }
};
using TCryptKey = TOwned<TCryptKeyTraits>;

struct TCryptHashTraits : TOwnedTraits<HCRYPTHASH> {
    static BOOL Close(Handle handle) { return CryptDestroyHash(handle); }
};
using TCryptHash = TOwned<TCryptHashTraits>;
