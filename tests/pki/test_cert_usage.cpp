// The enhanced key usage test: a prefix of the text of any identifier.
#include <gtest/gtest.h>
#include "CertApi.h"
#include "CertTestParts.h"
#include "CertUsage.h"
#include "SeamOverride.h"

namespace {
const char SignatureUsage[] = "1.2.643.3.37.2.1.1.2";  // the one the key-period check asks for
}  // namespace

TEST(CertHasEnhancedKeyUsage, AnIdentifierBeginsWithThePrefix) {
    const struct {
        const char* cert;  // its identifiers as the PKI script gives them
        const char* prefix;
        bool found;
    } cases[] = {
        {"end", SignatureUsage, true},  // clientAuth, emailProtection, 1.2.643.3.37.2.1.1.2
        {"end", "1.3.6.1.5.5.7.3.4", true},
        {"end", "1.3.6.1.5.5.7.3", true},
        {"end", "1.3.6.1.5.5.7.3.1", false},
        {"end", "", true},
        {"eku-longer", SignatureUsage, true},    // only 1.2.643.3.37.2.1.1.25
        {"eku-shorter", SignatureUsage, false},  // only 1.2.643.3.37.2.1.1
        {"eku-shorter", "1.2.643.3.37.2.1.1", true},
        {"noeku", SignatureUsage, false},  // no extension: no identifiers
        {"noeku", "", false},
        {"root", SignatureUsage, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.cert) + " " + c.prefix);
        TCertContext cert = CaPkiCert(c.cert);
        ASSERT_TRUE(cert);
        EXPECT_EQ(CertHasEnhancedKeyUsage(cert.Get(), c.prefix), c.found);
    }
}

TEST(CertHasEnhancedKeyUsage, NoMemoryForTheUsageList) {
    TCertContext cert = CaPkiCert("end");
    ASSERT_TRUE(cert);
    TSeamOverride<TCertApi> seam;
    seam->LocalAlloc = FailingLocalAlloc;
    EXPECT_FALSE(CertHasEnhancedKeyUsage(cert.Get(), SignatureUsage));
}
