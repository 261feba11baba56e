// Check 4 in the run: the run's chain client against the built-in CA web hosts (peers on their
// loopback addresses, the CA test PKI's own site serving its CRLs too), in the stores of a scratch
// HKEY_CURRENT_USER that a second process then reads; the row, the criticality and the
// recommendation the run makes of each result.
#include <gtest/gtest.h>
#include "CaHosts.h"
#include "CheckTable.h"
#include "DecliningUser.h"
#include "Endpoints.h"
#include "HttpFactory.h"
#include "HttpTypeValue.h"
#include "RecordingView.h"
#include "Sandbox.h"
#include "ScratchStores.h"
#include "SeamOverride.h"
#include "StoreProbe.h"
#include "TestRun.h"
#include "TextChecks.h"
#include "WinInetApi.h"

namespace {
const TCaHost CaWebHost{VORSALT_CA_WEB_HOST, VORSALT_CA_WEB_HOST};
const TCaHost AltCaWebHost{VORSALT_ALT_CA_WEB_HOST, VORSALT_ALT_CA_WEB_HOST};
const std::string ChainPath = "/aca/rootca3.p7b", AltChainPath = "/certificates/ca-velta-test.p7b";
const std::string DownloadFailed = "Не удается скачать актуальную цепочку сертификатов. Ошибка:\r\n";
const std::string RootPresent = "\r\nНе удалось проверить наличие актуальной цепочки сертификатов online";
const std::string NoRoot = "\r\nОшибка нахождения корневого сертификата";
const std::string GivenUp = "Cертификат не был установлен в хранилище компьютера. Операция отменена пользователем.";
const std::string ReadDiagnostics = " - Проверьте содержимое диагностических сообщений.";
const std::string Success = "Тестирование сервисов подписи и ЯСК ВАРТО на рабочем месте успешно.";

// Check 4 alone, as the run has it.
std::vector<TCheck> RootCheck() {
    return {BuiltInChecks()[ciRootInstalled]};
}

HINTERNET WINAPI InternetConnectFailing(HINTERNET, LPCSTR, INTERNET_PORT, LPCSTR, LPCSTR, DWORD, DWORD, DWORD_PTR) {
    SetLastError(ERROR_INTERNET_NAME_NOT_RESOLVED);
    return nullptr;
}

struct TRootRun {
    const char* what;
    std::string site;               // the CA web host's script; "": nothing listens there
    std::vector<const char*> roots;  // in "Root" before the run
    std::vector<int> answers;        // the user's to the question after a declined root; none: no refusal
    int image;
    std::string infoHead, note;  // the information text: its start and the note that ends it ("": none)
    TPkiInStores installed;      // of the chain (the roots put there before are not listed)
};

class RootCheckRun : public testing::TestWithParam<THttpType> {
protected:
    void SetUp() override {
        if (!InSandbox())
            GTEST_SKIP() << "the distribution points' names resolve only inside the test sandbox";
    }

    std::string ClientPrefix() const { return GetParam() == HttpTypeWinHttp ? "TWinHTTP: " : "THTTP: "; }

    void Check(const std::vector<TRootRun>& runs) {
        for (const TRootRun& r : runs) {
            SCOPED_TRACE(r.what);
            TScratchStores stores("root-check", TScratchStores::NoStores);
            ASSERT_TRUE(stores.Active());
            for (const char* root : r.roots)
                ASSERT_TRUE(stores.AddCert(L"Root", root));
            THttpTypeValue backEnd;
            backEnd.SetDword(static_cast<DWORD>(GetParam()));
            std::vector<TCaHosts::TServed> served;
            if (!r.site.empty())
                served.push_back({CaWebHost, r.site});
            TCaHosts hosts(served);
            ASSERT_TRUE(hosts.Started());
            std::unique_ptr<TDecliningUser> user;
            if (!r.answers.empty())
                user = std::make_unique<TDecliningUser>(r.answers);

            TRecordingView view;
            TRunState state;
            RunTests(TagRegular, view, state, RootCheck());
            ASSERT_EQ(view.rows.size(), 1u);
            const TRecordedRow& row = view.rows[0];
            const CheckTexts texts = BuiltInChecks()[ciRootInstalled].Texts(SelectEndpoints(TagRegular));
            EXPECT_EQ(row.caption, r.image == 0 ? texts.Running : texts.Result);
            EXPECT_EQ(row.image, r.image);
            EXPECT_EQ(row.id, "4");
            EXPECT_TRUE(StartsWith(row.info, r.infoHead)) << row.info;
            if (r.note.empty()) {
                EXPECT_FALSE(Contains(row.info, RootPresent) || Contains(row.info, NoRoot)) << row.info;
            } else {
                EXPECT_EQ(row.info.substr(row.info.size() - std::min(row.info.size(), r.note.size())), r.note);
            }
            // Recommendation 8 for every result but 0; with nothing else recommended the verdict is
            // its line alone, without icon.
            ASSERT_EQ(view.verdicts.size(), 1u);
            if (r.image == 0)
                EXPECT_EQ(view.verdicts[0], std::make_pair(Success, 64u));
            else
                EXPECT_EQ(view.verdicts[0], std::make_pair(ReadDiagnostics, 0u));
            if (user) {
                EXPECT_EQ(user->Questions().size(), r.answers.size());
            }
            TPkiInStores found = PkiSeenByAnotherProcess(stores);
            found.Root.erase(std::remove_if(found.Root.begin(), found.Root.end(),
                                            [&](const std::string& name) {
                                                return std::count(r.roots.begin(), r.roots.end(), name) != 0;
                                            }),
                             found.Root.end());
            EXPECT_EQ(found, r.installed);
        }
    }
};
}  // namespace

TEST_P(RootCheckRun, EachRowOfTheCheck) {
    const std::string chain = CaSiteServing({ChainPath}, FileReply("chain.p7b"));
    const std::string missing = CaSiteServing({ChainPath}, StatusReply(404));
    const std::string notLoaded = DownloadFailed + ClientPrefix();
    const TPkiInStores installed{{"root"}, {"sub"}, {"root"}};
    Check({
        {"installed", chain, {}, {}, 0, "Установлена", "", installed},
        {"not installed, the root present", missing, {"root"}, {}, 2, notLoaded, RootPresent, {}},
        {"not installed, two roots of the name present",
         missing,
         {"root-2023a", "root-2023b"},
         {},
         2,
         notLoaded,
         RootPresent,
         {}},
        {"not installed, no root of the name", missing, {"name-cs2", "name-lower"}, {}, 1, notLoaded, NoRoot, {}},
        {"nothing listening: not installed, the root present", "", {"root-2015"}, {}, 2, notLoaded, RootPresent, {}},
        {"the user gave up the new root: an older one present",
         chain,
         {"root-2015"},
         {IDNO},
         2,
         GivenUp + RootPresent,
         RootPresent,
         {{}, {"sub"}, {"root"}}},
    });
}

// The connection fails (WinHTTP's for want of a host name; WinINet's, which never fails under Wine,
// through the seam): the client's text alone, and the root present in "ROOT" is not looked for.
TEST_P(RootCheckRun, HostNotReached) {
    TScratchStores stores("root-check-host", TScratchStores::NoStores);
    ASSERT_TRUE(stores.Active());
    ASSERT_TRUE(stores.AddCert(L"Root", "root"));
    THttpTypeValue backEnd;
    backEnd.SetDword(static_cast<DWORD>(GetParam()));
    TSeamOverride<TWinInetApi> winInet;
    winInet->InternetConnectA = InternetConnectFailing;
    const std::unique_ptr<TAllHTTP> client = CreateHttpClient(false, 0);
    std::string info = "stale";
    EXPECT_EQ(CheckRootInstalled(GetParam() == HttpTypeWinHttp ? "" : VORSALT_CA_WEB_HOST, *client, "aca/rootca3.p7b",
                                 info),
              1);
    EXPECT_EQ(info, client->GetLastErrorText());
    EXPECT_TRUE(StartsWith(info, ClientPrefix())) << info;
}

INSTANTIATE_TEST_SUITE_P(BackEnds, RootCheckRun, testing::Values(HttpTypeWinInet, HttpTypeWinHttp),
                         [](const testing::TestParamInfo<THttpType>& info) {
                             return std::string(HttpTypeName(static_cast<unsigned>(info.param)));
                         });

TEST(RootCheck, EachTagItsHostAndPath) {
    if (!InSandbox())
        GTEST_SKIP() << "the distribution points' names resolve only inside the test sandbox";
    // Each host serves the chain at its own path only.
    const std::string web = CaSiteServing({ChainPath}, FileReply("chain.p7b"));
    const std::string alt = Serving(AltChainPath, FileReply("chain.p7b"));
    const std::string crl = std::string(CaSite.Name) + " GET /cdp/root3.crl";
    const struct {
        int tag;
        std::vector<std::string> requests;
    } tags[] = {
        {TagRegular, {std::string(VORSALT_CA_WEB_HOST) + " GET " + ChainPath, crl}},
        {TagTraining, {std::string(VORSALT_CA_WEB_HOST) + " GET " + ChainPath, crl}},
        {TagAlternative, {std::string(VORSALT_ALT_CA_WEB_HOST) + " GET " + AltChainPath, crl}},
    };
    for (const auto& t : tags) {
        SCOPED_TRACE(t.tag);
        TScratchStores stores("root-check-tag", TScratchStores::NoStores);
        ASSERT_TRUE(stores.Active());
        TCaHosts hosts({{CaWebHost, web}, {AltCaWebHost, alt}});
        ASSERT_TRUE(hosts.Started());
        TRecordingView view;
        TRunState state;
        RunTests(t.tag, view, state, RootCheck());
        ASSERT_EQ(view.rows.size(), 1u);
        EXPECT_EQ(view.rows[0].image, 0) << view.rows[0].info;
        EXPECT_EQ(hosts.Requests(), t.requests);
        EXPECT_EQ(PkiSeenByAnotherProcess(stores), (TPkiInStores{{"root"}, {"sub"}, {"root"}}));
    }
    EXPECT_EQ(BuiltInChecks()[ciRootInstalled].Level, TCriticality::NotCritical);
}

TEST(RootCheck, OfflineSearchAppendsItsNote) {
    const struct {
        std::vector<const char*> roots;
        int result;
        std::string note;
    } cases[] = {
        {{"root"}, 100, RootPresent},
        {{"root-2023a", "root-2023b"}, 100, RootPresent},
        {{"root-2015", "name-cs30"}, 100, RootPresent},
        {{"name-cs2", "name-cs30", "name-lower"}, 1, NoRoot},
        {{}, 1, NoRoot},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.roots.size());
        TScratchStores stores("root-offline", TScratchStores::NoStores);
        ASSERT_TRUE(stores.Active());
        for (const char* root : c.roots)
            ASSERT_TRUE(stores.AddCert(L"Root", root));
        std::string info = "why";
        EXPECT_EQ(CheckRootOffline(info), c.result);
        EXPECT_EQ(info, "why" + c.note);
    }
}
