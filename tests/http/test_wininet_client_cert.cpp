// THTTP's client certificate: choosing it from a store of the caller's or of its own, giving
// the store up, and setting the certificate on secure requests.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <string>
#include <vector>
#include "TextChecks.h"
#include "DebugOutputCapture.h"
#include "PersonalStores.h"
#include "WinInetFixture.h"
#include "WinInetOptions.h"
#include "WineBehaviour.h"

namespace {
class THttpOwnStore : public TOwnStoreTest {};

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
    for (const TOwnStoreCase& c : OwnStoreCases) {
        SCOPED_TRACE(c.Name);
        ASSERT_TRUE(Prepare(c));
        THTTP http(true, 0);
        const int result = !c.Opened ? 1 : c.Found ? 0 : 2;
        EXPECT_EQ(http.SetCert(client.context, c.MachineStore), result);
        TCertificate chosen(http.GetCert());
        EXPECT_EQ(client.Same(chosen.context), c.Found);
        if (result != 0) {
            const char* text = c.Opened ? "Не найдeн сертификат в хранилище компьюrера!"
                                        : "Не удаетс"
                                          "\x7F"
                                          " открыть хранилище MY";
            EXPECT_TRUE(StartsWith(http.GetLastErrorText(), text)) << http.GetLastErrorText();
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
