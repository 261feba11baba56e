// SignLow with real keys and certificates of the CA test PKI: every message judged by openssl
// (the signature, the signed attributes, the attached token against the signature value, the
// attached OCSP response), every step's result and text, the PIN and the user's cancel through the
// proxy provider, bad input.
#include "Func_sign.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include "AutomationStandin.h"
#include "CaPki.h"
#include "ClientFixture.h"
#include "CmsOnDer.h"
#include "Der.h"
#include "RegistryFixture.h"
#include "SignLowRun.h"
#include "SignerFixture.h"
#include "SigningPeers.h"
#include "SeamOverride.h"
#include "SigningApi.h"
#include "TextChecks.h"
#include "WineBehaviour.h"

namespace {

const std::string Data = "Документ для подписи\r\n";
const std::string CommentValue("\x30\x12\x1E\x08\x00\x71\x00\x54\x00\x76\x00\x6F\x1E\x06\x00\x31\x00\x2E\x00\x30", 20);
const std::string Untouched(2 * SignLowErrorTextCapacity, UntouchedByte);

// The objects of the signed attributes as openssl prints them, in order.
std::vector<std::string> SignedAttributeObjects(const std::string& printed) {
    std::vector<std::string> objects;
    const size_t start = printed.find("signedAttrs:"), end = printed.find("signatureAlgorithm:", start);
    size_t at = start;
    while ((at = printed.find("object: ", at)) != std::string::npos && at < end) {
        const size_t lineEnd = printed.find('\n', at);
        objects.push_back(printed.substr(at + 8, lineEnd - at - 8));
        at = lineEnd;
    }
    return objects;
}

class SignLowTest : public ::testing::Test {
protected:
    TScratchStores stores{"sign-low"};
    TSigner signer{"signer"};
    void SetUp() override {
        ASSERT_TRUE(stores.Active());
        ASSERT_TRUE(signer.Ready());
    }
};

TEST_F(SignLowTest, AllSwitchesOffGiveAnAttachedSignatureWithTheCommentAttribute) {
    const TSignLowRun run = RunSignLow(Data, signer.Cert(), TSignOptions());
    ASSERT_EQ(run.result, 0) << run.errorText;
    EXPECT_TRUE(run.localBlock);
    EXPECT_EQ(run.buffer, Untouched) << "the error text is untouched on success";
    ASSERT_EQ(run.progress.size(), 1u);
    EXPECT_TRUE(StartsWith(run.progress[0], "SignLow: Подпись за ")) << run.progress[0];
    EXPECT_EQ(run.progress[0].find_first_not_of("0123456789", 20), std::string::npos) << run.progress[0];

    const TUnixRun verified = OpensslVerifyCms(run.message, false, Data);
    EXPECT_EQ(verified.ExitCode, 0) << verified.Output;
    EXPECT_TRUE(Contains(verified.Output, "same content")) << verified.Output;
    const TUnixRun printed = OpensslPrintCms(run.message);
    // The platform's encoder adds the content type and the digest and sorts the set (DER).
    EXPECT_EQ(SignedAttributeObjects(printed.Output),
              (std::vector<std::string>{"contentType (1.2.840.113549.1.9.3)", "undefined (1.3.6.1.4.1.311.2.1.120)",
                                        "messageDigest (1.2.840.113549.1.9.4)"}))
        << printed.Output;
    EXPECT_TRUE(Contains(printed.Output, "unsignedAttrs:\n          <ABSENT>")) << printed.Output;
    EXPECT_TRUE(Contains(printed.Output, "d.issuerAndSerialNumber")) << printed.Output;
    EXPECT_TRUE(Contains(printed.Output, "algorithm: sha256 (2.16.840.1.101.3.4.2.1)")) << printed.Output;
    EXPECT_TRUE(Contains(run.message, der::ObjectIdentifier("1.3.6.1.4.1.311.2.1.120") + "\x31\x14" + CommentValue));
}

TEST_F(SignLowTest, ADetachedSignatureCarriesNoData) {
    TSignOptions options;
    options.detached = true;
    for (const std::string& data : {Data, std::string()}) {
        const TSignLowRun run = RunSignLow(data, signer.Cert(), options);
        ASSERT_EQ(run.result, 0) << run.errorText;
        if (!data.empty()) {
            EXPECT_EQ(run.message.find(data), std::string::npos);
        }
        const TUnixRun verified = OpensslVerifyCms(run.message, true, data);
        EXPECT_EQ(verified.ExitCode, 0) << verified.Output;
    }
}

TEST_F(SignLowTest, NoDataIsSignedLikeAnyOther) {
    const TSignLowRun run = RunSignLow(std::string(), signer.Cert(), TSignOptions());
    ASSERT_EQ(run.result, 0) << run.errorText;
    // The empty content stands in the message (eContent), so openssl verifies it as attached;
    // where it is left out, openssl takes the message as detached, with the empty data given apart.
    const TExpected<bool> detached = ContractOr(false, true, "an empty attached content is left out");
    const TUnixRun attached = OpensslVerifyCms(run.message, false, std::string());
    EXPECT_MEETS(attached.ExitCode == 0, ContractOr(true, false, detached.Behaviour().c_str())) << attached.Output;
    const TUnixRun verified = OpensslVerifyCms(run.message, detached.Here(), std::string());
    EXPECT_EQ(verified.ExitCode, 0) << verified.Output;

    char text[SignLowErrorTextCapacity] = {};
    BYTE* message = nullptr;
    DWORD length = 0;
    EXPECT_EQ(SignLow(nullptr, 0, &message, &length, signer.Cert(), nullptr, 0, 0, 0, 0, 0, text, nullptr), 0) << text;
    LocalFree(message);
    EXPECT_EQ(SignLow(nullptr, 5, &message, &length, signer.Cert(), nullptr, 0, 0, 0, 0, 0, text, nullptr), 4);
    EXPECT_EQ(message, nullptr);
    EXPECT_STREQ(text, "SignLow. Не удается подписать сообщение. Данные не заданы.");
}

TEST_F(SignLowTest, KeysThatCannotBeReachedFailAtStep1) {
    const TCertContext keyless = CaPkiCert("tsa");  // no key provider information, in no store
    const TSigner missingProvider("signer-qual", L"Vorsalt Provider That Is Not There");
    ASSERT_TRUE(missingProvider.Ready());
    for (PCCERT_CONTEXT cert : {keyless.Get(), missingProvider.Cert()}) {
        const TSignLowRun run = RunSignLow(Data, cert, TSignOptions());
        EXPECT_EQ(run.result, 1);
        EXPECT_TRUE(run.messageNull);
        EXPECT_TRUE(StartsWith(run.errorText,
                               "SignLow. Не удается получить доступ к закрытому ключу сертификата. "
                               "CryptAcquireCertificatePrivateKey failed.\r\nОшибка LE № 0x"))
            << run.errorText.substr(0, 300);
        ASSERT_LT(run.errorText.size(), SignLowErrorTextCapacity);
        EXPECT_EQ(run.buffer.substr(run.errorText.size() + 1), Untouched.substr(run.errorText.size() + 1))
            << "nothing written after the text's NUL";
        EXPECT_TRUE(run.progress.empty());
    }
    const TSignLowRun none = RunSignLow(Data, nullptr, TSignOptions());
    EXPECT_EQ(none.result, 1);
    EXPECT_EQ(none.errorText,
              "SignLow. Не удается получить доступ к закрытому ключу сертификата. Сертификат не задан.");
}

TEST_F(SignLowTest, AHashTheCertificateDoesNotNameOrTheProviderLacksFailsAtStep3) {
    // GOST R 34.10-2001 keys take the GOST hash, which the RSA provider does not have; an unknown
    // signature algorithm names no hash at all.
    const TCertContext gost = WithAlgorithm(signer.Cert(), "1.2.643.2.2.19", true);
    const TCertContext unknown = WithAlgorithm(signer.Cert(), "1.2.643.2.2.3", false);
    ASSERT_TRUE(gost);
    ASSERT_TRUE(unknown);
    const TSignLowRun gostRun = RunSignLow(Data, gost.Get(), TSignOptions());
    EXPECT_EQ(gostRun.result, 3) << gostRun.errorText;
    EXPECT_TRUE(StartsWith(gostRun.errorText,
                           "SignLow. Невозможно создать криптографическое сообщение. "
                           "CryptMsgOpenToEncode failed."))
        << gostRun.errorText;
    const TSignLowRun unknownRun = RunSignLow(Data, unknown.Get(), TSignOptions());
    EXPECT_EQ(unknownRun.result, 3);
    EXPECT_TRUE(StartsWith(unknownRun.errorText, "Ошибка получения информации по алгоритму хэширования из сертификата"))
        << unknownRun.errorText;
}

TEST_F(SignLowTest, TheKeyPeriodIsJudgedAtTheCurrentTimeWithoutAStamp) {
    const TSigner old("signer-old"), qualified("signer-qual");
    ASSERT_TRUE(old.Ready());
    ASSERT_TRUE(qualified.Ready());
    TSignOptions options;
    options.keyPeriod = true;
    EXPECT_EQ(RunSignLow(Data, signer.Cert(), options).result, 0);
    EXPECT_EQ(RunSignLow(Data, qualified.Cert(), options).result, 0) << "36 months with the qualified usage";
    const TSignLowRun expired = RunSignLow(Data, old.Cert(), options);
    EXPECT_TRUE(FailedWith(expired, 9,
                           "IsPrivateKeyValid. Срок действия закрытого ключа истек.\r\nСертификат: "
                           "2004, дата выдачи: "));
    EXPECT_EQ(expired.progress.size(), 1u);
}

TEST_F(SignLowTest, AHostWithoutTextBufferOrProgressGetsTheResultAlone) {
    BYTE* message = nullptr;
    DWORD length = 0;
    EXPECT_EQ(SignLow(reinterpret_cast<const BYTE*>(Data.data()), static_cast<DWORD>(Data.size()), &message, &length,
                      nullptr, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr),
              1);
    EXPECT_EQ(SignLow(reinterpret_cast<const BYTE*>(Data.data()), static_cast<DWORD>(Data.size()), &message, &length,
                      signer.Cert(), nullptr, 0, 0, 0, 0, 0, nullptr, nullptr),
              0);
    EXPECT_EQ(OpensslVerifyCms(std::string(reinterpret_cast<char*>(message), length), false, Data).ExitCode, 0);
    EXPECT_EQ(LocalFree(message), nullptr);
    // Nowhere to put the message: it is made and freed, nothing is written through the null slots.
    EXPECT_EQ(SignLow(reinterpret_cast<const BYTE*>(Data.data()), static_cast<DWORD>(Data.size()), nullptr, nullptr,
                      signer.Cert(), nullptr, 0, 0, 0, 0, 0, nullptr, nullptr),
              0);
}

// A message parameter that cannot be read (the type given).
DWORD UnreadableParam = 0;
BOOL WINAPI ParamFailing(HCRYPTMSG message, DWORD type, DWORD index, void* out, DWORD* size) {
    if (type == UnreadableParam) {
        SetLastError(static_cast<DWORD>(CRYPT_E_INVALID_MSG_TYPE));
        return FALSE;
    }
    return RealCalls<TSigningApi>().CryptMsgGetParam(message, type, index, out, size);
}

TEST_F(SignLowTest, AMessageThatCannotBeReopenedOrReadFailsAtItsStep) {
    const struct {
        const char* name;
        decltype(&ParamFailing) call;
        DWORD unreadable;
        int result;
        const char* text;
        size_t progress;
    } cases[] = {
        {"content unreadable", ParamFailing, CMSG_CONTENT_PARAM, 5, "GetContentMsg. Sizing of cbSignerInfo failed.", 0},
        {"content garbled", GarbledContentParam, 0, 5, "AddDataToMsg. Ошибка загрузки данных в сообщение.", 0},
        {"encoding unreadable", ParamFailing, CMSG_ENCODED_MESSAGE, 10, "GetContentMsg. Sizing of cbSignerInfo failed.",
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TSeamOverride<TSigningApi> seam;
        seam->CryptMsgGetParam = c.call;
        UnreadableParam = c.unreadable;
        const TSignLowRun run = RunSignLow(Data, signer.Cert(), TSignOptions());
        EXPECT_TRUE(FailedWith(run, c.result, c.text));
        EXPECT_EQ(run.progress.size(), c.progress);
    }
}

TEST_F(SignLowTest, ACachedKeyContextSignsAgain) {
    TSignOptions options;
    options.cacheKey = true;
    for (int call = 0; call < 2; ++call) {
        const TSignLowRun run = RunSignLow(Data, signer.Cert(), options);
        ASSERT_EQ(run.result, 0) << run.errorText;
        EXPECT_EQ(OpensslVerifyCms(run.message, false, Data).ExitCode, 0);
    }
}

TEST(SignLowErrorText, ALongerTextIsCutToTheCapacityWithItsNul) {
    const size_t cases[] = {0, 10, SignLowErrorTextCapacity - 1, SignLowErrorTextCapacity,
                            3 * SignLowErrorTextCapacity};
    for (size_t length : cases) {
        SCOPED_TRACE(length);
        std::string buffer(2 * SignLowErrorTextCapacity, UntouchedByte);
        CopySignLowErrorText(std::string(length, 'a'), &buffer[0]);
        const size_t kept = std::min(length, static_cast<size_t>(SignLowErrorTextCapacity - 1));
        EXPECT_EQ(buffer.find_first_not_of('a'), kept);
        EXPECT_EQ(buffer[kept], '\0');
        EXPECT_EQ(buffer.find_first_not_of(UntouchedByte, kept + 1), std::string::npos) << "nothing after the NUL";
    }
    CopySignLowErrorText("text", nullptr);  // a null buffer is never written
}

// The proxy provider's error when the user cancels (SCARD_W_CANCELLED_BY_USER).
constexpr DWORD ProviderCancel = 0x8010006E;
DWORD RealAcquireError = 0;  // what the real call left in the last error

// The real call; when it fails, the error the provider gave, as Windows passes it on.
BOOL WINAPI AcquireAsWindows(PCCERT_CONTEXT cert, DWORD flags, void* reserved, HCRYPTPROV_OR_NCRYPT_KEY_HANDLE* key,
                             DWORD* keySpec, BOOL* release) {
    if (RealCalls<TSigningApi>().CryptAcquireCertificatePrivateKey(cert, flags, reserved, key, keySpec, release))
        return TRUE;
    RealAcquireError = GetLastError();
    SetLastError(ProviderCancel);
    return FALSE;
}

// The PIN and the user's cancel, through the proxy provider over the same key.
class SignLowPin : public SignLowTest {
protected:
    static void SetUpTestSuite() { registration = std::make_unique<TProxyProviderRegistration>(); }
    static void TearDownTestSuite() { registration.reset(); }
    TAutomationJournal journal;
    TSigner proxied{"signer", ProxyProviderName};
    static inline std::unique_ptr<TProxyProviderRegistration> registration;
};

TEST_F(SignLowPin, APinIsSetWhenGivenAndAnyTextIsOne) {
    ASSERT_TRUE(proxied.Ready());
    const struct {
        const char* pin;
        std::vector<std::string> journal;
    } cases[] = {{nullptr, {}}, {"1234", {"proxycsp PIN 1234"}}, {"", {"proxycsp PIN "}}};
    for (const auto& c : cases) {
        journal.Clear();
        TSignOptions options;
        options.pin = c.pin;
        const TSignLowRun run = RunSignLow(Data, proxied.Cert(), options);
        EXPECT_EQ(run.result, 0) << run.errorText;
        EXPECT_EQ(journal.Lines(), c.journal);
        EXPECT_EQ(OpensslVerifyCms(run.message, false, Data).ExitCode, 0);
    }
}

TEST_F(SignLowPin, AWrongPinIsSetAndTheSignatureFailsAtStep4) {
    ASSERT_TRUE(proxied.Ready());
    const TEnvironmentValue wrongPin("VORSALT_PROXY_WRONG_PIN", "9999");
    TSignOptions options;
    options.pin = "9999";
    const TSignLowRun run = RunSignLow(Data, proxied.Cert(), options);
    EXPECT_TRUE(FailedWith(run, 4,
                           "SignLow. Не удается подписать сообщение. CryptMsgUpdate failed.\r\nОшибка LE "
                           "№ 0x8010006b"));
    EXPECT_EQ(journal.Lines(), std::vector<std::string>{"proxycsp PIN 9999"});
    EXPECT_TRUE(run.progress.empty());
}

TEST_F(SignLowPin, TheUsersCancelGivesItsCodeAndTextAtEitherStep) {
    ASSERT_TRUE(proxied.Ready());
    const std::string cancel =
        "SignLow. Не удается получить доступ к закрытому ключу сертификата. Операция отменена пользователем.";
    {
        const TEnvironmentValue cancelPin("VORSALT_PROXY_CANCEL_PIN", "0000");
        TSignOptions options;
        options.pin = "0000";
        const TSignLowRun run = RunSignLow(Data, proxied.Cert(), options);
        EXPECT_EQ(run.result, static_cast<int>(0x8010006E));
        EXPECT_EQ(run.errorText, cancel);
        EXPECT_TRUE(run.messageNull);
        options.pin = "1234";
        EXPECT_EQ(RunSignLow(Data, proxied.Cert(), options).result, 0) << "another PIN signs";
    }
    // The proxy cancels the opening of the key; Wine's CryptAcquireCertificatePrivateKey replaces
    // the provider's error, so the seam passes it on as Windows does.
    const TEnvironmentValue cancelAcquire("VORSALT_PROXY_CANCEL_ACQUIRE", "1");
    TSeamOverride<TSigningApi> seam;
    seam->CryptAcquireCertificatePrivateKey = AcquireAsWindows;
    RealAcquireError = 0;
    const TSignLowRun run = RunSignLow(Data, proxied.Cert(), TSignOptions());
    EXPECT_EQ(run.result, static_cast<int>(ProviderCancel));
    EXPECT_EQ(run.errorText, cancel);
    EXPECT_MEETS(RealAcquireError, ContractOr(ProviderCancel, static_cast<DWORD>(CRYPT_E_NO_KEY_PROPERTY),
                                              "the provider's error is replaced by CRYPT_E_NO_KEY_PROPERTY"));
}

}  // namespace
