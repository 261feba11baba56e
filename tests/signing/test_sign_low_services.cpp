// SignLow with the time stamp and the OCSP response from openssl's responders on loopback, over
// the stand-in automation objects: the attached token judged by "openssl ts -verify" against the
// signature value, the attached response by "openssl ocsp -respin", the whole message by "openssl
// cms -verify"; the manual-posting switch, the failures of each step and the time comparison.
#include "Func_sign.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include "CmsHelpers.h"
#include "CmsOnDer.h"
#include "RegistryFixture.h"
#include "SignLowRun.h"
#include "SignerFixture.h"
#include "ServicesClient.h"
#include "TextChecks.h"
#include "WineBehaviour.h"

namespace {

const std::string Data(1000, 'x');
const char* const SwitchKey = "Software\\VELTA\\Common\\CAServices";
const char* const PolicyKey = "SOFTWARE\\Policies\\Crypto-Pro\\TSP";

TSignOptions Both(bool detached = false) {
    TSignOptions options;
    options.timeStamp = options.ocsp = true;
    options.detached = detached;
    return options;
}

class SignLowServices : public ServicesClient {
protected:
    SignLowServices() : ServicesClient("sign-low-services") {}
    void SetUp() override {
        ServicesClient::SetUp();
        ASSERT_TRUE(signer.Ready());
        ASSERT_TRUE(policy.SetText("DefaultTSPURL", TTimeStampService::Url()));
        stampsBefore = service->Requests().size();
        responsesBefore = responder->Requests().size();
    }
    std::vector<TPeerRequest> NewStampRequests() const { return service->RequestsAfter(stampsBefore); }
    size_t NewResponseRequests() const { return responder->Requests().size() - responsesBefore; }

    TSigner signer{"signer"};
    TTestKey policy{HKEY_CURRENT_USER, PolicyKey};  // the scratch user's time-stamp address
    TCmsOnDer messages;  // Wine can neither read the signature value nor add an unsigned attribute
    size_t stampsBefore = 0, responsesBefore = 0;
};

TEST_F(SignLowServices, TheStampCoversTheSignatureAndTheResponseTheSigner) {
    for (bool detached : {false, true}) {
        SCOPED_TRACE(detached);
        const TSignLowRun run = RunSignLow(Data, signer.Cert(), Both(detached));
        ASSERT_EQ(run.result, 0) << run.errorText;
        ASSERT_EQ(run.progress.size(), 3u);
        EXPECT_TRUE(StartsWith(run.progress[0], "SignLow: Подпись за ")) << run.progress[0];
        EXPECT_TRUE(StartsWith(run.progress[1], "SignLow: Штамп времени за ")) << run.progress[1];
        EXPECT_TRUE(StartsWith(run.progress[2], "SignLow: OCSP за ")) << run.progress[2];

        EXPECT_EQ(run.message.find(Data) == std::string::npos, detached) << "the data inside unless detached";
        const TUnixRun verified = OpensslVerifyCms(run.message, detached, Data);
        EXPECT_EQ(verified.ExitCode, 0) << verified.Output;
        const TUnixRun printed = OpensslPrintCms(run.message);
        const size_t unsignedAt = printed.Output.find("unsignedAttrs:");
        ASSERT_NE(unsignedAt, std::string::npos) << printed.Output;
        const size_t stampAt = printed.Output.find("(1.2.840.113549.1.9.16.2.14)", unsignedAt);
        EXPECT_NE(stampAt, std::string::npos) << printed.Output;
        EXPECT_NE(printed.Output.find("(1.2.840.113549.1.9.16.2.22)", stampAt), std::string::npos)
            << "the response after the stamp: " << printed.Output;

        // The token stamps the signer's signature value, not the data.
        const std::string token = AttributeValueOf(run.message, TimeStampTokenOid);
        const TUnixRun stamp = OpensslVerifyStamp(token, true, SignatureValueOf(run.message, 0));
        EXPECT_EQ(stamp.ExitCode, 0) << stamp.Output;
        EXPECT_TRUE(Contains(stamp.Output, "Verification: OK")) << stamp.Output;
        EXPECT_NE(OpensslVerifyStamp(token, true, Data).ExitCode, 0);

        // The response in a BIT STRING without unused bits: 03, length, 00, the response.
        const std::string bits = AttributeValueOf(run.message, OcspResponseOid);
        ASSERT_GT(bits.size(), 4u);
        EXPECT_EQ(bits[0], '\x03');
        const size_t lengthBytes = static_cast<unsigned char>(bits[1]) < 0x80 ? 1 : 1 + (bits[1] & 0x7F);
        EXPECT_EQ(bits[1 + lengthBytes], '\0');
        const TUnixRun ocsp = OpensslVerifyOcsp(bits.substr(2 + lengthBytes), "signer");
        EXPECT_EQ(ocsp.ExitCode, 0) << ocsp.Output;
        EXPECT_TRUE(Contains(ocsp.Output, "Response verify OK")) << ocsp.Output;
    }
    EXPECT_EQ(NewStampRequests().size(), 2u);
    EXPECT_EQ(NewResponseRequests(), 2u);
}

TEST_F(SignLowServices, TheManualSwitchMakesTheProgramPostToThePolicysAddress) {
    const struct {
        const char* name;
        DWORD type;  // REG_NONE: no value
        DWORD value;
        bool policy, postedByProgram;
        int result;
    } cases[] = {
        {"absent", REG_NONE, 0, true, false, 0},
        {"on", REG_DWORD, 1, true, true, 0},
        {"off", REG_DWORD, 0, true, false, 0},
        {"of another type: off", REG_SZ, 0, true, false, 0},
        // No address to post to: the object sends, and has none either.
        {"on without an address", REG_DWORD, 1, false, false, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TTestKey switchKey(HKEY_LOCAL_MACHINE, SwitchKey);
        if (c.type == REG_DWORD) {
            ASSERT_TRUE(switchKey.SetDword("SendRequestsManualy", c.value));
        } else if (c.type == REG_SZ) {
            ASSERT_TRUE(switchKey.SetText("SendRequestsManualy", "1"));
        }
        if (!c.policy)
            RegDeleteKeyValueA(HKEY_CURRENT_USER, PolicyKey, "DefaultTSPURL");
        stampsBefore = service->Requests().size();
        const size_t linesBefore = debug.Lines().size();
        TSignOptions options;
        options.timeStamp = true;
        const TSignLowRun run = RunSignLow(Data, signer.Cert(), options);
        ASSERT_EQ(run.result, c.result) << run.errorText;
        if (c.result != 0) {
            const std::vector<std::string> lines = debug.Lines();
            EXPECT_TRUE(
                std::any_of(lines.begin() + static_cast<long>(linesBefore), lines.end(),
                            [](const std::string& l) {
                                return StartsWith(l,
                                                  "VYRNLog: Не задан адрес службы штампов времени в реестре (опция "
                                                  "SendRequestsManualy игнорируется): GetPKIurl. ");
                            }))
                << "the policy's failure goes to the debug output";
            EXPECT_TRUE(Contains(run.errorText, "Адрес службы не задан или неверен")) << run.errorText;
            EXPECT_TRUE(NewStampRequests().empty());
            ASSERT_TRUE(policy.SetText("DefaultTSPURL", TTimeStampService::Url()));
            continue;
        }
        const std::vector<TPeerRequest> sent = NewStampRequests();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].RequestLine, "POST /tsa HTTP/1.1");
        EXPECT_EQ(sent[0].Header("Content-Type"), "application/timestamp-query");
        EXPECT_EQ(sent[0].Header("User-Agent") != "Vorsalt automation stand-in", c.postedByProgram)
            << sent[0].Header("User-Agent");
        EXPECT_EQ(OpensslVerifyStamp(AttributeValueOf(run.message, TimeStampTokenOid), true,
                                     SignatureValueOf(run.message, 0))
                      .ExitCode,
                  0);
    }
}

TEST_F(SignLowServices, PostedByHandTheAttachedTokenIsTheSignedDataInsideTheServicesAnswer) {
    const TTestKey switchKey(HKEY_LOCAL_MACHINE, SwitchKey);
    ASSERT_TRUE(switchKey.SetDword("SendRequestsManualy", 1));
    TSignOptions options;
    options.timeStamp = true;
    for (const char* path : {"/tsa", "/tsa-granted-with-mods"}) {
        SCOPED_TRACE(path);
        ASSERT_TRUE(policy.SetText("DefaultTSPURL", TTimeStampService::Url(path)));
        stampsBefore = service->Requests().size();
        journal.Clear();
        const TSignLowRun run = RunSignLow(Data, signer.Cert(), options);
        ASSERT_EQ(run.result, 0) << run.errorText;
        const std::vector<TPeerRequest> sent = NewStampRequests();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_NE(sent[0].Header("User-Agent"), "Vorsalt automation stand-in") << "posted by the program";

        const std::string token = AttributeValueOf(run.message, TimeStampTokenOid);
        const TUnixRun stamp = OpensslVerifyStamp(token, true, SignatureValueOf(run.message, 0));
        EXPECT_EQ(stamp.ExitCode, 0) << stamp.Output;
        EXPECT_TRUE(Contains(stamp.Output, "Verification: OK")) << stamp.Output;
        EXPECT_EQ(OpensslVerifyCms(run.message, false, Data).ExitCode, 0);
        // The provider's stamp object is given the token alone, never the service's whole answer.
        EXPECT_EQ(Journaled("TSPCOM.TSPStamp.Import"),
                  std::vector<std::string>{"TSPCOM.TSPStamp.Import method BSTR:" + std::to_string(token.size())});

        // The attribute's value is a ContentInfo of signed data: its first field (depth 1) is
        // that content type, where a TimeStampResp has its status.
        const TUnixRun printed = OpensslPrintCms(run.message);
        const size_t stampAt = printed.Output.find("(1.2.840.113549.1.9.16.2.14)");
        ASSERT_NE(stampAt, std::string::npos) << printed.Output;
        const size_t firstField = printed.Output.find("d=1", stampAt);
        ASSERT_NE(firstField, std::string::npos) << printed.Output;
        const std::string line = printed.Output.substr(firstField, printed.Output.find('\n', firstField) - firstField);
        EXPECT_TRUE(Contains(line, "OBJECT") && Contains(line, ":pkcs7-signedData")) << line;
    }
}

TEST_F(SignLowServices, PostedByHandAnAnswerWithoutAGrantedTokenEndsTheSigningAtStep6) {
    const TTestKey switchKey(HKEY_LOCAL_MACHINE, SwitchKey);
    ASSERT_TRUE(switchKey.SetDword("SendRequestsManualy", 1));
    const struct {
        const char* path;
        const char* text;
    } cases[] = {
        {"/tsa-rejection",
         "COM_TimeStamp. Служба штампов времени отказала в штампе: статус 2 (rejection), "
         "\"Message digest algorithm is not supported.\", badAlg."},
        {"/tsa-no-token", "COM_TimeStamp. В ответе службы нет штампа времени."},
        {"/tsa-cut-short", "COM_TimeStamp. Ответ службы штампов времени не является ответом RFC 3161 (24 байт)."},
        {"/tsa-text", "COM_TimeStamp. Ответ службы штампов времени не является ответом RFC 3161 (32 байт)."},
    };
    TSignOptions options;
    options.timeStamp = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        ASSERT_TRUE(policy.SetText("DefaultTSPURL", TTimeStampService::Url(c.path)));
        stampsBefore = service->Requests().size();
        const TSignLowRun run = RunSignLow(Data, signer.Cert(), options);
        EXPECT_EQ(run.result, 6);
        EXPECT_TRUE(StartsWith(run.errorText, c.text)) << run.errorText;
        EXPECT_TRUE(run.messageNull);
        EXPECT_EQ(run.progress.size(), 1u);
        EXPECT_EQ(NewStampRequests().size(), 1u) << "no second request through the object";
    }
}

TEST_F(SignLowServices, AFailedStepEndsTheSigningWithItsNumber) {
    const struct {
        const char* name;
        const char* failure;  // scripted member failure of the stand-in objects
        const char* stampPath;
        int result;
        const char* text;
        size_t progress;
    } cases[] = {
        {"broken stamp", "", "/tsa-corrupt", 6, "COM_TimeStamp. ", 1},
        {"stamp not sent", "TSPCOM.TSPRequest.Send=80004005", "/tsa", 6, "COM_TimeStamp. ", 1},
        {"response not sent", "OCSPCOM.OCSPRequest.Send=80004005", "/tsa", 7, "Ошибка работы с ocsp: ", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TAutomationFailures failures(c.failure);
        ASSERT_TRUE(policy.SetText("DefaultTSPURL", TTimeStampService::Url(c.stampPath)));
        const TSignLowRun run = RunSignLow(Data, signer.Cert(), Both());
        EXPECT_EQ(run.result, c.result) << run.errorText;
        EXPECT_TRUE(StartsWith(run.errorText, c.text)) << run.errorText;
        EXPECT_TRUE(run.messageNull);
        EXPECT_EQ(run.progress.size(), c.progress);
    }
}

TEST_F(SignLowServices, TimesTooFarApartFailAtStep8) {
    // Two days: beyond any time zone's bias.
    const TAutomationSkew skew("OCSPCOM.OCSPResponse.ProducedAt=172800");
    const TSignLowRun run = RunSignLow(Data, signer.Cert(), Both());
    EXPECT_EQ(run.result, 8);
    EXPECT_TRUE(StartsWith(run.errorText, "-Разница между временем TSP и OCSP: 1728")) << run.errorText;
    EXPECT_TRUE(run.messageNull);
    EXPECT_EQ(run.progress.size(), 3u);

    TSignOptions stampOnly;
    stampOnly.timeStamp = true;
    EXPECT_EQ(RunSignLow(Data, signer.Cert(), stampOnly).result, 0) << "no comparison without the response";
    TSignOptions ocspOnly;
    ocspOnly.ocsp = true;
    EXPECT_EQ(RunSignLow(Data, signer.Cert(), ocspOnly).result, 0) << "no comparison without the stamp";
}

TEST_F(SignLowServices, TheKeyPeriodIsJudgedAtTheStampsTime) {
    const TSigner old("signer-old");
    ASSERT_TRUE(old.Ready());
    TSignOptions options;
    options.timeStamp = options.keyPeriod = true;
    EXPECT_EQ(RunSignLow(Data, signer.Cert(), options).result, 0);
    const TSignLowRun expired = RunSignLow(Data, old.Cert(), options);
    EXPECT_EQ(expired.result, 9);
    EXPECT_TRUE(StartsWith(expired.errorText, "IsPrivateKeyValid. Срок действия закрытого ключа истек.\r\n"))
        << expired.errorText;
    EXPECT_EQ(expired.progress.size(), 2u);
}

}  // namespace

// Without the double the product meets Wine's message functions as they are.
TEST(SignLowOnWine, TheSignatureValueCannotBeReadSoNoStampIsAsked) {
    TComApartment com;
    TScratchStores stores("sign-low-wine");
    TAutomationRegistration objects;
    const TSigner signer("signer");
    ASSERT_TRUE(signer.Ready());
    TSignOptions options;
    options.timeStamp = true;
    const TSignLowRun run = RunSignLow(Data, signer.Cert(), options);
    // On Windows the value is read and a stamp asked for; what follows depends on the service,
    // which this test does not stand up.
    const char NoDigest[] =
        "CryptMsgGetParam(CMSG_ENCRYPTED_DIGEST) fails with 0x80091004; the contract's result "
        "depends on a time-stamp service: not known here";
    EXPECT_MEETS(run.result, WineOnly(6, NoDigest)) << run.errorText;
    EXPECT_TRUE(StartsAs(run.errorText, WineOnly("GetContentMsg. Sizing of cbSignerInfo failed.", NoDigest)));
}
