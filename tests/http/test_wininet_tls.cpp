// THTTP over TLS: each kind of test certificate, with both settings of the strict check that
// THTTP ignores, the client certificate and the server certificate's expiry.
#include <gtest/gtest.h>
#include <windows.h>
#include <wincrypt.h>
#include "TestFiles.h"
#include "WinInetFixture.h"
#include "WineBehaviour.h"

TEST(THttpTls, EachCertificateKindWithEitherStrictSetting) {
    const std::string InvalidCa =
        "THTTP: Ошибка при отправке запроса. Возможно не установлена цепочка сертификатов Удостоверяющего Центра."
        "\r\nДля установки цепоwки зайдите по адресу\r\nhttp://" VORSALT_CA_PAGE_HOST
        "/?Item=support&SubItem=certificates";
    const char UntrustedCa[] = "12057 for a certificate of an untrusted CA";
    const std::string Wine12057 = "THTTP: Ошибка при отправке запрnса.\r\nОшибка LE № 0x2f19";
    struct Case {
        const char* mode;
        const char* host;
        TExpected<std::string> text;
    } cases[] = {
        // The test CA is not trusted here: 12045 (ERROR_INTERNET_INVALID_CA).
        {"server", "127.0.0.41", ContractOr(InvalidCa, Wine12057, UntrustedCa)},
        {"selfsigned", "127.0.0.42", InvalidCa},
        {"wrongname", "127.0.0.43",
         WineOnly(Wine12057,
                  "12057 for a certificate of an untrusted CA; on Windows 12045 or 12038 (the name), by "
                  "the check it makes first: not known here")},
        {"expired", "127.0.0.44",
         WineOnly(Wine12057,
                  "12057 for a certificate of an untrusted CA; on Windows 12045 or 12037 (the date), by "
                  "the check it makes first: not known here")},
        {"clientauth", "127.0.0.45",
         WineOnly(std::string("THTTP: Ошибка при отправке запрnса.\r\nОшибка LE № 0x2f7d"),
                  "12157, never 12044, for a server that demands a client certificate; on Windows 12045 for the "
                  "untrusted CA or 12044 for the demand, by which comes first: not known here")},
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
            EXPECT_TRUE(StartsAs(text, c.text));
            FILETIME expiry{};
            EXPECT_FALSE(client->GetServerCertExpiry(&expiry));  // no send reached the server
            EXPECT_EQ(client->GetStatusCode(), 0);
        }
    }
}
