// The personal certificate stores ("My") that an HTTP client opens itself, under registry roots
// of one test's own, and the test PKI's certificates to put into them.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <gtest/gtest.h>
#include <string>
#include "CryptOwned.h"
#include "RegistryFixture.h"
#include "TestFiles.h"

class TCertificate {
public:
    // Also asks for the thumbprint, which the context keeps from then on: with the machine's
    // registry replaced there is no provider left to compute it.
    explicit TCertificate(const char* name) : TCertificate(PkiCertificate(name)) {
        BYTE hash[20];
        DWORD size = sizeof hash;
        if (context != nullptr && CertGetCertificateContextProperty(context, CERT_SHA1_HASH_PROP_ID, hash, &size))
            for (BYTE b : hash) {
                char hex[3];
                wsprintfA(hex, "%02X", b);
                thumbprint += hex;
            }
    }
    explicit TCertificate(PCCERT_CONTEXT owned) : context(owned), owner(owned) {}
    bool Same(PCCERT_CONTEXT other) const {
        return context != nullptr && other != nullptr &&
               CertCompareCertificate(X509_ASN_ENCODING, context->pCertInfo, other->pCertInfo);
    }

    const PCCERT_CONTEXT context;
    std::string thumbprint;

private:
    TCertContext owner;
};

// The key of the certificate in the personal store under a registry root, as the stores keep
// it: named by the SHA-1 thumbprint, the serialized element as "Blob".
inline std::string PersonalKeyPath(const TCertificate& certificate) {
    return "Software\\Microsoft\\SystemCertificates\\My\\Certificates\\" + certificate.thumbprint;
}

// Adds the certificate to the personal store under a registry root.
inline bool InstallPersonal(const TCertificate& certificate, HKEY root) {
    DWORD size = 0;
    if (certificate.thumbprint.empty() || !CertSerializeCertificateStoreElement(certificate.context, 0, nullptr, &size))
        return false;
    std::string blob(size, '\0');
    CertSerializeCertificateStoreElement(certificate.context, 0, reinterpret_cast<BYTE*>(&blob[0]), &size);
    HKEY key = nullptr;
    if (RegCreateKeyA(root, PersonalKeyPath(certificate).c_str(), &key) != ERROR_SUCCESS)
        return false;
    const bool written = RegSetValueExA(key, "Blob", 0, REG_BINARY, reinterpret_cast<const BYTE*>(blob.data()), size) ==
                         ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}

// Whether the personal store under the root holds the certificate in the registry.
inline bool InstalledPersonal(const TCertificate& certificate, HKEY root) {
    HKEY key = nullptr;
    if (RegOpenKeyA(root, PersonalKeyPath(certificate).c_str(), &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Empties both roots' certificate stores; the machine's personal store then exists, empty,
// unless personalKey is false.
inline void ClearStores(bool personalKey = true) {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Microsoft\\SystemCertificates");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\SystemCertificates");
    if (personalKey) {
        HKEY key = nullptr;
        RegCreateKeyA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\SystemCertificates\\My", &key);
        RegCloseKey(key);
    }
}

// Where the certificate is put, which personal store a client opens for SetCert, and what comes
// of it: the store cannot be opened, or it holds the certificate or not.
struct TOwnStoreCase {
    const char* Name;
    bool MachineStore;  // SetCert's flag
    HKEY InstalledIn;   // null: nowhere
    bool PersonalKey;   // the machine's personal store exists in the registry
    bool Opened;
    bool Found;
};

inline const TOwnStoreCase OwnStoreCases[] = {
    {"user store holding it", false, HKEY_CURRENT_USER, true, true, true},
    {"user store without it", false, nullptr, true, true, false},
    {"machine store holding it", true, HKEY_LOCAL_MACHINE, true, true, true},
    {"machine store without it", true, HKEY_CURRENT_USER, true, true, false},
    {"no machine store", true, nullptr, false, false, false},
};

// Both registry roots that a client opens its own stores under, empty for each test, and the
// test PKI's client and server certificates.
class TOwnStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(user.Active() && machine.Active()); }
    // The stores as the case has them, the client certificate put where it says.
    bool Prepare(const TOwnStoreCase& c) {
        ClearStores(c.PersonalKey);
        return c.InstalledIn == nullptr || InstallPersonal(client, c.InstalledIn);
    }
    TCertificate client{"client.der"};
    TCertificate server{"server.der"};
    TPredefinedKeyOverride user{HKEY_CURRENT_USER, "client-cert-user"};
    TPredefinedKeyOverride machine{HKEY_LOCAL_MACHINE, "client-cert-machine"};
};
