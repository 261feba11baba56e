// TWinHTTP's client certificate: choosing it in a store of the caller's or of its own, looking
// it up again for each request, the option set on the request and its refusal, and giving the
// store up.
#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include <string>
#include "CryptOwned.h"
#include "PersonalStores.h"
#include "SeamOverride.h"
#include "TextChecks.h"
#include "WinHttpApi.h"
#include "WineBehaviour.h"
#include "class_http_winhttp.h"

namespace {
const char NotFound[] = "Не найден сертификат в хранилище компьютера!";
const char Refused[] = "Не возможно установить сертификат для сессии.";

// The sends and the client-certificate options that the client hands to WinHTTP. Sends never
// reach the network: the first AskFor ones fail as a server asking for a certificate, the rest
// as a closed port. A refused option fails as Wine's does on a request that is not secure.
int AskFor = 0;
int Sends = 0;
bool RefuseCertificate = false;
int CertificateSets = 0;
const void* CertificateSet = nullptr;
DWORD CertificateSetLength = 0;

BOOL WINAPI ScriptedSend(HINTERNET, LPCWSTR, DWORD, LPVOID, DWORD, DWORD, DWORD_PTR) {
    SetLastError(Sends++ < AskFor ? ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED : ERROR_WINHTTP_CANNOT_CONNECT);
    return FALSE;
}

BOOL WINAPI WatchedOption(HINTERNET handle, DWORD option, LPVOID buffer, DWORD length) {
    if (option != WINHTTP_OPTION_CLIENT_CERT_CONTEXT)
        return RealCalls<TWinHttpApi>().WinHttpSetOption(handle, option, buffer, length);
    ++CertificateSets;
    CertificateSet = buffer;
    CertificateSetLength = length;
    if (RefuseCertificate) {
        SetLastError(ERROR_WINHTTP_INCORRECT_HANDLE_STATE);
        return FALSE;
    }
    return RealCalls<TWinHttpApi>().WinHttpSetOption(handle, option, buffer, length);
}

// The client connected (WinHTTP connects lazily) to a loopback port nobody answers on.
void ConnectNowhere(TWinHTTP& client) {
    ASSERT_EQ(client.Connect("127.0.0.1", 9), 0) << client.GetLastErrorText();
}

std::string HeldText(TWinHTTP& client) {
    const std::string text = client.GetLastErrorText();
    return text.substr(0, text.find(" (" + client.GetServer() + ":"));
}

class TWinHttpOwnStore : public TOwnStoreTest {};
}  // namespace

// Only the issuer and serial number are kept: each request looks the certificate up again, sets
// it (or, with none chosen, no certificate) on the secure request, before the send or once the
// server asks for one.
TEST(TWinHttpClientCert, LookedUpAndSetForEachRequest) {
    TSeamOverride<TWinHttpApi> seam;
    seam->WinHttpSendRequest = ScriptedSend;
    seam->WinHttpSetOption = WatchedOption;
    TCertificate client("client.der");
    TCertificate server("server.der");
    ASSERT_TRUE(client.context && server.context);
    const TCertStore store(CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr));
    ASSERT_TRUE(CertAddCertificateContextToStore(store.Get(), client.context, CERT_STORE_ADD_ALWAYS, nullptr));
    const std::string sendFailed = "TWinHTTP: Ошибка при отправке запроса.\r\nsent=0recived=0\r\nОшибка LE № 0x2efd";
    const std::string refusedHere = std::string(Refused) + "\r\nОшибка LE № 0x2ef3";
    const std::string refusedNone = std::string(Refused) +
                                    "\r\nТребуется ОС не ниже XP SP3 или Win2003 Server SP2.\r\nОшибка LE № 0x2ef3";
    enum TChosen { None, InStore, NotInStore };
    enum TSet { Nothing, TheCertificate, NoCertificate };
    struct Case {
        const char* name;
        TChosen chosen;
        bool beforeSend;  // SetSendClientCert
        bool refuse;
        int askFor;
        int result;
        int sends;
        std::string text;
        TSet set;
    } cases[] = {
        {"chosen, set before the send", InStore, true, false, 0, 7, 1, sendFailed, TheCertificate},
        {"none chosen, none set before the send", None, true, false, 0, 7, 1, sendFailed, NoCertificate},
        {"chosen, set once the server asks", InStore, false, false, 1, 7, 2, sendFailed, TheCertificate},
        {"chosen, not asked for", InStore, false, false, 0, 7, 1, sendFailed, Nothing},
        {"not in the store, before the send", NotInStore, true, false, 0, 2, 0, NotFound, Nothing},
        {"not in the store, once the server asks", NotInStore, false, false, 1, 4, 1, NotFound, Nothing},
        {"refused before the send", InStore, true, true, 0, 2, 0, refusedHere, TheCertificate},
        {"refused once the server asks", InStore, false, true, 1, 4, 1, refusedHere, TheCertificate},
        {"none refused once the server asks", None, false, true, 1, 4, 1, refusedNone, NoCertificate},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AskFor = c.askFor;
        RefuseCertificate = c.refuse;
        Sends = CertificateSets = 0;
        CertificateSet = nullptr;
        CertificateSetLength = 0;
        TWinHTTP http(true);
        http.SetCertStore(store.Get());
        if (c.chosen != None) {
            ASSERT_EQ(http.SetCert(c.chosen == InStore ? client.context : server.context, false), 0);
        }
        http.SetSendClientCert(c.beforeSend);
        ConnectNowhere(http);
        EXPECT_EQ(http.Request("/sign.asp", VerbGet, nullptr, 0), c.result);
        EXPECT_EQ(Sends, c.sends);
        EXPECT_TRUE(StartsWith(HeldText(http), c.text)) << HeldText(http);
        EXPECT_EQ(http.GetStatusCode(), 0);
        EXPECT_EQ(CertificateSets, c.set == Nothing ? 0 : 1);
        if (c.set == TheCertificate) {
            EXPECT_TRUE(client.Same(static_cast<PCCERT_CONTEXT>(CertificateSet)));
            EXPECT_EQ(CertificateSetLength, static_cast<DWORD>(sizeof(CERT_CONTEXT)));
        } else if (c.set == NoCertificate) {
            EXPECT_EQ(CertificateSet, nullptr);
            EXPECT_EQ(CertificateSetLength, 0u);
        }
    }
}

// The caller's store is searched whatever the machine flag says and never closed; the identity
// chosen stays through a null certificate and through giving the store up.
TEST(TWinHttpClientCert, CallersStoreIsSearchedAndNeverClosed) {
    TCertificate client("client.der");
    ASSERT_NE(client.context, nullptr);
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr);
    ASSERT_TRUE(CertAddCertificateContextToStore(store, client.context, CERT_STORE_ADD_ALWAYS, nullptr));
    HCERTSTORE callersOther = CertDuplicateStore(store);  // tells whether the client closed one
    {
        TWinHTTP http(true);
        http.SetCertStore(store);
        EXPECT_EQ(http.SetCert(client.context, true), 0);
        TCertificate chosen(http.GetCert());
        EXPECT_TRUE(client.Same(chosen.context));

        EXPECT_EQ(http.SetCert(nullptr, false), 1);
        EXPECT_EQ(HeldText(http), "Не задан сертификат для SetCert");
        TCertificate kept(http.GetCert());
        EXPECT_TRUE(client.Same(kept.context));

        http.ReleaseCertStore();
        EXPECT_EQ(http.GetCert(), nullptr);
        http.SetCertStore(store);
        TCertificate again(http.GetCert());
        EXPECT_TRUE(client.Same(again.context));
    }
    // Two references were taken, two are given back here: the client closed none of them.
    EXPECT_FALSE(CertCloseStore(callersOther, CERT_CLOSE_STORE_CHECK_FLAG));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(CRYPT_E_PENDING_CLOSE));
    EXPECT_TRUE(CertCloseStore(store, CERT_CLOSE_STORE_CHECK_FLAG));
}

// SetCert keeps the identity whether the store holds the certificate or not; the request finds it
// missing before anything is sent.
TEST_F(TWinHttpOwnStore, EachStoreTheClientOpens) {
    for (const TOwnStoreCase& c : OwnStoreCases) {
        SCOPED_TRACE(c.Name);
        ASSERT_TRUE(Prepare(c));
        TWinHTTP http(true);
        EXPECT_EQ(http.SetCert(client.context, c.MachineStore), c.Opened ? 0 : 1);
        TCertificate chosen(http.GetCert());
        EXPECT_EQ(client.Same(chosen.context), c.Found);
        if (!c.Opened) {
            EXPECT_TRUE(StartsWith(HeldText(http), "Не удается открыть хранилище MY")) << HeldText(http);
            // Nothing held: the next choice opens the user's store.
            ASSERT_TRUE(InstallPersonal(client, HKEY_CURRENT_USER));
            EXPECT_EQ(http.SetCert(client.context, false), 0);
            TCertificate found(http.GetCert());
            EXPECT_TRUE(client.Same(found.context));
        } else if (!c.Found) {
            ConnectNowhere(http);
            EXPECT_EQ(http.Request("/sign.asp", VerbGet, nullptr, 0), 2);
            EXPECT_TRUE(StartsWith(HeldText(http), NotFound)) << HeldText(http);
        }
    }
}

// The store the client opened is closed when it gives the store up, whichever way. Closing is
// what writes a certificate added through the store's handle back to the registry.
TEST_F(TWinHttpOwnStore, OwnStoreIsClosedWhenGivenUp) {
    HCERTSTORE callers = CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr);
    ASSERT_TRUE(CertAddCertificateContextToStore(callers, client.context, CERT_STORE_ADD_ALWAYS, nullptr));
    const struct {
        const char* name;
        std::function<void(TWinHTTP&)> giveUp;  // null: the client ends
        bool foundAfter;                        // in the store that follows, by the identity kept
    } cases[] = {
        {"ReleaseCertStore", [](TWinHTTP& http) { http.ReleaseCertStore(); }, false},
        {"SetCertStore", [&](TWinHTTP& http) { http.SetCertStore(callers); }, true},
        {"destructor", nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClearStores();
        ASSERT_TRUE(InstallPersonal(client, HKEY_CURRENT_USER));
        {
            TWinHTTP http(true);
            ASSERT_EQ(http.SetCert(client.context, false), 0);
            {
                TCertificate chosen(http.GetCert());
                ASSERT_NE(chosen.context, nullptr);
                ASSERT_TRUE(CertAddCertificateContextToStore(chosen.context->hCertStore, server.context,
                                                             CERT_STORE_ADD_NEW, nullptr));
            }
            EXPECT_MEETS(InstalledPersonal(server, HKEY_CURRENT_USER),
                         WineOnly(false, "a registry store writes an added certificate back when it is closed"));
            if (c.giveUp) {
                c.giveUp(http);
                EXPECT_TRUE(InstalledPersonal(server, HKEY_CURRENT_USER));
                TCertificate chosen(http.GetCert());
                EXPECT_EQ(client.Same(chosen.context), c.foundAfter);
            }
        }
        EXPECT_TRUE(InstalledPersonal(server, HKEY_CURRENT_USER));
    }
    EXPECT_TRUE(CertCloseStore(callers, CERT_CLOSE_STORE_CHECK_FLAG));
}
