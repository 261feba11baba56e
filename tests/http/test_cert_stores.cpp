#include <gtest/gtest.h>
#include <windows.h>
#include <wincrypt.h>
#include <string>
#include "CertStores.h"
#include "CryptOwned.h"
#include "TestFiles.h"

namespace {
TCertStore MemoryStore() {
    return TCertStore(CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr));
}
}  // namespace

TEST(FindCertByIssuerAndSerial, FindsOnlyTheCertificateWithBothIssuerAndSerial) {
    PCCERT_CONTEXT server = PkiCertificate("server.der");
    PCCERT_CONTEXT client = PkiCertificate("client.der");
    PCCERT_CONTEXT selfSigned = PkiCertificate("selfsigned.der");
    ASSERT_TRUE(server && client && selfSigned);
    const TCertStore memory = MemoryStore();
    ASSERT_TRUE(CertAddCertificateContextToStore(memory.Get(), server, CERT_STORE_ADD_ALWAYS, nullptr));
    ASSERT_TRUE(CertAddCertificateContextToStore(memory.Get(), client, CERT_STORE_ADD_ALWAYS, nullptr));

    PCCERT_CONTEXT found = FindCertByIssuerAndSerial(memory.Get(), X509_ASN_ENCODING, client->pCertInfo->Issuer,
                                                     client->pCertInfo->SerialNumber);
    ASSERT_NE(found, nullptr);
    EXPECT_TRUE(CertCompareCertificate(X509_ASN_ENCODING, found->pCertInfo, client->pCertInfo));
    CertFreeCertificateContext(found);

    // Same issuer, other serial; other issuer, serial of a stored one; no store.
    EXPECT_EQ(FindCertByIssuerAndSerial(memory.Get(), 0, client->pCertInfo->Issuer,
                                        selfSigned->pCertInfo->SerialNumber),
              nullptr);
    EXPECT_EQ(FindCertByIssuerAndSerial(memory.Get(), 0, selfSigned->pCertInfo->Issuer,
                                        server->pCertInfo->SerialNumber),
              nullptr);
    EXPECT_EQ(FindCertByIssuerAndSerial(nullptr, 0, client->pCertInfo->Issuer, client->pCertInfo->SerialNumber),
              nullptr);
    for (PCCERT_CONTEXT c : {server, client, selfSigned})
        CertFreeCertificateContext(c);
}

TEST(OpenPersonalStoreFromRegistry, OpensTheRootsPersonalStoreReadOnly) {
    PCCERT_CONTEXT client = PkiCertificate("client.der");
    ASSERT_NE(client, nullptr);
    HCERTSTORE my = CertOpenSystemStoreA(0, "MY");
    ASSERT_NE(my, nullptr);
    ASSERT_TRUE(CertAddCertificateContextToStore(my, client, CERT_STORE_ADD_REPLACE_EXISTING, nullptr));
    CertCloseStore(my, 0);

    std::string error = "kept";
    HCERTSTORE store = OpenPersonalStoreFromRegistry(HKEY_CURRENT_USER, &error);
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(error, "kept");
    PCCERT_CONTEXT found = FindCertByIssuerAndSerial(store, 1, client->pCertInfo->Issuer,
                                                     client->pCertInfo->SerialNumber);
    EXPECT_NE(found, nullptr);
    CertFreeCertificateContext(found);
    CertCloseStore(store, 0);
    CertFreeCertificateContext(client);
}

TEST(OpenPersonalStoreFromRegistry, ARootWithoutTheKeyGivesNullAndTheReason) {
    HKEY empty = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Vorsalt\\EmptyRoot", &empty), ERROR_SUCCESS);
    std::string error;
    EXPECT_EQ(OpenPersonalStoreFromRegistry(empty, &error), nullptr);
    EXPECT_EQ(error.rfind("RegOpenKey failed: ", 0), 0u) << error;
    EXPECT_NE(error.find("0x2"), std::string::npos) << error;  // the file-not-found error
    EXPECT_EQ(OpenPersonalStoreFromRegistry(empty, nullptr), nullptr);
    RegCloseKey(empty);
}
