// The CA chain: downloaded from the authority's site (a peer on pki-ca.vorsalt.test, with the CRL
// points of the CA test PKI on their hosts) through a client of either back-end, or walked from a
// store of the test's own, into the stores of a scratch HKEY_CURRENT_USER that a second process
// then reads. Windows asks the user to confirm a new root and Wine never does: the user's refusal
// comes through the seam, and the question that follows is a real message box that the test
// answers.
#include <gtest/gtest.h>
#include <memory>
#include "CaHosts.h"
#include "CertApi.h"
#include "CertTestParts.h"
#include "ChainInstall.h"
#include "DebugOutputCapture.h"
#include "DecliningUser.h"
#include "HttpFactory.h"
#include "HttpTypeValue.h"
#include "MessageBoxAnswerer.h"
#include "Sandbox.h"
#include "ScratchStores.h"
#include "SeamOverride.h"
#include "StoreProbe.h"
#include "TextChecks.h"
#include "WineBehaviour.h"

namespace {
const char OpenFailed[] = "InstallActualChainFromSite. Ошибка открытия файла с цепочкой сертификатов.";
const std::string DownloadFailed = "Не удается скачать актуальную цепочку сертификатов. Ошибка:\r\n";
const char Question[] =
    "Cертификат не был установлен в хранилище компьютера.\r\nПопробовать установить сертификат повторно?";
const char GivenUp[] = "Cертификат не был установлен в хранилище компьютера. Операция отменена пользователем.";
const std::string ChainPath = "/aca/rootca3.p7b";
const std::string ChainGet = "pki-ca.vorsalt.test GET /aca/rootca3.p7b";
const std::string RootCrlGet = "pki-ca.vorsalt.test GET /cdp/root3.crl";  // the intermediate's CRL
const std::string SubCrlGet = "pki-ca.vorsalt.test GET /cdp/sub3.crl";    // the end certificate's

std::string ClientPrefix(THttpType type) {
    return type == HttpTypeWinHttp ? "TWinHTTP: " : "THTTP: ";
}

const char ReverseOrder[] = "PKCS#7 stores list certificates in reverse file order";

struct TDownload {
    const char* what;
    std::string site;  // the script of the authority's site; "": nothing listens
    int result;
    std::string text;                   // the start of the error text; "": empty
    TExpected<std::vector<std::string>> requests;  // "host GET target", in the order they came
    TPkiInStores installed;
};

class ChainDownload : public testing::TestWithParam<THttpType> {
protected:
    void SetUp() override {
        if (!InSandbox())
            GTEST_SKIP() << "the authority's and the distribution points' names resolve only inside the test sandbox";
    }

    void Check(const std::vector<TDownload>& downloads) {
        for (const TDownload& d : downloads) {
            SCOPED_TRACE(d.what);
            TScratchStores stores("chain-download", TScratchStores::NoStores);
            ASSERT_TRUE(stores.Active());
            THttpTypeValue backEnd;
            backEnd.SetDword(static_cast<DWORD>(GetParam()));
            std::vector<TCaHosts::TServed> served;
            if (!d.site.empty())
                served.push_back({CaSite, d.site});
            TCaHosts hosts(served);
            ASSERT_TRUE(hosts.Started());
            const std::unique_ptr<TAllHTTP> client = CreateHttpClient(false, 0);
            ASSERT_EQ(client->Connect(CaSite.Name, 0), 0);
            std::string errorText;
            EXPECT_EQ(InstallActualChainFromSite(*client, "aca/rootca3.p7b", &errorText), d.result);
            EXPECT_EQ(Head(errorText, d.text.c_str()), d.text);
            if (d.text.empty()) {
                EXPECT_EQ(errorText, "");
            }
            EXPECT_MEETS(hosts.Requests(), d.requests);
            EXPECT_EQ(PkiSeenByAnotherProcess(stores), d.installed);
        }
    }
};
}  // namespace

TEST_P(ChainDownload, ChainsThatGoIn) {
    const auto site = [](const std::string& chainFile) { return CaSiteServing({ChainPath}, FileReply(chainFile)); };
    const TPkiInStores chain{{"root"}, {"sub"}, {"root"}};
    Check({
        {"the authority's chain: the intermediate into CA after its CRL, the point on the site first",
         site("chain.p7b"),
         0,
         "",
         {ChainGet, RootCrlGet},
         chain},
        {"with the end certificate, each after its CRL",
         site("chain-end.p7b"),
         0,
         "",
         // The file holds root, sub, end in that order.
         ContractOr(std::vector<std::string>{ChainGet, RootCrlGet, SubCrlGet},
                    std::vector<std::string>{ChainGet, SubCrlGet, RootCrlGet}, ReverseOrder),
         {{"root"}, {"end", "sub"}, {"root", "sub"}}},
        {"the root alone", site("root.p7b"), 0, "", {ChainGet}, {{"root"}, {}, {}}},
        {"no certificates", site("empty.p7b"), 0, "", {ChainGet}, {}},
        {"CRLs inside the file stay out", site("chain-crls.p7b"), 0, "", {ChainGet, RootCrlGet}, chain},
        {"no point gives a CRL: the chain goes in all the same",
         Serving(ChainPath, FileReply("chain.p7b")),
         0,
         "",
         {ChainGet, RootCrlGet},
         {{"root"}, {"sub"}, {}}},
        {"a slow reply is waited for",
         CaSiteServing({ChainPath}, LateReply("chain.p7b")),
         0,
         "",
         {ChainGet, RootCrlGet},
         chain},
    });
}

TEST_P(ChainDownload, ChainsThatDoNot) {
    const std::string notLoaded = DownloadFailed + ClientPrefix(GetParam());
    Check({
        {"PEM instead of DER", Serving(ChainPath, FileReply("chain.p7b.pem")), 5, OpenFailed, {ChainGet}, {}},
        {"a truncated file", Serving(ChainPath, FileReply("chain-truncated.p7b")), 5, OpenFailed, {ChainGet}, {}},
        {"an empty body", Serving(ChainPath, TextReply("")), 5, OpenFailed, {ChainGet}, {}},
        {"a certificate instead of a chain", Serving(ChainPath, FileReply("root.der")), 5, OpenFailed, {ChainGet}, {}},
        {"status 404", Serving(ChainPath, StatusReply(404)), 4, notLoaded, {ChainGet}, {}},
        {"status 500", Serving(ChainPath, StatusReply(500)), 4, notLoaded, {ChainGet}, {}},
        {"nothing listening", "", 4, notLoaded, {}, {}},
    });
}

INSTANTIATE_TEST_SUITE_P(BackEnds, ChainDownload, testing::Values(HttpTypeWinInet, HttpTypeWinHttp),
                         [](const testing::TestParamInfo<THttpType>& info) {
                             return std::string(HttpTypeName(static_cast<unsigned>(info.param)));
                         });

namespace {
// The PKI's certificates that a store gives, in its order.
std::vector<std::string> OrderOf(HCERTSTORE store) {
    std::vector<std::string> order;
    for (PCCERT_CONTEXT cert = nullptr; (cert = CertEnumCertificatesInStore(store, cert)) != nullptr;)
        order.push_back(PkiNameOf(cert, {"root", "sub", "end", "nocn-root"}));
    return order;
}

// A store of the test's own that gives the PKI's certificates in the order listed, whichever end
// of its list a memory store adds to (Wine's gives the last added first).
TCertStore SourceOf(const std::vector<const char*>& names) {
    const std::vector<std::string> wanted(names.begin(), names.end());
    for (bool reversed : {false, true}) {
        TCertStore store(CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr));
        for (size_t i = 0; i < names.size(); ++i) {
            const TCertContext cert = CaPkiCert(names[reversed ? names.size() - 1 - i : i]);
            EXPECT_TRUE(cert && CertAddCertificateContextToStore(store.Get(), cert.Get(), CERT_STORE_ADD_ALWAYS, nullptr));
        }
        if (OrderOf(store.Get()) == wanted)
            return store;
    }
    ADD_FAILURE() << "no memory store gives the certificates in that order";
    return TCertStore();
}

bool SelfIssued(PCCERT_CONTEXT cert) {
    return CertCompareCertificateName(X509_ASN_ENCODING, &cert->pCertInfo->Subject, &cert->pCertInfo->Issuer) != FALSE;
}

// The stores of one walk, with the authority's site serving the CRLs.
class ChainWalk : public testing::Test {
protected:
    void SetUp() override {
        if (!InSandbox())
            GTEST_SKIP() << "the distribution points' names resolve only inside the test sandbox";
    }

    // Walks the certificates into fresh stores: the result, the error text and the site's requests.
    int Walk(const std::vector<const char*>& present, const std::vector<const char*>& certs) {
        stores.reset();  // its key and the override of HKEY_CURRENT_USER go before the next ones come
        stores = std::make_unique<TScratchStores>("chain-walk", TScratchStores::NoStores);
        EXPECT_TRUE(stores->Active());
        for (const char* name : present)
            EXPECT_TRUE(stores->AddCert(SelfIssued(CaPkiCert(name).Get()) ? L"Root" : L"CA", name));
        TCaHosts site({{CaSite, CaSiteServing({ChainPath}, StatusReply(404))}});
        EXPECT_TRUE(site.Started());
        const TCertStore source = SourceOf(certs);
        errorText = "stale";
        const int result = InstallCertChainToStore(source.Get(), CaSite.Name, &errorText);
        requests = site.Requests();
        return result;
    }
    TPkiInStores Installed() const { return PkiSeenByAnotherProcess(*stores); }

    std::unique_ptr<TScratchStores> stores;
    std::string errorText;
    std::vector<std::string> requests;
};
}  // namespace

TEST_F(ChainWalk, EachCertificateToItsStore) {
    const struct {
        const char* what;
        std::vector<const char*> present;  // in "Root" or "CA" before the walk
        std::vector<const char*> source;
        std::vector<std::string> requests;
        TPkiInStores installed;
    } walks[] = {
        {"an end certificate without its chain: into CA after its CRL", {}, {"end"}, {SubCrlGet}, {{}, {"end"}, {"sub"}}},
        {"no common name on either side: a root", {}, {"nocn-root"}, {}, {{"nocn-root"}, {}, {}}},
        {"present ones count as added", {"root", "sub"}, {"root", "sub"}, {RootCrlGet}, {{"root"}, {"sub"}, {"root"}}},
    };
    for (const auto& w : walks) {
        SCOPED_TRACE(w.what);
        EXPECT_EQ(Walk(w.present, w.source), 0);
        EXPECT_EQ(requests, w.requests);
        EXPECT_EQ(Installed(), w.installed);
    }
}

TEST_F(ChainWalk, TheUserDeclinesTheRoot) {
    const struct {
        const char* what;
        std::vector<const char*> source;
        std::vector<int> answers;
        int result;
        const char* text;
        TPkiInStores installed;
    } walks[] = {
        {"tried again and accepted: the walk goes on", {"root", "sub"}, {IDYES}, 0, "", {{"root"}, {"sub"}, {"root"}}},
        {"given up: nothing after the root goes in", {"root", "sub"}, {IDNO}, 1223, GivenUp, {}},
        {"declined twice, given up the second time", {"root", "sub"}, {IDYES, IDNO}, 1223, GivenUp, {}},
        {"what went in before the root stays", {"sub", "root"}, {IDNO}, 1223, GivenUp, {{}, {"sub"}, {"root"}}},
    };
    for (const auto& w : walks) {
        SCOPED_TRACE(w.what);
        TDecliningUser user(w.answers);
        EXPECT_EQ(Walk({}, w.source), w.result);
        EXPECT_EQ(errorText, w.text);
        EXPECT_EQ(user.Questions(), std::vector<std::string>(w.answers.size(), Question));
        EXPECT_EQ(user.RootAdds(), static_cast<int>(w.answers.size()) + (w.result == 0 ? 1 : 0));
        EXPECT_EQ(Installed(), w.installed);
    }
    EXPECT_EQ(static_cast<unsigned char>(Question[0]), 0x43);  // a Latin C, as in the error text
}

namespace {
BOOL WINAPI RootRefused(HCERTSTORE store, PCCERT_CONTEXT cert, DWORD disposition, PCCERT_CONTEXT* stored) {
    if (!SelfIssued(cert))
        return RealCalls<TCertApi>().CertAddCertificateContextToStore(store, cert, disposition, stored);
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

BOOL WINAPI IssuedRefused(HCERTSTORE store, PCCERT_CONTEXT cert, DWORD disposition, PCCERT_CONTEXT* stored) {
    if (SelfIssued(cert))
        return RealCalls<TCertApi>().CertAddCertificateContextToStore(store, cert, disposition, stored);
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

template <char First>
HCERTSTORE WINAPI NotOpened(HCRYPTPROV_LEGACY provider, LPCSTR name) {
    if (name[0] != First)
        return RealCalls<TCertApi>().CertOpenSystemStoreA(provider, name);
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}
}  // namespace

TEST_F(ChainWalk, StoresThatRefuse) {
    const struct {
        const char* what;
        void (*arrange)(TCertApi& api);
        std::vector<const char*> source;
        int result;
        std::string text;
        TPkiInStores installed;
    } walks[] = {
        {"Root refuses the root: no question, the walk stops",
         [](TCertApi& api) { api.CertAddCertificateContextToStore = RootRefused; },
         {"sub", "root", "end"},
         3,
         "InstallCertChainToStore. Не удается установить сертификат в хранилище ROOT.\r\nОшибка LE № 0x5:",
         {{}, {"sub"}, {"root"}}},
        {"CA refuses the intermediate after its CRL went in",
         [](TCertApi& api) { api.CertAddCertificateContextToStore = IssuedRefused; },
         {"root", "sub", "end"},
         4,
         "InstallCertChainToStore. Не удается установить сертификат в хранилище CA.\r\nОшибка LE № 0x5:",
         {{"root"}, {}, {"root"}}},
        {"CA does not open",
         [](TCertApi& api) { api.CertOpenSystemStoreA = NotOpened<'C'>; },
         {"root", "sub"},
         1,
         "InstallCertChainToStore. The CA system store did not open.\r\nОшибка LE № 0x5:",
         {}},
        {"Root does not open",
         [](TCertApi& api) { api.CertOpenSystemStoreA = NotOpened<'R'>; },
         {"root", "sub"},
         2,
         "InstallCertChainToStore. The ROOT system store did not open.\r\nОшибка LE № 0x5:",
         {}},
    };
    for (const auto& w : walks) {
        SCOPED_TRACE(w.what);
        TSeamOverride<TCertApi> seam;
        w.arrange(Seam<TCertApi>());
        TMessageBoxAnswerer noQuestion("Внимание!", IDNO);
        EXPECT_EQ(Walk({}, w.source), w.result);
        noQuestion.Stop();
        EXPECT_FALSE(noQuestion.Seen());
        EXPECT_EQ(Head(errorText, w.text.c_str()), w.text);
        EXPECT_EQ(Installed(), w.installed);
    }
}

TEST(ChainInstall, GivingUpOnTheRootFailsTheDownload) {
    if (!InSandbox())
        GTEST_SKIP() << "the authority's name resolves only inside the test sandbox";
    TScratchStores stores("chain-given-up", TScratchStores::NoStores);
    ASSERT_TRUE(stores.Active());
    TCaHosts hosts({{CaSite, CaSiteServing({ChainPath}, FileReply("chain.p7b"))}});
    ASSERT_TRUE(hosts.Started());
    TDecliningUser user({IDNO});
    const std::unique_ptr<TAllHTTP> client = CreateHttpClient(false, 0);
    ASSERT_EQ(client->Connect(CaSite.Name, 0), 0);
    std::string errorText;
    EXPECT_EQ(InstallActualChainFromSite(*client, "aca/rootca3.p7b", &errorText), 6);
    EXPECT_EQ(errorText, GivenUp);
    EXPECT_EQ(user.Questions(), std::vector<std::string>{Question});
    // The file holds root, then sub: the root comes first, its refusal ends the installation.
    EXPECT_MEETS(PkiSeenByAnotherProcess(stores),
                 ContractOr(TPkiInStores{{}, {}, {}}, TPkiInStores{{}, {"sub"}, {"root"}}, ReverseOrder));
}

TEST(ChainInstall, EachStepInTheDebugOutput) {
    if (!InSandbox())
        GTEST_SKIP() << "the authority's name resolves only inside the test sandbox";
    TScratchStores stores("chain-log", TScratchStores::NoStores);
    ASSERT_TRUE(stores.Active());
    TCaHosts hosts({{CaSite, Serving(ChainPath, FileReply("chain.p7b"))}});  // no CRL anywhere
    ASSERT_TRUE(hosts.Started());
    const std::unique_ptr<TAllHTTP> client = CreateHttpClient(false, 0);
    ASSERT_EQ(client->Connect(CaSite.Name, 0), 0);
    TDebugOutputCapture capture;
    std::string errorText;
    ASSERT_EQ(InstallActualChainFromSite(*client, "aca/rootca3.p7b", &errorText), 0);
    EXPECT_EQ(errorText, "");  // the CRL's failure went only to the debug output
    for (const char* line : {"Download actual CA cert chain", "CA cert chain downloaded",
                             "Installing actual CA cert chain", "Actual CA cert chain installed"})
        EXPECT_TRUE(Logged(capture, line)) << line;
}
