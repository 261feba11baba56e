// CRL installation into the "CA" store of a scratch HKEY_CURRENT_USER (the root "ЦС_3" in "Root",
// the intermediate in "CA"), with the distribution points played by peers: which points are
// asked and in what order, and what a second process then finds in "CA", matched with openssl's
// view of each CRL.
#include <gtest/gtest.h>
#include <algorithm>
#include "CertApi.h"
#include "CertTestParts.h"
#include "CaHosts.h"
#include "CrlInstall.h"
#include "DebugOutputCapture.h"
#include "Sandbox.h"
#include "ScratchStores.h"
#include "SeamOverride.h"
#include "StoreProbe.h"
#include "TextChecks.h"
#include "WineBehaviour.h"

namespace {
const char NoIssuer[] =
    "MyGetCertIssuer. Не удается найти сертификат издателя.  Попробуйте установить актуальную цепочку сертификатов.";

struct TInstall {
    const char* what;
    const char* cert;
    std::string site;
    std::vector<TCaHosts::TServed> served;
    std::vector<const char*> storeHolds;  // CRLs in "CA" before the call
    int result;
    std::string text;                   // the error text after the call ("" also for result 0)
    std::vector<std::string> requests;  // "host GET target", in the order they came
    TExpected<std::vector<const char*>> inCa;  // the CRLs that a second process finds in "CA", in any order
};

class CrlInstall : public testing::Test {
protected:
    void SetUp() override {
        if (!InSandbox())
            GTEST_SKIP() << "the distribution points' names resolve only inside the test sandbox";
    }

    void Check(const std::vector<TInstall>& installs) {
        for (const TInstall& c : installs) {
            SCOPED_TRACE(c.what);
            TScratchStores stores("crl-install");
            ASSERT_TRUE(stores.Active());
            for (const char* crl : c.storeHolds)
                ASSERT_TRUE(stores.AddCrl(L"CA", crl));
            TCaHosts hosts(c.served);
            ASSERT_TRUE(hosts.Started());
            TCertContext cert = CaPkiCert(c.cert);
            ASSERT_TRUE(cert);
            std::string errorText = "stale";
            EXPECT_EQ(InstallCRLFromSite(c.site, cert.Get(), &errorText), c.result);
            EXPECT_EQ(Head(errorText, c.text.c_str()), c.text);
            if (c.text.empty()) {
                EXPECT_EQ(errorText, "");
            }
            EXPECT_EQ(hosts.Requests(), c.requests);
            const TStoreView ca = StoreSeenByAnotherProcess(stores, "CA");
            EXPECT_TRUE(ca.Opened) << ca.Output;
            std::vector<std::string> found = ca.Crls;  // in any order
            std::sort(found.begin(), found.end());
            EXPECT_TRUE(Holds(c.inCa, [&](const std::vector<const char*>& crls) {
                std::vector<std::string> expected;
                for (const char* crl : crls)
                    expected.push_back(OpensslCrlView(crl));
                std::sort(expected.begin(), expected.end());
                return found == expected;
            })) << ca.Output;
        }
    }
};

// The end certificate's points, in order: a skipped file on crl-a, an https point on crl-b, the
// authority's own site.
const std::string EndSkipped = "cdp/ca-kqmr(4).crl", SubCrlPath = "/cdp/sub3.crl";
const std::string EndAtB = "crl-b.vorsalt.test GET /cdp/sub3.crl", EndAtSite = "pki-ca.vorsalt.test GET /cdp/sub3.crl";
// The intermediate's: crl-a, crl-b, crl-c, the authority's own site.
const std::string RootCrlPath = "/cdp/root3.crl";
std::string RootAt(const TCaHost& host) {
    return std::string(host.Name) + " GET " + RootCrlPath;
}
}  // namespace

TEST_F(CrlInstall, ThePointOnTheAuthoritysSiteFirst) {
    const std::string sub = FileReply("sub.crl"), root = FileReply("root.crl");
    Check({
        {"the end certificate, its site last: asked first and alone",
         "end",
         "pki-ca.vorsalt.test",
         {{CaSite, Serving(SubCrlPath, sub)}, {CrlA, Serving(SubCrlPath, sub)}, {CrlB, Serving(SubCrlPath, sub)}},
         {},
         0,
         "",
         {EndAtSite},
         {"sub"}},
        {"no site: in order, the skipped file never asked, nothing after the CRL",
         "end",
         "",
         {{CaSite, Serving(SubCrlPath, sub)}, {CrlA, Serving("/" + EndSkipped, sub)}, {CrlB, Serving(SubCrlPath, sub)}},
         {},
         0,
         "",
         {EndAtB},
         {"sub"}},
        {"a site that no point names: in order",
         "end",
         "elsewhere.vorsalt.test",
         {{CaSite, Serving(SubCrlPath, sub)}, {CrlB, Serving(SubCrlPath, sub)}},
         {},
         0,
         "",
         {EndAtB},
         {"sub"}},
        {"the intermediate: its site swapped with the first point, which comes last",
         "sub",
         "pki-ca.vorsalt.test",
         {{CaSite, Serving(RootCrlPath, StatusReply(404))},
          {CrlB, Serving(RootCrlPath, FileReply("root.crl.pem"))},
          {CrlC, Serving(RootCrlPath, TextReply("<html><body>CRL</body></html>"))},
          {CrlA, Serving(RootCrlPath, root)}},
         {},
         0,
         "",
         {RootAt(CaSite), RootAt(CrlB), RootAt(CrlC), RootAt(CrlA)},
         {"root"}},
    });
}

TEST_F(CrlInstall, NoPointGivesACrl) {
    Check({
        {"the last text is the skipped file's",
         "end",
         "pki-ca.vorsalt.test",
         {{CaSite, Serving(SubCrlPath, StatusReply(404))}, {CrlB, Serving(SubCrlPath, TextReply(""))}},
         {},
         5,
         "CRL " + EndSkipped + " игнорирован.",
         {EndAtSite, EndAtB},
         {}},
        {"the last text is the empty body's",
         "end",
         "",
         {{CaSite, Serving(SubCrlPath, TextReply(""))}},
         {},
         5,
         "GetCRLFromURL. Ошибка создания контекста CRL.",
         {EndAtSite},
         {}},
        {"no server at all", "sub", "", {}, {}, 5, "TWinHTTP: ", {}, {}},
    });
}

TEST_F(CrlInstall, CrlsTheStoreHoldsAlready) {
    const std::vector<TCaHosts::TServed> older = {{CaSite, Serving(SubCrlPath, FileReply("sub.crl"))}};
    const std::vector<TCaHosts::TServed> newer = {{CaSite, Serving(SubCrlPath, FileReply("sub-newer.crl"))}};
    Check({
        {"the same CRL", "end", "pki-ca.vorsalt.test", older, {"sub"}, 0, "", {EndAtSite}, {"sub"}},
        {"an older CRL than the store's",
         "end",
         "pki-ca.vorsalt.test",
         older,
         {"sub-newer"},
         0,
         "",
         {EndAtSite},
         {"sub-newer"}},
        {"a newer CRL replaces the store's",
         "end",
         "pki-ca.vorsalt.test",
         newer,
         {"sub"},
         0,
         "",
         {EndAtSite},
         ContractOr(std::vector<const char*>{"sub-newer"}, std::vector<const char*>{"sub"},
                    "a CRL that replaces an older one in a system store stays in memory, the registry keeps the "
                    "older")},
        {"another issuer's CRL stays",
         "end",
         "pki-ca.vorsalt.test",
         newer,
         {"root"},
         0,
         "",
         {EndAtSite},
         {"root", "sub-newer"}},
    });
}

TEST_F(CrlInstall, CertificatesWithoutPointsOrIssuer) {
    Check({
        {"no distribution points: nothing asked, the text emptied",
         "root",
         "pki-ca.vorsalt.test",
         {},
         {},
         0,
         "",
         {},
         {}},
        {"a broken chain: the CRL stays, the issuer is not found",
         "broken",
         "",
         {{CrlC, Serving("/cdp/orphan.crl", FileReply("orphan.crl"))}},
         {},
         5,
         NoIssuer,
         {"crl-c.vorsalt.test GET /cdp/orphan.crl"},
         {"orphan"}},
        {"points that do not decode",
         "badcdp",
         "",
         {},
         {},
         3,
         "GetCRLDistributionPoints. CryptDecodeObject szOID_CRL_DIST_POINTS error.",
         {},
         {}},
    });
}

TEST_F(CrlInstall, EachTryInTheDebugOutput) {
    TScratchStores stores("crl-install");
    ASSERT_TRUE(stores.Active());
    TCaHosts hosts({{CrlB, Serving(SubCrlPath, FileReply("sub.crl"))}});
    ASSERT_TRUE(hosts.Started());
    TCertContext end = CaPkiCert("end");
    ASSERT_TRUE(end);
    TDebugOutputCapture capture;
    std::string errorText;
    ASSERT_EQ(InstallCRLFromSite("", end.Get(), &errorText), 0);
    EXPECT_EQ(errorText, "");  // the skipped file's text went only to the debug output
    const std::vector<std::string> points = OpensslPoints("end");
    EXPECT_TRUE(Logged(capture, "Try to download crl from: " + points[0]));
    EXPECT_TRUE(Logged(capture, "CRL " + EndSkipped + " игнорирован."));
    EXPECT_TRUE(Logged(capture, "Try to download crl from: " + points[1]));
    EXPECT_FALSE(Logged(capture, "Try to download crl from: " + points[2]));
}

TEST_F(CrlInstall, FailuresBeforeAnyDownload) {
    TCertContext end = CaPkiCert("end");
    ASSERT_TRUE(end);
    {
        TScratchStores noStores("crl-install", TScratchStores::NoStores);
        ASSERT_TRUE(noStores.Active());
        std::string errorText;
        EXPECT_EQ(InstallCRLFromSite("", end.Get(), &errorText), 1);
        EXPECT_TRUE(StartsWith(errorText, "InstallCRLFromSite.Opening CA HKCU store failed.\r\nОшибка LE № 0x2:"))
            << errorText;
        EXPECT_FALSE(StoreSeenByAnotherProcess(noStores, "CA").Opened);  // opened, not made
    }
    TScratchStores stores("crl-install");
    ASSERT_TRUE(stores.Active());
    const char NotDuplicated[] = "InstallCRLFromSite.CertDuplicateCertContext failed.";
    std::string errorText;
    EXPECT_EQ(InstallCRLFromSite("", nullptr, &errorText), 2);
    EXPECT_EQ(Head(errorText, NotDuplicated), NotDuplicated);

    TSeamOverride<TCertApi> seam;
    seam->CertDuplicateCertificateContext = NoDuplicate;
    errorText.clear();
    EXPECT_EQ(InstallCRLFromSite("", end.Get(), &errorText), 2);
    EXPECT_EQ(Head(errorText, NotDuplicated), NotDuplicated);
}

namespace {
BOOL WINAPI RefusedCrl(HCERTSTORE, PCCRL_CONTEXT, DWORD, PCCRL_CONTEXT*) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}
}  // namespace

TEST_F(CrlInstall, AStoreThatRefusesTheCrl) {
    TScratchStores stores("crl-install");
    ASSERT_TRUE(stores.Active());
    TCaHosts hosts(
        {{CaSite, Serving(SubCrlPath, FileReply("sub.crl"))}, {CrlB, Serving(SubCrlPath, FileReply("sub.crl"))}});
    ASSERT_TRUE(hosts.Started());
    TCertContext end = CaPkiCert("end");
    ASSERT_TRUE(end);
    TSeamOverride<TCertApi> seam;
    seam->CertAddCRLContextToStore = RefusedCrl;
    std::string errorText;
    EXPECT_EQ(InstallCRLFromSite("pki-ca.vorsalt.test", end.Get(), &errorText), 3);
    EXPECT_TRUE(StartsWith(errorText, "InstallCRLFromSite. HKCU: CertAddCRLContextToStore failed.\r\nОшибка LE № 0x5:"))
        << errorText;
    EXPECT_EQ(hosts.Requests(), std::vector<std::string>{EndAtSite});  // no other point after the refusal
    EXPECT_TRUE(StoreSeenByAnotherProcess(stores, "CA").Crls.empty());
}
