// THTTP over TLS with the test CA trusted: the body, the server certificate's expiry as openssl
// reads it, and the certificate record each secure send replaces. The CA goes into the current
// user's Root store of a scratch registry key that stands in for HKEY_CURRENT_USER in this
// process only, before anything uses TLS (the chain engine keeps the stores it first opened).
#include <gtest/gtest.h>
#include <windows.h>
#include <wincrypt.h>
#include <cstring>
#include <memory>
#include <vector>
#include "CertDates.h"
#include "RegistryFixture.h"
#include "TestFiles.h"
#include "WinInetFixture.h"
#include "WinInetOptions.h"

namespace {
class TTrustedTestCa : public testing::Environment {
public:
    void SetUp() override {
        user = std::make_unique<TPredefinedKeyOverride>(HKEY_CURRENT_USER, "TrustedCa");
        ASSERT_TRUE(user->Active());
        const std::string der = FileBytes(TestPkiFile("ca.der"));
        ASSERT_FALSE(der.empty());
        HCERTSTORE root = CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, "Root");
        ASSERT_NE(root, nullptr);
        const BOOL added = CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING,
                                                            reinterpret_cast<const BYTE*>(der.data()),
                                                            static_cast<DWORD>(der.size()),
                                                            CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
        CertCloseStore(root, 0);
        ASSERT_TRUE(added);
    }

    void TearDown() override { user.reset(); }

private:
    std::unique_ptr<TPredefinedKeyOverride> user;
};

testing::Environment* const TrustedCa = testing::AddGlobalTestEnvironment(new TTrustedTestCa);

// The texts of each certificate record WinINet gives, swapped for marked copies whose life the
// heap tells.
struct TMarkedText {
    char* Block;
    std::string Mark;
};
std::vector<TMarkedText> MarkedTexts;

BOOL WINAPI QueryMarkingCertTexts(HINTERNET handle, DWORD option, LPVOID buffer, LPDWORD length) {
    const BOOL ok = RealCalls<TWinInetApi>().InternetQueryOptionA(handle, option, buffer, length);
    if (!ok || option != INTERNET_OPTION_SECURITY_CERTIFICATE_STRUCT)
        return ok;
    auto* info = static_cast<INTERNET_CERTIFICATE_INFO*>(buffer);
    for (LPSTR* text : {&info->lpszSubjectInfo, &info->lpszIssuerInfo, &info->lpszProtocolName,
                        &info->lpszSignatureAlgName, &info->lpszEncryptionAlgName}) {
        if (*text == nullptr)
            continue;
        LocalFree(*text);
        const std::string mark = "cert-text-" + std::to_string(MarkedTexts.size());
        *text = static_cast<char*>(LocalAlloc(LPTR, mark.size() + 1));
        std::memcpy(*text, mark.c_str(), mark.size());
        MarkedTexts.push_back({*text, mark});
    }
    return ok;
}

// A marked text still allocated: a live block that holds its mark (a freed one may be reused).
bool Live(const TMarkedText& text) {
    return HeapValidate(GetProcessHeap(), 0, text.Block) && std::strcmp(text.Block, text.Mark.c_str()) == 0;
}

size_t LiveCount(size_t from, size_t to) {
    size_t live = 0;
    for (size_t i = from; i < to; ++i)
        live += Live(MarkedTexts[i]) ? 1 : 0;
    return live;
}
}  // namespace

TEST(THttpTrustedTls, BodyAndExpiryForEachCertificateKind) {
    struct Case {
        const char* mode;
        const char* host;
        int result;
        const char* text;  // start of the error text
    } cases[] = {
        {"server", "127.0.0.1", 0, ""},
        // The request flags tolerate a wrong name and a past date.
        {"wrongname", "127.0.0.52", 0, ""},
        {"expired", "127.0.0.53", 0, ""},
        {"selfsigned", "127.0.0.54", 3,
         "THTTP: Ошибка при отправке запроса. Возможно не установлена цепочка сертификатов Удостоверяющего Центра."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        TTestPeer peer(TlsPeer("wininet-trust", c.mode, c.host));
        ASSERT_TRUE(peer.Started());
        auto client = ConnectedClient(peer, true);
        ASSERT_NE(client, nullptr);
        const int result = client->Request("/check.asp", VerbGet, nullptr, 0);
        const std::string text = client->GetLastErrorText();
        EXPECT_EQ(result, c.result) << text;
        EXPECT_EQ(text.rfind(c.text, 0), 0u) << text;
        FILETIME expiry{};
        if (c.result == 0) {
            EXPECT_TRUE(client->ResponseEquals("secure"));
            EXPECT_EQ(client->GetStatusCode(), 200);
            ASSERT_TRUE(client->GetServerCertExpiry(&expiry));
            EXPECT_EQ(IsoText(expiry), OpensslExpiry(c.mode));
            ASSERT_EQ(peer.Requests().size(), 1u);
            EXPECT_TRUE(peer.Requests()[0].Tls);
        } else {
            EXPECT_FALSE(client->GetServerCertExpiry(&expiry));
            EXPECT_TRUE(peer.Requests().empty());
        }
    }
}

TEST(THttpTrustedTls, EachSecureSendReplacesTheCertificateRecord) {
    TTestPeer secure(TlsPeer("wininet-trust", "server", "127.0.0.1"));
    TPeerOptions plainOptions = PeerWith("wininet-trust-plain", R"({"/check.asp": {"body": "plain"}})");
    plainOptions.Host = "127.0.0.55";  // another server: Connect opens a new connection
    TTestPeer plain(plainOptions);
    ASSERT_TRUE(secure.Started());
    ASSERT_TRUE(plain.Started());
    TSeamOverride<TWinInetApi> seam;
    seam->InternetQueryOptionA = QueryMarkingCertTexts;
    MarkedTexts.clear();
    {
        auto client = ConnectedClient(secure, true);
        ASSERT_NE(client, nullptr);
        ASSERT_EQ(client->Request("/check.asp", VerbGet, nullptr, 0), 0) << client->GetLastErrorText();
        const size_t first = MarkedTexts.size();
        ASSERT_GE(first, 2u);  // subject and issuer at least
        EXPECT_EQ(LiveCount(0, first), first);

        ASSERT_EQ(client->Request("/check.asp", VerbGet, nullptr, 0), 0) << client->GetLastErrorText();
        const size_t second = MarkedTexts.size();
        EXPECT_EQ(second, 2 * first);
        EXPECT_EQ(LiveCount(0, first), 0u);  // the first record's texts are freed
        EXPECT_EQ(LiveCount(first, second), first);
        FILETIME expiry{};
        ASSERT_TRUE(client->GetServerCertExpiry(&expiry));
        EXPECT_EQ(IsoText(expiry), OpensslExpiry("server"));

        // Plain HTTP: no record, and the last secure one is freed.
        ASSERT_EQ(client->SetSecure(false), 0);
        ASSERT_EQ(client->Connect(plain.Host(), plain.Port()), 0);
        ASSERT_EQ(client->Request("/check.asp", VerbGet, nullptr, 0), 0) << client->GetLastErrorText();
        EXPECT_TRUE(client->ResponseEquals("plain"));
        FILETIME untouched{1, 2};
        EXPECT_FALSE(client->GetServerCertExpiry(&untouched));
        EXPECT_EQ(untouched.dwLowDateTime, 1u);
        EXPECT_EQ(LiveCount(first, second), 0u);

        ASSERT_EQ(client->SetSecure(true), 0);
        ASSERT_EQ(client->Connect(secure.Host(), secure.Port()), 0);
        ASSERT_EQ(client->Request("/check.asp", VerbGet, nullptr, 0), 0) << client->GetLastErrorText();
        EXPECT_EQ(LiveCount(second, MarkedTexts.size()), first);
    }
    EXPECT_EQ(LiveCount(0, MarkedTexts.size()), 0u);  // the client frees the record it holds
}

TEST(THttpTrustedTls, UnreadableCertificateRecordGivesTimeZero) {
    TTestPeer peer(TlsPeer("wininet-trust", "server", "127.0.0.1"));
    ASSERT_TRUE(peer.Started());
    TSeamOverride<TWinInetApi> seam;
    seam->InternetQueryOptionA =
        QueryOptionRefusing<INTERNET_OPTION_SECURITY_CERTIFICATE_STRUCT, ERROR_INTERNET_INVALID_OPERATION>;
    auto client = ConnectedClient(peer, true);
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(client->Request("/check.asp", VerbGet, nullptr, 0), 0) << client->GetLastErrorText();
    EXPECT_EQ(client->GetLastErrorText().rfind(" (127.0.0.1:check)", 0), 0u);  // the failure is only logged
    FILETIME expiry{1, 2};
    ASSERT_TRUE(client->GetServerCertExpiry(&expiry));
    EXPECT_EQ(expiry.dwLowDateTime, 0u);
    EXPECT_EQ(expiry.dwHighDateTime, 0u);
}
