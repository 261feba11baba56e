// THTTP's client certificate: choosing it from a store of the caller's or of its own, giving
// the store up, and setting the certificate on secure requests.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <string>
#include <vector>
#include "TextChecks.h"
#include "DebugOutputCapture.h"
#include "RegistryFixture.h"
#include "TestFiles.h"
#include "WinInetFixture.h"
#include "WinInetOptions.h"
#include "WineBehaviour.h"

namespace {
class TCertificate {
public:
    // Also asks for the thumbprint, which the context keeps from then on: with the machine's
    // registry replaced there is no provider left to compute it.
    explicit TCertificate(const char* name) : context(PkiCertificate(name)) {
        BYTE hash[20];
        DWORD size = sizeof hash;
        if (context != nullptr && CertGetCertificateContextProperty(context, CERT_SHA1_HASH_PROP_ID, hash, &size))
            for (BYTE b : hash) {
                char hex[3];
                wsprintfA(hex, "%02X", b);
                thumbprint += hex;
            }
    }
    explicit TCertificate(PCCERT_CONTEXT owned) : context(owned) {}
    ~TCertificate() {
        if (context != nullptr)
            CertFreeCertificateContext(context);
    }
    TCertificate(const TCertificate&) = delete;
    TCertificate& operator=(const TCertificate&) = delete;
    bool Same(PCCERT_CONTEXT other) const {
        return context != nullptr && other != nullptr &&
               CertCompareCertificate(X509_ASN_ENCODING, context->pCertInfo, other->pCertInfo);
    }
    PCCERT_CONTEXT context;
    std::string thumbprint;
};

// Adds the certificate to the personal store ("My") under a registry root, written as the
// stores keep it: a key named by the SHA-1 thumbprint with the serialized element as "Blob".
bool InstallPersonal(const TCertificate& certificate, HKEY root) {
    DWORD size = 0;
    if (certificate.thumbprint.empty() || !CertSerializeCertificateStoreElement(certificate.context, 0, nullptr, &size))
        return false;
    std::string blob(size, '\0');
    CertSerializeCertificateStoreElement(certificate.context, 0, reinterpret_cast<BYTE*>(&blob[0]), &size);
    const std::string path = "Software\\Microsoft\\SystemCertificates\\My\\Certificates\\" + certificate.thumbprint;
    HKEY key = nullptr;
    if (RegCreateKeyA(root, path.c_str(), &key) != ERROR_SUCCESS)
        return false;
    const bool written = RegSetValueExA(key, "Blob", 0, REG_BINARY, reinterpret_cast<const BYTE*>(blob.data()), size) ==
                         ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}

// Both registry roots that the client opens its own stores under, empty for each test.
class THttpOwnStore : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(user.Active() && machine.Active()); }
    TCertificate client{"client.der"};
    TCertificate server{"server.der"};
    TPredefinedKeyOverride user{HKEY_CURRENT_USER, "client-cert-user"};
    TPredefinedKeyOverride machine{HKEY_LOCAL_MACHINE, "client-cert-machine"};
};

int SendCalls = 0;

BOOL WINAPI SendAskingForCertificate(HINTERNET, LPCSTR, DWORD, LPVOID, DWORD) {
    ++SendCalls;
    SetLastError(ERROR_INTERNET_CLIENT_AUTH_CERT_NEEDED);
    return FALSE;
}
}  // namespace

TEST(THttpClientCert, CallersStoreIsSearchedAndForgottenUnclosed) {
    TCertificate client("client.der");
    ASSERT_NE(client.context, nullptr);
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr);
    ASSERT_TRUE(CertAddCertificateContextToStore(store, client.context, CERT_STORE_ADD_ALWAYS, nullptr));
    {
        THTTP http(true, 0);
        http.SetCertStore(store);
        EXPECT_EQ(http.SetCert(client.context, true), 0);  // the store held is searched, not the machine's
        TCertificate chosen(http.GetCert());
        EXPECT_TRUE(client.Same(chosen.context));

        EXPECT_EQ(http.SetCert(nullptr, false), 1);
        EXPECT_TRUE(StartsWith(http.GetLastErrorText(), "Не задаm сертификат для SetCert"));
        TCertificate kept(http.GetCert());
        EXPECT_TRUE(client.Same(kept.context));

        http.ReleaseCertStore();
        EXPECT_EQ(http.GetCert(), nullptr);
    }
    // Still the caller's, and the client keeps none of its certificates open.
    PCCERT_CONTEXT listed = CertEnumCertificatesInStore(store, nullptr);
    EXPECT_TRUE(client.Same(listed));
    CertFreeCertificateContext(listed);
    EXPECT_TRUE(CertCloseStore(store, CERT_CLOSE_STORE_CHECK_FLAG));
}

TEST(THttpClientCert, NotFoundInTheCallersStoreKeepsTheStore) {
    TCertificate client("client.der");
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr);
    THTTP http(true, 0);
    http.SetCertStore(store);
    EXPECT_EQ(http.SetCert(client.context, false), 2);
    EXPECT_TRUE(StartsWith(http.GetLastErrorText(), "Не найдeн сертификат в хранилище компьюrера!"));
    ASSERT_TRUE(CertAddCertificateContextToStore(store, client.context, CERT_STORE_ADD_ALWAYS, nullptr));
    EXPECT_EQ(http.SetCert(client.context, false), 0);
    http.ReleaseCertStore();
    EXPECT_TRUE(CertCloseStore(store, CERT_CLOSE_STORE_CHECK_FLAG));
}

TEST_F(THttpOwnStore, EachStoreTheClientOpens) {
    struct Case {
        const char* name;
        bool machineStore;
        HKEY installedIn;  // null: nowhere
        bool personalKey;  // the machine's personal store exists in the registry
        int result;
        const char* text;
    } cases[] = {
        {"user store holding it", false, HKEY_CURRENT_USER, true, 0, ""},
        {"user store without it", false, nullptr, true, 2, "Не найдeн сертификат в хранилище компьюrера!"},
        {"machine store holding it", true, HKEY_LOCAL_MACHINE, true, 0, ""},
        {"machine store without it", true, HKEY_CURRENT_USER, true, 2, "Не найдeн сертификат в хранилище компьюrера!"},
        {"no machine store", true, nullptr, false, 1,
         "Не удаетс"
         "\x7F"
         " открыть хранилище MY"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Microsoft\\SystemCertificates");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\SystemCertificates");
        if (c.personalKey) {
            HKEY key = nullptr;
            RegCreateKeyA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\SystemCertificates\\My", &key);
            RegCloseKey(key);
        }
        if (c.installedIn != nullptr) {
            ASSERT_TRUE(InstallPersonal(client, c.installedIn));
        }
        THTTP http(true, 0);
        EXPECT_EQ(http.SetCert(client.context, c.machineStore), c.result);
        TCertificate chosen(http.GetCert());
        EXPECT_EQ(chosen.context != nullptr, c.result == 0);
        if (c.result != 0) {
            EXPECT_TRUE(StartsWith(http.GetLastErrorText(), c.text)) << http.GetLastErrorText();
            // The store opened for the search was given up: the next search opens the user's.
            ASSERT_TRUE(InstallPersonal(client, HKEY_CURRENT_USER));
            EXPECT_EQ(http.SetCert(client.context, false), 0);
        }
    }
}

TEST_F(THttpOwnStore, ChoosingAnotherCertificateSearchesTheStoreHeld) {
    ASSERT_TRUE(InstallPersonal(client, HKEY_LOCAL_MACHINE));
    ASSERT_TRUE(InstallPersonal(server, HKEY_CURRENT_USER));
    THTTP http(true, 0);
    ASSERT_EQ(http.SetCert(client.context, true), 0);
    // The machine's store is held, so the user's, which has this one, is not looked at.
    EXPECT_EQ(http.SetCert(server.context, false), 2);
    EXPECT_EQ(http.GetCert(), nullptr);  // the one chosen before is gone as well
    EXPECT_EQ(http.SetCert(client.context, false), 0);
}

TEST_F(THttpOwnStore, OwnStoreIsClosedAndTheCallersCopyStays) {
    ASSERT_TRUE(InstallPersonal(client, HKEY_CURRENT_USER));
    ASSERT_TRUE(InstallPersonal(client, HKEY_LOCAL_MACHINE));
    for (bool machineStore : {false, true}) {
        SCOPED_TRACE(machineStore ? "machine store" : "user store");
        TDebugOutputCapture capture;
        THTTP http(true, 0);
        ASSERT_EQ(http.SetCert(client.context, machineStore), 0);
        TCertificate copy(http.GetCert());
        http.ReleaseCertStore();
        EXPECT_EQ(http.GetCert(), nullptr);
        EXPECT_TRUE(client.Same(copy.context));
        // The caller's copy still holds a context of the store.
        EXPECT_MEETS(Logged(capture, "THTTP.CertCloseStore CERT_CLOSE_STORE_CHECK_FLAG failed"),
                     ContractOr(true, false, "registry stores never report a pending close"));
    }
}

TEST(THttpClientCert, SetOnSecureRequestsOnly) {
    TSeamOverride<TWinInetApi> seam;
    TOptionRecorder recorder(seam);
    seam->HttpSendRequestA = SendAskingForCertificate;
    TCertificate client("client.der");
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr);
    ASSERT_TRUE(CertAddCertificateContextToStore(store, client.context, CERT_STORE_ADD_ALWAYS, nullptr));
    for (bool secure : {true, false}) {
        SCOPED_TRACE(secure ? "secure" : "plain");
        recorder.Sets().clear();
        SendCalls = 0;
        TDebugOutputCapture capture;
        THTTP http(secure, 0);
        http.SetShowDialogs(false);
        http.SetCertStore(store);
        ASSERT_EQ(http.SetCert(client.context, false), 0);
        ASSERT_EQ(http.Connect("127.0.0.1", 9), 0);
        EXPECT_EQ(http.Request("/sign.asp", VerbGet, nullptr, 0), 2);
        EXPECT_TRUE(StartsWith(http.GetLastErrorText(), "THTTP: Требуется клиентская ауrентификация."));
        EXPECT_EQ(SendCalls, 2);  // one resend: with the certificate set again, or unchanged
        std::vector<TOptionSet> certificateSets;
        std::copy_if(recorder.Sets().begin(), recorder.Sets().end(), std::back_inserter(certificateSets),
                     [](const TOptionSet& set) { return set.Option == INTERNET_OPTION_CLIENT_CERT_CONTEXT; });
        TCertificate chosen(http.GetCert());
        ASSERT_EQ(certificateSets.size(), secure ? 2u : 0u);  // on the new request, then for the resend
        for (const TOptionSet& set : certificateSets) {
            EXPECT_EQ(set.Length, 20u);
            EXPECT_EQ(set.Buffer, chosen.context);
        }
        // The failure is only logged.
        EXPECT_MEETS(Logged(capture, "Невозможно установит сертиtикат для сессии"),
                     ContractOr(false, secure, "INTERNET_OPTION_CLIENT_CERT_CONTEXT is refused (12009)"));
        EXPECT_EQ(Logged(capture, "THTTP: Try to Set INTERNET_OPTION_CLIENT_CERT_CONTEXT"), secure);
        http.ReleaseCertStore();
    }
    EXPECT_TRUE(CertCloseStore(store, CERT_CLOSE_STORE_CHECK_FLAG));
}
