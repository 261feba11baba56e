// THTTP over TLS: each kind of test certificate, with both settings of the strict check that
// THTTP ignores, the client certificate and the server certificate's expiry.
#include <gtest/gtest.h>
#include <windows.h>
#include <wincrypt.h>
#include "TestFiles.h"
#include "WinInetFixture.h"
#include "WineBehaviour.h"

TEST(THttpTls, EachCertificateKindWithEitherStrictSetting) {
    struct Case {
        const char* mode;
        const char* host;
        const char* text;
    } cases[] = {
        // The test CA is not trusted here: 12045 for a self-signed certificate.
        {"server", "127.0.0.41",
         WineGives("THTTP: Ошибка при отправке запрnса.\r\nОшибка LE № 0x2f19",
                   "12057 for a certificate of an untrusted CA")},
        {"selfsigned", "127.0.0.42",
         "THTTP: Ошибка при отправке запроса. Возможно не установлена цепочка сертификатов Удостоверяющего Центра."
         "\r\nДля установки цепоwки зайдите по адресу\r\nhttp://" VORSALT_CA_PAGE_HOST
         "/?Item=support&SubItem=certificates"},
        {"wrongname", "127.0.0.43",
         WineGives("THTTP: Ошибка при отправке запрnса.\r\nОшибка LE № 0x2f19",
                   "12057 for a certificate of an untrusted CA")},
        {"expired", "127.0.0.44",
         WineGives("THTTP: Ошибка при отправке запрnса.\r\nОшибка LE № 0x2f19",
                   "12057 for a certificate of an untrusted CA")},
        {"clientauth", "127.0.0.45",
         WineGives("THTTP: Ошибка при отправке запрnса.\r\nОшибка LE № 0x2f7d",
                   "12157, never 12044, for a server that demands a client certificate")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        TTestPeer peer(TlsPeer("wininet-tls", c.mode, c.host));
        ASSERT_TRUE(peer.Started());
        for (bool strict : {true, false}) {
            auto client = std::make_unique<THTTP>(true, 0);
            client->SetShowDialogs(false);
            client->SetStrictServerCert(strict);
            ASSERT_EQ(client->Connect(peer.Host(), peer.Port()), 0);
            client->SetTimeouts(5000);
            const int result = client->Request("/check.asp", VerbGet, nullptr, 0);
            const std::string text = client->GetLastErrorText();
            EXPECT_EQ(result, 3);
            EXPECT_EQ(text.rfind(c.text, 0), 0u) << text;
            FILETIME expiry{};
            EXPECT_FALSE(client->GetServerCertExpiry(&expiry));  // no send reached the server
            EXPECT_EQ(client->GetStatusCode(), 0);
        }
    }
}
