// The time-stamp client over the stand-in automation objects and openssl's time-stamp service;
// every token is judged by "openssl ts -verify" against the bytes that were stamped.
#include "Tspcomlib.h"
#include <gtest/gtest.h>
#include <memory>
#include <thread>
#include "CertText.h"
#include "ClientFixture.h"
#include "CryptOwned.h"
#include "ErrorText.h"
#include "SigningPeers.h"
#include "TestTimes.h"
#include "TextChecks.h"

namespace {

// 257 bytes: an odd length, as a signature value may have.
const std::string Stamped = [] {
    std::string bytes(257, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 31 + 7);
    return bytes;
}();

struct TStampRun {
    int result = -1;
    CRYPT_DATA_BLOB output{};
    SYSTEMTIME time{};
    PCCERT_CONTEXT tsa = nullptr;
    std::string text;
    ~TStampRun() {
        LocalFree(output.pbData);
        if (tsa)
            CertFreeCertificateContext(tsa);
    }
};

class TimeStampClient : public AutomationClient {
protected:
    TimeStampClient() : AutomationClient("tsp-client") {}
    static void SetUpTestSuite() { service = std::make_unique<TTimeStampService>(); }
    static void TearDownTestSuite() { service.reset(); }
    void SetUp() override {
        AutomationClient::SetUp();
        ASSERT_TRUE(service->Started());
        requestsBefore = service->Requests().size();
    }

    void Stamp(TStampRun& run, BSTR address, bool verify, bool manual) {
        const CRYPT_DATA_BLOB input{static_cast<DWORD>(Stamped.size()),
                                    reinterpret_cast<BYTE*>(const_cast<char*>(Stamped.data()))};
        run.result = COM_TimeStamp(address, run.output, input, &run.time, &run.tsa, verify, manual, &run.text);
    }
    std::vector<TPeerRequest> NewRequests() const { return service->RequestsAfter(requestsBefore); }

    static inline std::unique_ptr<TTimeStampService> service;
    size_t requestsBefore = 0;
};

TEST_F(TimeStampClient, TheObjectsSendTheRequestAndTheVerifiedTokenComesBack) {
    const TSysString address = Address(service->Url());
    TStampRun run;
    Stamp(run, address.Get(), true, false);
    ASSERT_EQ(run.result, 0) << run.text;
    EXPECT_EQ(run.text, "");

    const TUnixRun judged = OpensslVerifyStamp(BlobBytes(run.output), true, Stamped);
    EXPECT_EQ(judged.ExitCode, 0) << judged.Output;
    EXPECT_TRUE(Contains(judged.Output, "Verification: OK")) << judged.Output;
    EXPECT_LE(std::llabs(SecondsFromNow(run.time)), 300) << "the stamp's time in UTC";
    ASSERT_NE(run.tsa, nullptr);
    TLocalFree<char> cn(GetCertSubjectCN(run.tsa));
    EXPECT_STREQ(cn.Get(), "Служба штампов времени");

    const std::vector<TPeerRequest> sent = NewRequests();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].RequestLine, "POST /tsa HTTP/1.1");
    EXPECT_EQ(sent[0].Header("User-Agent"), "Vorsalt automation stand-in");
    EXPECT_EQ(sent[0].Header("Content-Type"), "application/timestamp-query");

    const std::vector<std::string> expected = {
        "CAPICOM.HashedData.Algorithm put I4:0",
        "CAPICOM.HashedData.hash method BSTR:257",
        "TSPCOM.TSPRequest.TSAAddress put BSTR:" + std::to_string(2 * service->Url().size()),
        "TSPCOM.TSPRequest.Hash putref DISPATCH:CAPICOM.HashedData",
        "TSPCOM.TSPRequest.Send method BOOL:false",
        "TSPCOM.TSPRequest.HTTPStatus get",
        "TSPCOM.TSPStamp.Export method",
        "TSPCOM.TSPStamp.Import method BSTR:" + std::to_string(run.output.cbData),
        "TSPCOM.TSPStamp.TSACertificate get",
        "TSPCOM.TSPStamp.VerifyStamp method DISPATCH:CAPICOM.Certificate",
        "CAPICOM.Certificate.Export method I4:0",
        "TSPCOM.TSPStamp.Time get",
    };
    EXPECT_EQ(journal.Lines(), expected);
    EXPECT_TRUE(Logged(debug, "Ticks for TSP all: ") || !debug.Lines().empty());
}

TEST_F(TimeStampClient, WithoutVerifyTheTimeAndCertificateStayUntouched) {
    const TSysString address = Address(service->Url());
    TStampRun run;
    run.time.wYear = 1999;
    Stamp(run, address.Get(), false, false);
    ASSERT_EQ(run.result, 0) << run.text;
    EXPECT_EQ(run.time.wYear, 1999);
    EXPECT_EQ(run.tsa, nullptr);
    EXPECT_TRUE(Journaled("TSPCOM.TSPStamp.VerifyStamp").empty());
    EXPECT_EQ(OpensslVerifyStamp(BlobBytes(run.output), true, Stamped).ExitCode, 0);
}

TEST_F(TimeStampClient, WithoutAnAddressTheObjectsOwnServiceApplies) {
    TStampRun unset;
    Stamp(unset, nullptr, true, true);  // no policy address: the object has nowhere to send
    EXPECT_EQ(unset.result, E_INVALIDARG);
    EXPECT_TRUE(StartsWith(unset.text, "COM_TimeStamp. Ошибка работы со штампом времени.\r\nДоп. инфо: Send. Ошибка в "
                                       "TSPCOM.TSPRequest: Адрес службы не задан или неверен: "))
        << unset.text;
    EXPECT_EQ(unset.output.pbData, nullptr);

    TTestKey policy(HKEY_CURRENT_USER, "SOFTWARE\\Policies\\Crypto-Pro\\TSP");
    ASSERT_TRUE(policy.SetText("DefaultTSPURL", service->Url()));
    journal.Clear();
    TStampRun run;
    Stamp(run, nullptr, true, true);  // posting by hand needs an address: none is made
    ASSERT_EQ(run.result, 0) << run.text;
    EXPECT_TRUE(Journaled("TSPCOM.TSPRequest.TSAAddress").empty());
    EXPECT_EQ(Journaled("TSPCOM.TSPRequest.Send").size(), 1u);
    const std::vector<TPeerRequest> sent = NewRequests();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Header("User-Agent"), "Vorsalt automation stand-in");
}

TEST_F(TimeStampClient, PostedByHandTheProgramsClientSendsTheObjectsRequest) {
    // Status 0 (granted) and 1 (grantedWithMods) both bring the stamp.
    for (const char* path : {"/tsa", "/tsa-granted-with-mods"}) {
        SCOPED_TRACE(path);
        journal.Clear();
        requestsBefore = service->Requests().size();
        const TSysString address = Address(service->Url(path));
        TStampRun run;
        Stamp(run, address.Get(), true, true);
        ASSERT_EQ(run.result, 0) << run.text;
        const std::vector<TPeerRequest> sent = NewRequests();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].RequestLine, std::string("POST ") + path + " HTTP/1.1");
        EXPECT_EQ(sent[0].Header("Content-Type"), "application/timestamp-query");
        EXPECT_NE(sent[0].Header("User-Agent"), "Vorsalt automation stand-in");
        EXPECT_EQ(Journaled("TSPCOM.TSPRequest.Export").size(), 1u);
        EXPECT_TRUE(Journaled("TSPCOM.TSPRequest.Send").empty());
        EXPECT_TRUE(Logged(debug, "Try to send TSP Request manualy"));
        ASSERT_FALSE(sent[0].Body.empty());
        EXPECT_EQ(sent[0].Body[0], '\x30');

        // The service answers a TimeStampResp: what the client hands out is the token inside it,
        // and that alone is what the stamp object is given, as after the object's own send.
        const TUnixRun judged = OpensslVerifyStamp(BlobBytes(run.output), true, Stamped);
        EXPECT_EQ(judged.ExitCode, 0) << judged.Output;
        EXPECT_TRUE(Contains(judged.Output, "Verification: OK")) << judged.Output;
        EXPECT_EQ(Journaled("TSPCOM.TSPStamp.Import"),
                  std::vector<std::string>{"TSPCOM.TSPStamp.Import method BSTR:" + std::to_string(run.output.cbData)});
        EXPECT_TRUE(Journaled("TSPCOM.TSPStamp.Export").empty());
        EXPECT_LE(std::llabs(SecondsFromNow(run.time)), 300);
        EXPECT_NE(run.tsa, nullptr);
    }
}

TEST_F(TimeStampClient, APostedAnswerWithoutAGrantedTokenIsResult6WithItsText) {
    const std::string refused = "COM_TimeStamp. Служба штампов времени отказала в штампе: статус ";
    const std::string unreadable = "COM_TimeStamp. Ответ службы штампов времени не является ответом RFC 3161 (";
    const struct {
        const char* path;
        std::string text;
    } cases[] = {
        {"/tsa-rejection", refused + "2 (rejection), \"Message digest algorithm is not supported.\", badAlg."},
        {"/tsa-waiting", refused + "3 (waiting)."},
        {"/tsa-revoked", refused + "5 (revocationNotification), \"Сертификат службы отозван\", systemFailure."},
        {"/tsa-no-token", "COM_TimeStamp. В ответе службы нет штампа времени."},
        {"/tsa-not-signed-data", "COM_TimeStamp. Штамп времени в ответе службы не является подписанными данными."},
        {"/tsa-cut-short", unreadable + "24 байт)."},
        {"/tsa-bytes-after", unreadable + "8 байт)."},
        {"/tsa-text", unreadable + "32 байт)."},
        {"/tsa-empty", unreadable + "0 байт)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        journal.Clear();
        requestsBefore = service->Requests().size();
        const TSysString address = Address(service->Url(c.path));
        TStampRun run;
        run.text = "before. ";
        Stamp(run, address.Get(), true, true);
        EXPECT_EQ(run.result, 6);
        // Appended; the platform's last error may follow on a line of its own.
        EXPECT_TRUE(StartsWith(run.text, "before. " + c.text)) << run.text;
        EXPECT_TRUE(run.text.size() == 8 + c.text.size() || run.text.compare(8 + c.text.size(), 2, "\r\n") == 0)
            << run.text;
        EXPECT_EQ(run.output.pbData, nullptr);
        EXPECT_EQ(run.tsa, nullptr);
        EXPECT_EQ(NewRequests().size(), 1u);
        EXPECT_TRUE(Journaled("TSPCOM.TSPRequest.Send").empty()) << "an answer is no failed post: no second send";
        EXPECT_TRUE(Journaled("TSPCOM.TSPStamp").empty()) << "nothing reaches the stamp object";
    }
}

TEST_F(TimeStampClient, AFailedPostByHandFallsBackToTheObjectsSend) {
    struct {
        const char* what;
        std::string url;
        const char* failureLine;  // the debug line of the failure, or null for none
        int result;
    } cases[] = {
        {"an address SplitUrl cannot split", "tsa-without-scheme", nullptr, E_INVALIDARG},
        // Both platform clients connect only when they send: Connect does not fail, the request
        // does, and writes its line. 12029: ERROR_WINHTTP_CANNOT_CONNECT of the object's send.
        {"a host that does not connect", "http://127.0.4.9/tsa", "Ошибка отправки TSP ",
         static_cast<int>(HRESULT_FROM_WIN32(12029))},
        // A port stays in the host text, which the client cannot connect to; the object can.
        {"an address with a port", "http://127.0.4.2:80/tsa", "Ошибка отправки TSP ", 0},
        {"a service that answers 404", service->Url("/missing"), "Ошибка отправки TSP ", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        journal.Clear();
        const TSysString address = Address(c.url);
        TStampRun run;
        Stamp(run, address.Get(), true, true);
        EXPECT_EQ(run.result, c.result) << run.text;
        EXPECT_EQ(Journaled("TSPCOM.TSPRequest.Send").size(), 1u);
        bool failureLogged = false;
        for (const std::string& line : debug.Lines())
            failureLogged |= Contains(line, "Ошибка отправки TSP ");
        EXPECT_EQ(failureLogged, c.failureLine != nullptr);
    }
}

TEST_F(TimeStampClient, AStatusOtherThan200IsResult3WithTheStatusAsCode) {
    const TSysString address = Address(service->Url("/missing"));
    TStampRun run;
    Stamp(run, address.Get(), true, false);
    EXPECT_EQ(run.result, 3);
    // The status is the code: reported first, or in brackets after a last error that the
    // thread still holds (Wine's COM activation leaves ERROR_SXS_KEY_NOT_FOUND there).
    EXPECT_TRUE(StartsWith(run.text, "COM_TimeStamp. Ошибки при отправке запроса на штамп времени.\r\nОшибка LE № 0x"))
        << run.text;
    EXPECT_TRUE(Contains(run.text, "0x194: ") || Contains(run.text, " (0x194)")) << run.text;
    EXPECT_FALSE(Contains(run.text, "OLE Error")) << "the object left no COM error information";
    EXPECT_EQ(run.output.pbData, nullptr);
}

TEST_F(TimeStampClient, ABrokenSignatureIsResult4AndNothingIsHandedOut) {
    const TSysString address = Address(service->Url("/tsa-corrupt"));
    TStampRun run;
    Stamp(run, address.Get(), true, false);
    EXPECT_EQ(run.result, 4);
    EXPECT_TRUE(StartsWith(run.text, "COM_TimeStamp. VerifyStamp. ЭЦП штампа не действительна.")) << run.text;
    EXPECT_EQ(run.output.pbData, nullptr);
    EXPECT_EQ(run.tsa, nullptr);
    bool sizeLogged = false;
    for (const std::string& line : debug.Lines())
        sizeLogged |= StartsWith(line, "VYRNLog: COM_TimeStamp. Размер штампа времени: ");
    EXPECT_TRUE(sizeLogged);
}

TEST_F(TimeStampClient, ATsaCertificateNotValidAtTheStampsTimeIsResult4AndNothingIsHandedOut) {
    // The stamps' signatures hold; their certificates' chains do not at the stamps' time (now).
    const std::string chain = "Сертификат или издатель в цепочке (Status: 1):\r\n- Просрочен.";
    const struct {
        const char* path;
        const char* subject;
    } cases[] = {
        {"/tsa-expired-signer", "Служба штампов времени просроченная"},  // valid in 2021 only
        {"/tsa-notyet-signer", "Служба штампов времени будущая"},         // valid from 2040
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        journal.Clear();
        const TSysString address = Address(service->Url(c.path));
        TStampRun run;
        Stamp(run, address.Get(), true, false);
        EXPECT_EQ(run.result, 4);
        EXPECT_EQ(run.text, "COM_TimeStamp." + chain);
        EXPECT_EQ(run.output.pbData, nullptr);
        EXPECT_EQ(run.tsa, nullptr);
        EXPECT_EQ(Journaled("TSPCOM.TSPStamp.Time").size(), 1u);
        EXPECT_TRUE(Logged(debug, c.subject + ("::" + chain)));
    }

    // The same certificate within its validity: the chain is judged at the stamp's time, not now.
    const TSysString address = Address(service->Url("/tsa-expired-signer-2021"));
    TStampRun run;
    Stamp(run, address.Get(), true, false);
    ASSERT_EQ(run.result, 0) << run.text;
    EXPECT_EQ(TimeText(run.time), "2021-06-15 14:23:45.000");
    ASSERT_NE(run.tsa, nullptr);
    TLocalFree<char> cn(GetCertSubjectCN(run.tsa));
    EXPECT_STREQ(cn.Get(), "Служба штампов времени просроченная");
}

TEST_F(TimeStampClient, AFailedCallGivesItsCodeEvenWhenTheObjectNamesNone) {
    const TSysString address = Address(service->Url());
    struct {
        const char* script;
        int result;
        const char* member;
    } cases[] = {
        {"TSPCOM.TSPStamp.VerifyStamp=0", static_cast<int>(DISP_E_EXCEPTION), "VerifyStamp. Undefined OLE Exception: "},
        {"CAPICOM.HashedData.hash=80090008", static_cast<int>(NTE_BAD_ALGID), "hash. Ошибка в CAPICOM.HashedData: "},
        {"CAPICOM.Certificate.Export=80004005", 7, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        const TAutomationFailures failures(c.script);
        TStampRun run;
        Stamp(run, address.Get(), true, false);
        EXPECT_EQ(run.result, c.result) << run.text;
        if (c.member)
            EXPECT_TRUE(StartsWith(run.text, std::string("COM_TimeStamp. Ошибка работы со штампом времени.\r\nДоп. инфо: ") +
                                                 c.member))
                << run.text;
        else
            EXPECT_TRUE(StartsWith(run.text, "Ошибка создания сертификата: Export CAPICOM_ENCODE_BASE64 failed")) << run.text;
        EXPECT_EQ(run.output.pbData, nullptr);
        EXPECT_EQ(run.tsa, nullptr);
    }
}

TEST_F(TimeStampClient, WithoutTheObjectsTheProbeAnswers1000) {
    std::string text;
    EXPECT_EQ(IsTSPCOM(&text), 0);
    EXPECT_EQ(text, "");

    TAutomationRegistration::Unregister();
    EXPECT_EQ(IsTSPCOM(&text), 1000);
    EXPECT_EQ(text, FormatErrorText(GetSystemErrorMessage(static_cast<unsigned>(CO_E_CLASSSTRING), false),
                                    static_cast<int>(CO_E_CLASSSTRING), true, false));
    const TSysString address = Address(service->Url());
    TStampRun run;
    Stamp(run, address.Get(), true, false);
    EXPECT_EQ(run.result, 11);
    EXPECT_TRUE(StartsWith(run.text, "COM_TimeStamp. Неизвестная ошибка формирования штампа времени.")) << run.text;
}

TEST_F(TimeStampClient, TheClientLeavesCOMToTheCallingThread) {
    int probe = -1;
    std::string text;
    std::thread([&] { probe = IsTSPCOM(&text); }).join();
    EXPECT_EQ(probe, 1000);
    EXPECT_TRUE(StartsWith(text, GetSystemErrorMessage(static_cast<unsigned>(CO_E_NOTINITIALIZED), false))) << text;
}

}  // namespace
