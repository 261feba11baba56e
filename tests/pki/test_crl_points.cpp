// The URLs of a certificate's CRL distribution points, judged by the list openssl gives.
#include <gtest/gtest.h>
#include "CertApi.h"
#include "CertTestParts.h"
#include "CrlInstall.h"
#include "SeamOverride.h"
#include "TextChecks.h"
#include "WineBehaviour.h"

namespace {
int SizeQueries = 0;
BOOL WINAPI SecondDecodeFails(DWORD encoding, LPCSTR type, const BYTE* data, DWORD size, DWORD flags, void* info,
                              DWORD* infoSize) {
    if (info != nullptr) {
        SetLastError(static_cast<DWORD>(CRYPT_E_ASN1_EOD));
        return FALSE;
    }
    ++SizeQueries;
    return RealCalls<TCertApi>().CryptDecodeObject(encoding, type, data, size, flags, info, infoSize);
}
}  // namespace

TEST(GetCRLDistributionPoints, UrlsOfTheFullNamesInOrder) {
    for (const char* name : {"sub", "end", "broken"}) {
        SCOPED_TRACE(name);
        TCertContext cert = CaPkiCert(name);
        ASSERT_TRUE(cert);
        std::vector<std::string> urls{"stale"};
        std::string errorText = "untouched";
        EXPECT_EQ(GetCRLDistributionPoints(cert.Get(), urls, &errorText), 0);
        EXPECT_EQ(urls, OpensslPoints(name));
        EXPECT_FALSE(urls.empty());
        EXPECT_EQ(errorText, "untouched");
    }
}

TEST(GetCRLDistributionPoints, NoneAndBrokenExtensions) {
    TCertContext root = CaPkiCert("root"), bad = CaPkiCert("badcdp"), sub = CaPkiCert("sub");
    ASSERT_TRUE(root && bad && sub);
    std::vector<std::string> urls{"stale"};
    std::string errorText = "untouched";
    EXPECT_EQ(GetCRLDistributionPoints(root.Get(), urls, &errorText), 0);
    EXPECT_TRUE(urls.empty());
    EXPECT_EQ(errorText, "untouched");

    const char NotDecoded[] = "GetCRLDistributionPoints. CryptDecodeObject szOID_CRL_DIST_POINTS error.";
    EXPECT_EQ(GetCRLDistributionPoints(bad.Get(), urls, &errorText), 1);
    EXPECT_EQ(Head(errorText, NotDecoded), NotDecoded);

    TSeamOverride<TCertApi> seam;
    seam->LocalAlloc = FailingLocalAlloc;
    EXPECT_EQ(GetCRLDistributionPoints(sub.Get(), urls, &errorText), 2);
    EXPECT_TRUE(StartsWith(errorText, "GetCRLDistributionPoints. LocalAlloc error.\r\nОшибка LE № 0x8")) << errorText;
    seam->LocalAlloc = RealCalls<TCertApi>().LocalAlloc;

    seam->CryptDecodeObject = SecondDecodeFails;
    urls = {"stale"};
    errorText = "untouched";
    EXPECT_EQ(GetCRLDistributionPoints(sub.Get(), urls, &errorText), 0);
    EXPECT_EQ(SizeQueries, 1);
    EXPECT_TRUE(urls.empty());
    EXPECT_EQ(errorText, "untouched");
}

// A point named relative to the CRL issuer has no URL; Windows passes over it and gives the URLs
// of the points around it (OpensslPoints("relname")). Wine's decoder refuses such a point
// (CRYPT_E_ASN1_BADTAG), so the whole extension reads as undecodable there.
TEST(GetCRLDistributionPoints, PointNamedRelativeToTheIssuer) {
    TCertContext cert = CaPkiCert("relname");
    ASSERT_TRUE(cert);
    ASSERT_EQ(OpensslPoints("relname").size(), 2u);
    std::vector<std::string> urls;
    std::string errorText;
    const char RelativeName[] = "Wine's decoder refuses a point named relative to the CRL issuer";
    EXPECT_MEETS(GetCRLDistributionPoints(cert.Get(), urls, &errorText), ContractOr(0, 1, RelativeName));
    EXPECT_MEETS(urls, ContractOr(OpensslPoints("relname"), std::vector<std::string>(), RelativeName));
    // No text on success.
    EXPECT_TRUE(
        Holds(ContractOr("", "GetCRLDistributionPoints. CryptDecodeObject", RelativeName),
              [&](const std::string& head) { return head.empty() ? errorText.empty() : StartsWith(errorText, head); }))
        << errorText;
}
