// Traits of the CryptoAPI handles for TOwned (Owned.h): certificate stores, certificate and CRL
// contexts, certificate chains, CMS messages, provider contexts, keys and hashes.
#pragma once
#include "Owned.h"
#include <wincrypt.h>

// A store closed with the given CertCloseStore flags (0, CERT_CLOSE_STORE_CHECK_FLAG or
// CERT_CLOSE_STORE_FORCE_FLAG).
template <DWORD Flags>
struct TCertStoreTraits {
    using Handle = HCERTSTORE;
    static Handle Empty() { return nullptr; }
    static BOOL Close(Handle handle) { return CertCloseStore(handle, Flags); }
    static constexpr BOOL NoneClosed = TRUE;
};
using TCertStore = TOwned<TCertStoreTraits<0>>;
using TCertStoreForced = TOwned<TCertStoreTraits<CERT_CLOSE_STORE_FORCE_FLAG>>;

struct TCertContextTraits {
    using Handle = PCCERT_CONTEXT;
    static Handle Empty() { return nullptr; }
    static BOOL Close(Handle handle) { return CertFreeCertificateContext(handle); }
    static constexpr BOOL NoneClosed = TRUE;
};
using TCertContext = TOwned<TCertContextTraits>;

struct TCrlContextTraits {
    using Handle = PCCRL_CONTEXT;
    static Handle Empty() { return nullptr; }
    static BOOL Close(Handle handle) { return CertFreeCRLContext(handle); }
    static constexpr BOOL NoneClosed = TRUE;
};
using TCrlContext = TOwned<TCrlContextTraits>;

struct TCertChainTraits {
    using Handle = PCCERT_CHAIN_CONTEXT;
    static Handle Empty() { return nullptr; }
    static BOOL Close(Handle handle) {
        CertFreeCertificateChain(handle);
        return TRUE;
    }
    static constexpr BOOL NoneClosed = TRUE;
};
using TCertChain = TOwned<TCertChainTraits>;

struct TCryptMsgTraits {
    using Handle = HCRYPTMSG;
    static Handle Empty() { return nullptr; }
    static BOOL Close(Handle handle) { return CryptMsgClose(handle); }
    static constexpr BOOL NoneClosed = TRUE;
};
using TCryptMsg = TOwned<TCryptMsgTraits>;

struct TCryptProvTraits {
    using Handle = HCRYPTPROV;
    static Handle Empty() { return 0; }
    static BOOL Close(Handle handle) { return CryptReleaseContext(handle, 0); }
    static constexpr BOOL NoneClosed = TRUE;
};
using TCryptProv = TOwned<TCryptProvTraits>;

struct TCryptKeyTraits {
    using Handle = HCRYPTKEY;
    static Handle Empty() { return 0; }
    static BOOL Close(Handle handle) { return CryptDestroyKey(handle); }
    static constexpr BOOL NoneClosed = TRUE;
};
using TCryptKey = TOwned<TCryptKeyTraits>;

struct TCryptHashTraits {
    using Handle = HCRYPTHASH;
    static Handle Empty() { return 0; }
    static BOOL Close(Handle handle) { return CryptDestroyHash(handle); }
    static constexpr BOOL NoneClosed = TRUE;
};
using TCryptHash = TOwned<TCryptHashTraits>;
