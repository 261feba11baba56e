// The newest certificate of a common name in a system store of a scratch HKEY_CURRENT_USER
// filled with roots of the CA test PKI named "ЦС_3" and near names.
#include <gtest/gtest.h>
#include <vector>
#include "CertSearch.h"
#include "CertTestParts.h"
#include "CertText.h"
#include "ScratchStores.h"

namespace {
std::string NameOf(PCCERT_CONTEXT cert) {
    return PkiNameOf(cert,
                     {"root", "root-2015", "root-2023a", "root-2023b", "name-cs2", "name-cs30", "name-lower", "sub"});
}

// Of the two roots with the same NotBefore, the one the store gives first.
std::string FirstOfTheTwins() {
    HCERTSTORE store = CertOpenSystemStoreA(0, "ROOT");
    std::string first;
    for (PCCERT_CONTEXT cert = nullptr; first.empty() && (cert = CertEnumCertificatesInStore(store, cert));) {
        const std::string name = NameOf(cert);
        if (name == "root-2023a" || name == "root-2023b") {
            first = name;
            CertFreeCertificateContext(cert);
        }
    }
    CertCloseStore(store, 0);
    return first;
}
}  // namespace

TEST(FindNewestCertByCN, LatestNotBeforeOfTheName) {
    const struct {
        std::vector<const char*> roots;  // in the order they are added to "ROOT"
        const char* found;               // "" for none; "twin" for the first enumerated twin
    } cases[] = {
        {{"root"}, "root"},
        {{"root", "root-2015"}, "root"},
        {{"root-2015", "root"}, "root"},
        {{"root-2023a", "root", "root-2015"}, "root-2023a"},
        {{"root-2015", "name-cs2", "name-cs30", "name-lower"}, "root-2015"},  // near names are others
        {{"name-cs2", "name-cs30", "name-lower"}, ""},
        {{}, ""},
        {{"root", "root-2023a", "root-2023b"}, "twin"},
        {{"root-2023b", "root-2023a"}, "twin"},
    };
    for (const auto& c : cases) {
        TScratchStores stores("cert-search", TScratchStores::NoStores);
        ASSERT_TRUE(stores.Active());
        std::string added;
        for (const char* root : c.roots) {
            ASSERT_TRUE(stores.AddCert(L"Root", root));
            added += std::string(root) + " ";
        }
        SCOPED_TRACE(added);
        const std::string expected = std::string(c.found) == "twin" ? FirstOfTheTwins() : c.found;
        TCertContext found(FindNewestCertByCN("ROOT", "ЦС_3"));
        EXPECT_EQ(NameOf(found.Get()), expected);
    }
}

TEST(FindNewestCertByCN, OtherStoresAndNames) {
    TScratchStores stores("cert-search");
    ASSERT_TRUE(stores.Active());
    TCertContext sub(FindNewestCertByCN("CA", "Подчинённый ЦС_3"));
    EXPECT_EQ(NameOf(sub.Get()), "sub");
    EXPECT_EQ(FindNewestCertByCN("CA", "ЦС_3"), nullptr);
    EXPECT_EQ(FindNewestCertByCN("ROOT", "ЦС_"), nullptr);  // the whole name, not a prefix
    EXPECT_EQ(FindNewestCertByCN("VorsaltEmpty", "ЦС_3"), nullptr);
    EXPECT_EQ(FindNewestCertByCN("ROOT", nullptr), nullptr);
}
