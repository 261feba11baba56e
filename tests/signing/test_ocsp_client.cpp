// The OCSP client over the stand-in automation objects and openssl's OCSP responder; every
// response is judged by "openssl ocsp -respin" with the issuer.
#include "Ocspcomlib.h"
#include <gtest/gtest.h>
#include <memory>
#include "CaPki.h"
#include "ClientFixture.h"
#include "ErrorText.h"
#include "SigningPeers.h"
#include "TextChecks.h"

namespace {

struct TOcspRun {
    int result = -1;
    CRYPT_DATA_BLOB output{};
    SYSTEMTIME time{};
    std::string text;
    ~TOcspRun() { LocalFree(output.pbData); }
};

class OcspClient : public AutomationClient {
protected:
    OcspClient() : AutomationClient("ocsp-client") {}
    static void SetUpTestSuite() { responder = std::make_unique<TOcspResponder>(); }
    static void TearDownTestSuite() { responder.reset(); }
    void SetUp() override {
        AutomationClient::SetUp();
        ASSERT_TRUE(responder->Started());
        ASSERT_TRUE(signer);
        requestsBefore = responder->Requests().size();
    }
    void Ask(TOcspRun& run, BSTR address, int send, bool manual) {
        run.result = COM_OCSP(address, run.output, signer.Get(), &run.time, send, manual, &run.text);
    }
    std::vector<TPeerRequest> NewRequests() const { return responder->RequestsAfter(requestsBefore); }

    static inline std::unique_ptr<TOcspResponder> responder;
    TCertContext signer = CaPkiCert("signer");
    size_t requestsBefore = 0;
};

TEST_F(OcspClient, TheObjectsAskTheCertificatesResponderAndTheResponseComesBack) {
    for (int send : {0, 1}) {
        SCOPED_TRACE(send);
        journal.Clear();
        TOcspRun run;
        Ask(run, nullptr, send, true);  // no address: no manual post, the certificate's responder
        ASSERT_EQ(run.result, 0) << run.text;
        const TUnixRun judged = OpensslVerifyOcsp(BlobBytes(run.output), "signer");
        EXPECT_EQ(judged.ExitCode, 0) << judged.Output;
        EXPECT_TRUE(Contains(judged.Output, "Response verify OK")) << judged.Output;
        EXPECT_TRUE(Contains(judged.Output, ": good")) << judged.Output;
        EXPECT_LE(std::llabs(SecondsFromNow(run.time)), 300) << "the production time in UTC";

        const std::vector<std::string> expected = {
            "CAPICOM.Certificate.Import method BSTR:" + std::to_string(2 * ((signer.Get()->cbCertEncoded + 2) / 3 * 4)),
            "OCSPCOM.OCSPRequest.AddSingleRequest method DISPATCH:CAPICOM.Certificate",
            "OCSPCOM.OCSPRequest.Send method I4:" + std::to_string(send),
            "OCSPCOM.OCSPRequest.HTTPStatus get",
            "OCSPCOM.OCSPResponse.Export method",
            "OCSPCOM.OCSPResponse.ProducedAt get",
        };
        EXPECT_EQ(journal.Lines(), expected);
    }
    const std::vector<TPeerRequest> sent = NewRequests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].RequestLine, "POST /ocsp HTTP/1.1");
    EXPECT_EQ(sent[0].Header("Content-Type"), "application/ocsp-request");
    EXPECT_EQ(sent[0].Header("User-Agent"), "Vorsalt automation stand-in");
    EXPECT_TRUE(Logged(debug, "COM_OCSP Start"));
    EXPECT_TRUE(Logged(debug, "COM_OCSP finished"));
}

TEST_F(OcspClient, AnAddressIsPutAndPostedByHandWithTheProgramsClient) {
    const TSysString address = Address(TOcspResponder::Url());
    TOcspRun run;
    Ask(run, address.Get(), 0, true);
    ASSERT_EQ(run.result, 0) << run.text;
    EXPECT_EQ(Journaled("OCSPCOM.OCSPRequest.OCSPAddress put BSTR:").size(), 1u);
    EXPECT_EQ(Journaled("OCSPCOM.OCSPRequest.Export").size(), 1u);
    EXPECT_TRUE(Journaled("OCSPCOM.OCSPRequest.Send").empty());
    EXPECT_EQ(Journaled("OCSPCOM.OCSPResponse.Import").size(), 1u);
    const std::vector<TPeerRequest> sent = NewRequests();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].RequestLine, "POST /ocsp HTTP/1.1");
    EXPECT_EQ(sent[0].Header("Content-Type"), "application/ocsp-request");
    EXPECT_NE(sent[0].Header("User-Agent"), "Vorsalt automation stand-in");
    EXPECT_TRUE(Logged(debug, "Try to send OCSP Request manualy"));
    // The response as the responder sent it, for the certificate asked about.
    EXPECT_EQ(OpensslVerifyOcsp(BlobBytes(run.output), "signer").ExitCode, 0);
}

TEST_F(OcspClient, AStatusOtherThan200IsResult2WithTheStatusAsCode) {
    const TSysString address = Address(TOcspResponder::Url("/ocsp-500"));
    TOcspRun run;
    Ask(run, address.Get(), 1, false);
    EXPECT_EQ(run.result, 2);
    EXPECT_TRUE(StartsWith(run.text, "COM_OCSP. Ошибки при отправке OCSP запроса.\r\nОшибка LE № 0x")) << run.text;
    EXPECT_TRUE(Contains(run.text, "0x1f4: ") || Contains(run.text, " (0x1f4)")) << run.text;
}

TEST_F(OcspClient, ARefusedCertificateIsResult1AndNothingIsAsked) {
    const TAutomationFailures failures("CAPICOM.Certificate.Import=80070057");
    TOcspRun run;
    Ask(run, nullptr, 0, false);
    EXPECT_EQ(run.result, 1);
    EXPECT_TRUE(StartsWith(run.text, "Ошибка создания сертификата: Export CAPICOM_ENCODE_BASE64 failed")) << run.text;
    EXPECT_FALSE(Contains(run.text, "Сбой по сценарию теста")) << "the object's own words are not reported";
    EXPECT_TRUE(Journaled("OCSPCOM.OCSPRequest.AddSingleRequest").empty());
    EXPECT_TRUE(NewRequests().empty());
    EXPECT_TRUE(Logged(debug, "COM_OCSP finished"));
}

TEST_F(OcspClient, AResponseWithoutAProductionTimeIsResult3WithTheResponseKept) {
    TOcspRun run;
    const TSysString address = Address(TOcspResponder::Url("/ocsp-unauthorized"));
    Ask(run, address.Get(), 0, false);
    EXPECT_EQ(run.result, 3) << run.text;
    EXPECT_TRUE(StartsWith(run.text, "Ошибка получения времени OCSP ответа")) << run.text;
    EXPECT_EQ(BlobBytes(run.output), std::string("\x30\x03\x0a\x01\x06", 5));
}

TEST_F(OcspClient, AFailedCallIsResult10AndAFailedCreationResult11) {
    {
        const TAutomationFailures failures("OCSPCOM.OCSPRequest.AddSingleRequest=80004005");
        TOcspRun run;
        Ask(run, nullptr, 0, false);
        EXPECT_EQ(run.result, 10);
        EXPECT_TRUE(StartsWith(run.text, "Ошибка работы с ocsp: \r\nДоп. инфо: AddSingleRequest. Ошибка в "
                                         "OCSPCOM.OCSPRequest: Сбой по сценарию теста"))
            << run.text;
    }
    std::string probe;
    EXPECT_EQ(IsOCSPCOM(&probe), 0);
    TAutomationRegistration::Unregister();
    probe = "До: ";
    EXPECT_EQ(IsOCSPCOM(&probe), 1000);
    EXPECT_TRUE(StartsWith(probe, "До: " + GetSystemErrorMessage(static_cast<unsigned>(CO_E_CLASSSTRING), false)))
        << "appended: " << probe;
    TOcspRun run;
    Ask(run, nullptr, 0, false);
    EXPECT_EQ(run.result, 11);
    EXPECT_TRUE(StartsWith(run.text, "COM_OCSP. Неизвестная ошибка формирования ocsp: " +
                                         GetSystemErrorMessage(static_cast<unsigned>(CO_E_CLASSSTRING), false)))
        << run.text;
}

}  // namespace
