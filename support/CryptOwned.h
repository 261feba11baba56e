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

using TCertContext = TOwned<TClosedByTraits<PCCERT_CONTEXT, CertFreeCertificateContext>>;
using TCrlContext = TOwned<TClosedByTraits<PCCRL_CONTEXT, CertFreeCRLContext>>;

struct TCertChainTraits : TOwnedTraits<PCCERT_CHAIN_CONTEXT> {
    static BOOL Close(Handle handle) {
        CertFreeCertificateChain(handle);
        return TRUE;
    }
};
using TCertChain = TOwned<TCertChainTraits>;

using TCryptMsg = TOwned<TClosedByTraits<HCRYPTMSG, CryptMsgClose>>;

struct TCryptProvTraits : TOwnedTraits<HCRYPTPROV> {
    static BOOL Close(Handle handle) { return CryptReleaseContext(handle, 0); }
};
using TCryptProv = TOwned<TCryptProvTraits>;

using TCryptKey = TOwned<TClosedByTraits<HCRYPTKEY, CryptDestroyKey>>;
using TCryptHash = TOwned<TClosedByTraits<HCRYPTHASH, CryptDestroyHash>>;
