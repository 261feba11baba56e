// THTTP and proxies: the user's proxy settings from registry fixtures, the logging proxy with
// and without credentials, the process-wide proxy of a session and the proxy information.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "TextChecks.h"
#include "RegistryFixture.h"
#include "WinInetFixture.h"
#include "WinInetOptions.h"
#include "WineBehaviour.h"

namespace {
const char InternetSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
// Each reply closes its connection: Wine would send a later session's proxy request down a
// connection to the origin kept alive by an earlier session.
const char Page[] = R"({"/page.asp": {"body": "origin", "close": true}})";
const char NoCredentialsText[] = "THTTP: Не установлены имя пользователя и пароль для сессиh.";

// The user's proxy settings of this process, on a scratch key.
class TUserProxySettings : public TPredefinedKeyOverride {
public:
    TUserProxySettings() : TPredefinedKeyOverride(HKEY_CURRENT_USER, "wininet") { settings.SetDword("ProxyEnable", 0); }
    void Manual(const std::string& proxy, const std::string& bypass = "") const {
        settings.SetDword("ProxyEnable", 1);
        settings.SetText("ProxyServer", proxy);
        if (!bypass.empty())
            settings.SetText("ProxyOverride", bypass);
    }
    void ScriptAddress(const std::string& url) const { settings.SetText("AutoConfigURL", url); }

private:
    TTestKey settings{HKEY_CURRENT_USER, InternetSettings};  // within the scratch key
};

TPeerOptions PeerAt(const std::string& name, const std::string& host, bool proxy = false,
                    const std::string& proxyAuth = "") {
    TPeerOptions options = PeerWith(name, Page, "", host);
    options.Proxy = proxy;
    options.ProxyAuth = proxyAuth;
    return options;
}

std::string Address(const TTestPeer& peer) {
    return peer.Host() + ":" + std::to_string(peer.Port());
}
std::string PageUrl(const TTestPeer& origin) {
    return "http://" + Address(origin) + "/page.asp";
}
// The options set go on to Wine, except as below.
BOOL WINAPI SetOptionOnceForTheProcess(HINTERNET handle, DWORD option, LPVOID buffer, DWORD length) {
    // Wine: replacing the process-wide proxy frees its never-set credential fields (a crash), and
    // it ignores that proxy anyway; only the first such set in a process reaches Wine.
    static bool processProxySet = false;
    if (option == INTERNET_OPTION_PROXY && handle == nullptr) {
        if (processProxySet)
            return TRUE;
        processProxySet = true;
    }
    return RealCalls<TWinInetApi>().InternetSetOptionA(handle, option, buffer, length);
}
std::vector<DWORD> OptionsOnRequests() {
    std::vector<DWORD> options;
    for (const TOptionSet& set : TOptionRecorder::Sets())
        if (!set.NullHandle &&
            (set.Option == INTERNET_OPTION_PROXY_USERNAME || set.Option == INTERNET_OPTION_PROXY_PASSWORD))
            options.push_back(set.Option);
    return options;
}

int DialogCalls = 0;
DWORD DialogError = 0;
DWORD DialogAnswer = 0;
DWORD WINAPI Dialog(HWND, HINTERNET, DWORD error, DWORD, LPVOID*) {
    ++DialogCalls;
    DialogError = error;
    return DialogAnswer;
}

// What the proxy-information query asked for, and what it answers.
struct TPerConnectionQuery {
    bool NullHandle = false;
    DWORD Option = 0;
    DWORD ListSize = 0;
    bool NullConnection = false;
    std::vector<DWORD> Options;
};
TPerConnectionQuery Query;
DWORD AnsweredFlags = 0;
const char* AnsweredProxy = nullptr;
const char* AnsweredBypass = nullptr;
const char* AnsweredScript = nullptr;

char* GlobalText(const char* text) {
    if (text == nullptr)
        return nullptr;
    char* copy = static_cast<char*>(GlobalAlloc(GPTR, strlen(text) + 1));
    strcpy(copy, text);
    return copy;
}

BOOL WINAPI AnsweringQuery(HINTERNET handle, DWORD option, LPVOID buffer, LPDWORD length) {
    auto* list = static_cast<INTERNET_PER_CONN_OPTION_LISTA*>(buffer);
    Query.NullHandle = handle == nullptr;
    Query.Option = option;
    Query.ListSize = *length;
    Query.NullConnection = list->pszConnection == nullptr;
    Query.Options.clear();
    for (DWORD i = 0; i < list->dwOptionCount; ++i) {
        INTERNET_PER_CONN_OPTIONA& entry = list->pOptions[i];
        Query.Options.push_back(entry.dwOption);
        switch (entry.dwOption) {
        case INTERNET_PER_CONN_FLAGS:
            entry.Value.dwValue = AnsweredFlags;
            break;
        case INTERNET_PER_CONN_PROXY_SERVER:
            entry.Value.pszValue = GlobalText(AnsweredProxy);
            break;
        case INTERNET_PER_CONN_PROXY_BYPASS:
            entry.Value.pszValue = GlobalText(AnsweredBypass);
            break;
        case INTERNET_PER_CONN_AUTOCONFIG_URL:
            entry.Value.pszValue = GlobalText(AnsweredScript);
            break;
        default:
            entry.Value.dwValue = 0;
        }
    }
    return TRUE;
}

BOOL WINAPI QueryFailing(HINTERNET, DWORD, LPVOID, LPDWORD) {
    SetLastError(ERROR_INTERNET_INVALID_OPTION);
    return FALSE;
}

void ResetRecords(DWORD dialogAnswer = ERROR_CANCELLED) {
    TOptionRecorder::Sets().clear();
    DialogCalls = 0;
    DialogError = 0;
    DialogAnswer = dialogAnswer;
}
}  // namespace

TEST(THttpSystemProxy, RequestsFollowTheUserSettings) {
    TTestPeer origin(PeerAt("system-origin", "127.0.0.81"));
    TTestPeer proxy(PeerAt("system-proxy", "127.0.0.82", true));
    ASSERT_TRUE(origin.Started() && proxy.Started());
    struct Case {
        const char* name;
        bool enabled;
        std::string bypass;
        bool throughProxy;
    } cases[] = {
        {"proxy disabled", false, "", false},
        {"proxy", true, "", true},
        {"origin bypassed", true, "127.0.0.81", false},
        {"origin among others bypassed", true, "127.0.0.9;127.0.0.81", false},
        {"another host bypassed", true, "127.0.0.9", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TUserProxySettings settings;
        ASSERT_TRUE(settings.Active());
        if (c.enabled)
            settings.Manual(Address(proxy), c.bypass);
        const size_t proxied = proxy.Requests().size(), direct = origin.Requests().size();
        auto client = ConnectedClient(origin);
        ASSERT_NE(client, nullptr);
        EXPECT_EQ(client->Request("/page.asp", VerbGet, nullptr, 0), 0) << client->GetLastErrorText();
        EXPECT_TRUE(client->ResponseEquals("origin"));
        const auto viaProxy = proxy.Requests();
        const auto atOrigin = origin.Requests();
        ASSERT_EQ(viaProxy.size() - proxied, c.throughProxy ? 1u : 0u);
        ASSERT_EQ(atOrigin.size() - direct, 1u);
        if (c.throughProxy) {
            EXPECT_EQ(viaProxy.back().Target, PageUrl(origin));
        }
        EXPECT_EQ(atOrigin.back().Target, "/page.asp");
    }
}

// A proxy that asks for "user:password" in the user's settings; the options set and the
// password dialog go through the seam.
class THttpAuthProxy : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(origin.Started() && proxy.Started() && settings.Active());
        settings.Manual(Address(proxy));
        seam->InternetErrorDlg = Dialog;
    }
    TTestPeer origin{PeerAt("auth-origin", "127.0.0.83")};
    TTestPeer proxy{PeerAt("auth-proxy", "127.0.0.84", true, "user:password")};
    TUserProxySettings settings;
    TSeamOverride<TWinInetApi> seam;
    TOptionRecorder recorder{seam, SetOptionOnceForTheProcess};
};

TEST_F(THttpAuthProxy, SystemProxyGetsNoCredentialsOfTheClient) {
    struct Case {
        const char* name;
        bool quiet;
        DWORD answer;
        int dialogs;
        size_t requests;  // that reach the proxy
    } cases[] = {
        {"quiet: no dialog", true, ERROR_CANCELLED, 0, 1},
        {"dialog cancelled", false, ERROR_CANCELLED, 1, 1},
        {"dialog asks to retry: the retry is quiet", false, ERROR_INTERNET_FORCE_RETRY, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetRecords(c.answer);
        auto client = ConnectedClient(origin);
        ASSERT_NE(client, nullptr);
        client->SetProxyUser("user");
        client->SetProxyPassword("password");
        client->SetQuiet(c.quiet);
        const size_t before = proxy.Requests().size();
        EXPECT_EQ(client->Request("/page.asp", VerbGet, nullptr, 0), 2);
        EXPECT_TRUE(StartsWith(client->GetLastErrorText(), NoCredentialsText)) << client->GetLastErrorText();
        EXPECT_EQ(client->GetStatusCode(), 407);
        EXPECT_EQ(DialogCalls, c.dialogs);
        if (c.dialogs != 0) {
            EXPECT_EQ(DialogError, static_cast<DWORD>(ERROR_INTERNET_INCORRECT_PASSWORD));
        }
        EXPECT_TRUE(OptionsOnRequests().empty());
        const auto requests = proxy.Requests();
        ASSERT_EQ(requests.size() - before, c.requests);
        for (size_t i = before; i < requests.size(); ++i)
            EXPECT_FALSE(requests[i].HasHeader("Proxy-Authorization"));
    }
    EXPECT_TRUE(origin.Requests().empty());
}

// Wine's sessions take the user's settings and ignore the process-wide proxy (Windows uses it),
// so the named proxy is the one of the user's settings as well.
TEST_F(THttpAuthProxy, NamedProxyGetsTheCredentialsOnItsChallenge) {
    struct Case {
        const char* name;
        std::string password, authorization;
        int result;
        int dialogs;
    } cases[] = {
        {"right password", "password", "Basic dXNlcjpwYXNzd29yZA==", 0, 0},
        {"wrong password", "wrong", "Basic dXNlcjp3cm9uZw==", 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetRecords();
        THTTP client(false, 0);
        client.SetShowDialogs(false);  // the password dialog is shown all the same
        client.SetUseSystemProxy(false);
        client.SetProxy(3, Address(proxy), "");
        client.SetProxyUser("user");
        client.SetProxyPassword(c.password);
        ASSERT_EQ(client.Connect(origin.Host(), origin.Port()), 0) << client.GetLastErrorText();
        client.SetTimeouts(3000);
        const size_t before = proxy.Requests().size();
        EXPECT_EQ(client.Request("/page.asp", VerbGet, nullptr, 0), c.result) << client.GetLastErrorText();
        const std::vector<DWORD> applied = {INTERNET_OPTION_PROXY_PASSWORD, INTERNET_OPTION_PROXY_USERNAME};
        EXPECT_EQ(OptionsOnRequests(), applied);
        EXPECT_EQ(DialogCalls, c.dialogs);
        // WinINet sends the credentials only in answer to the proxy's 407.
        const auto requests = proxy.Requests();
        ASSERT_EQ(requests.size() - before, 2u);
        EXPECT_FALSE(requests[before].HasHeader("Proxy-Authorization"));
        EXPECT_EQ(requests.back().Target, PageUrl(origin));
        EXPECT_EQ(requests.back().Header("Proxy-Authorization"), c.authorization);
        if (c.result == 0) {
            EXPECT_TRUE(client.ResponseEquals("origin"));
        } else {
            EXPECT_EQ(client.GetStatusCode(), 407);
            EXPECT_TRUE(StartsWith(client.GetLastErrorText(), NoCredentialsText)) << client.GetLastErrorText();
        }
    }
}

TEST(THttpProcessProxy, SessionSetsTheProcessProxyWithoutTheSystemProxy) {
    TTestPeer origin(PeerAt("process-origin", "127.0.0.87"));
    TTestPeer proxy(PeerAt("process-proxy", "127.0.0.88", true));
    ASSERT_TRUE(origin.Started() && proxy.Started());
    TUserProxySettings settings;  // no proxy of the user
    ASSERT_TRUE(settings.Active());
    TSeamOverride<TWinInetApi> seam;
    TOptionRecorder recorder(seam, SetOptionOnceForTheProcess);
    struct Case {
        const char* name;
        bool system;
        std::string list, bypass;
        bool set;
        DWORD accessType;
    } cases[] = {
        {"system proxy: nothing set", true, Address(proxy), "", false, 0},
        {"proxy list", false, Address(proxy), "127.0.0.9", true, INTERNET_OPEN_TYPE_PROXY},
        {"empty list: direct", false, "", "127.0.0.9", true, INTERNET_OPEN_TYPE_DIRECT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetRecords();
        THTTP client(false, 0);
        client.SetUseSystemProxy(c.system);
        client.SetProxy(0, c.list, c.bypass);
        ASSERT_EQ(client.Connect(origin.Host(), origin.Port()), 0) << client.GetLastErrorText();
        std::vector<TOptionSet> proxySets;
        for (const TOptionSet& set : recorder.Sets())
            if (set.Option == INTERNET_OPTION_PROXY)
                proxySets.push_back(set);
        ASSERT_EQ(proxySets.size(), c.set ? 1u : 0u);
        if (c.set) {
            EXPECT_TRUE(proxySets[0].NullHandle);
            EXPECT_EQ(proxySets[0].Length, 12u);
            EXPECT_EQ(proxySets[0].AccessType, c.accessType);
            if (c.accessType == INTERNET_OPEN_TYPE_PROXY) {
                EXPECT_EQ(proxySets[0].Proxy, c.list);
                EXPECT_EQ(proxySets[0].Bypass, c.bypass);
            } else {
                EXPECT_TRUE(proxySets[0].NullLists);
            }
        }
        // On Windows the proxy list would take the request through the proxy.
        const size_t proxied = proxy.Requests().size();
        EXPECT_EQ(client.Request("/page.asp", VerbGet, nullptr, 0), 0) << client.GetLastErrorText();
        const size_t throughProxy = c.accessType == INTERNET_OPEN_TYPE_PROXY ? 1 : 0;
        EXPECT_MEETS(proxy.Requests().size(),
                     ContractOr(proxied + throughProxy, proxied,
                                "sessions follow the user's settings only and ignore the process-wide proxy"));
    }
}

TEST(THttpProcessProxy, FailingSetEndsTheConnect) {
    TSeamOverride<TWinInetApi> seam;
    seam->InternetSetOptionA = SetOptionRefusing<INTERNET_OPTION_PROXY, ERROR_INTERNET_INVALID_OPTION>;
    THTTP client(false, 0);
    client.SetUseSystemProxy(false);
    client.SetProxy(3, "127.0.0.9:3128", "");
    EXPECT_EQ(client.Connect("127.0.0.1", 9), 1);
    const std::string text = client.GetLastErrorText();
    EXPECT_TRUE(StartsWith(text, "THTTP: Set INTERNET_OPTION_PROXY failed!")) << text;
    EXPECT_NE(text.find("0x2ee9"), std::string::npos) << text;  // 12009
    EXPECT_EQ(client.GetServer(), "");
}

TEST(THttpProxyInfo, TypeAndTextsFromTheUserSettings) {
    struct Case {
        const char* name;
        bool manual;
        std::string script;
        TExpected<int> typeBits;  // expected set
        std::string proxy, bypass;
    } cases[] = {
        {"no proxy", false, "", PROXY_TYPE_DIRECT, "x", "y"},
        {"manual proxy", true, "", PROXY_TYPE_PROXY, "127.0.0.9:3128", "<local>;127.0.0.5"},
        {"configuration script", false, "http://127.0.0.9/proxy.pac",
         ContractOr(PROXY_TYPE_DIRECT | PROXY_TYPE_AUTO_PROXY_URL, PROXY_TYPE_DIRECT,
                    "the script address of the user's settings is not read"),
         "x", "y"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TUserProxySettings settings;
        ASSERT_TRUE(settings.Active());
        if (c.manual)
            settings.Manual("127.0.0.9:3128", "<local>;127.0.0.5");
        if (!c.script.empty())
            settings.ScriptAddress(c.script);
        THTTP client(false, 0);
        int type = 0;
        std::string proxy = "x", bypass = "y";
        EXPECT_EQ(client.GetProxyInfo(&type, &proxy, &bypass), 0) << client.GetLastErrorText();
        EXPECT_TRUE(Holds(c.typeBits, [&](int bits) { return (type & bits) == bits; })) << type;
        EXPECT_EQ(proxy, c.proxy);
        EXPECT_EQ(bypass, c.bypass);
    }
}

TEST(THttpProxyInfo, AnswersOfTheQuery) {
    TSeamOverride<TWinInetApi> seam;
    seam->InternetQueryOptionA = AnsweringQuery;
    struct Case {
        const char* name;
        DWORD flags;
        const char *proxy, *bypass, *script;
        int type;
        std::string proxyText, bypassText;
    } cases[] = {
        {"flags 0 leave the type", 0, nullptr, nullptr, nullptr, 77, "x", "y"},
        {"no texts leave the outputs", PROXY_TYPE_DIRECT, nullptr, nullptr, nullptr, 1, "x", "y"},
        {"every text", PROXY_TYPE_PROXY | PROXY_TYPE_AUTO_PROXY_URL, "p:1", "b", "http://s/", 6, "p:1", "b"},
        {"empty texts", PROXY_TYPE_PROXY, "", "", "", 2, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AnsweredFlags = c.flags;
        AnsweredProxy = c.proxy;
        AnsweredBypass = c.bypass;
        AnsweredScript = c.script;
        THTTP client(false, 0);
        int type = 77;
        std::string proxy = "x", bypass = "y";
        EXPECT_EQ(client.GetProxyInfo(&type, &proxy, &bypass), 0);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(proxy, c.proxyText);
        EXPECT_EQ(bypass, c.bypassText);
        EXPECT_TRUE(Query.NullHandle);
        EXPECT_EQ(Query.Option, static_cast<DWORD>(INTERNET_OPTION_PER_CONNECTION_OPTION));
        EXPECT_EQ(Query.ListSize, 20u);
        EXPECT_TRUE(Query.NullConnection);
        const std::vector<DWORD> order = {INTERNET_PER_CONN_AUTOCONFIG_URL, INTERNET_PER_CONN_AUTODISCOVERY_FLAGS,
                                          INTERNET_PER_CONN_FLAGS, INTERNET_PER_CONN_PROXY_BYPASS,
                                          INTERNET_PER_CONN_PROXY_SERVER};
        EXPECT_EQ(Query.Options, order);
    }

    THTTP withoutOutputs(false, 0);
    EXPECT_EQ(withoutOutputs.GetProxyInfo(nullptr, nullptr, nullptr), 0);  // texts came back all the same

    seam->InternetQueryOptionA = QueryFailing;
    THTTP client(false, 0);
    int type = 5;
    std::string proxy = "x", bypass = "y";
    EXPECT_EQ(client.GetProxyInfo(&type, &proxy, &bypass), 2);
    EXPECT_EQ(type, 5);
    EXPECT_EQ(proxy, "x");
    EXPECT_TRUE(StartsWith(client.GetLastErrorText(), "GetProxyInfo failed")) << client.GetLastErrorText();
}
