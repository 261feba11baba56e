// The CMS message and attribute operations over Wine's crypt32 (the message double where Wine
// lacks a call), and the private key's usage period over the CA test PKI's signers.
#include "CmsHelpers.h"
#include <gtest/gtest.h>
#include "CaPki.h"
#include "CmsOnDer.h"
#include "CryptOwned.h"
#include "Der.h"
#include "LocalFree.h"
#include "ScratchStores.h"
#include "SeamOverride.h"
#include "SignSteps.h"
#include "SignerFixture.h"
#include "SigningApi.h"
#include "TestTimes.h"
#include "TextChecks.h"
#include "WineBehaviour.h"

namespace {

std::string Bytes(const BYTE* bytes, DWORD count) {
    return std::string(reinterpret_cast<const char*>(bytes), count);
}

TEST(CmsAttributes, TheCommentAttributeHoldsTwoBmpStrings) {
    MY_CRYPT_ATRIBUTE attribute;
    std::string text = "untouched";
    ASSERT_EQ(CreateCommentAtribute("qTvo", "1.0", attribute, &text), 0);
    EXPECT_EQ(text, "untouched");
    EXPECT_STREQ(attribute.pszObjId, "1.3.6.1.4.1.311.2.1.120");
    EXPECT_EQ(attribute.cValue, 1u);
    EXPECT_EQ(attribute.rgValue, &attribute.Value);
    EXPECT_EQ(Bytes(attribute.Value.pbData, attribute.Value.cbData),
              std::string("\x30\x12\x1E\x08\x00\x71\x00\x54\x00\x76\x00\x6F\x1E\x06\x00\x31\x00\x2E\x00\x30", 20));
    // Its first three fields stand for a CRYPT_ATTRIBUTE.
    const CRYPT_ATTRIBUTE* asPlatform = reinterpret_cast<const CRYPT_ATTRIBUTE*>(&attribute);
    EXPECT_EQ(asPlatform->rgValue->cbData, 20u);
}

TEST(CmsAttributes, BmpStringsAreBigEndianUtf16OfTheAnsiText) {
    const struct {
        std::string text;
        DWORD length;
        std::string encoding;
    } cases[] = {
        {"qTvo", 4, std::string("\x1E\x08\x00\x71\x00\x54\x00\x76\x00\x6F", 10)},
        {"qTvo", 2, std::string("\x1E\x04\x00\x71\x00\x54", 6)},  // the first length bytes only
        {"Да", 2, std::string("\x1E\x04\x04\x14\x04\x30", 6)},    // cp1251 bytes C4 E0
        {"", 0, std::string("\x1E\x00", 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        DWORD length = c.length;
        BYTE* out = nullptr;
        ASSERT_EQ(MakeBMPString(c.text.c_str(), length, out, nullptr), 0);
        const TLocalFree<BYTE> owner(out);
        EXPECT_EQ(Bytes(out, length), c.encoding);
    }
}

TEST(CmsAttributes, BitStringsKeepTheBytesWithoutUnusedBits) {
    const struct {
        std::string bytes, header;
    } cases[] = {
        {"\x30\x03\x0A", std::string("\x03\x04\x00", 3)},
        {std::string(126, 'r'), std::string("\x03\x7F\x00", 3)},  // below 127: n + 3 bytes
        {std::string(127, 'r'), std::string("\x03\x81\x80\x00", 4)},
        {std::string(300, 'r'), std::string("\x03\x82\x01\x2D\x00", 5)},
    };
    for (const auto& c : cases) {
        BYTE* out = nullptr;
        DWORD length = 0;
        EXPECT_TRUE(CreateBIT_BLOBAtribute(reinterpret_cast<const BYTE*>(c.bytes.data()),
                                           static_cast<DWORD>(c.bytes.size()), out, length, nullptr));
        const TLocalFree<BYTE> owner(out);
        EXPECT_EQ(Bytes(out, length), c.header + c.bytes);
    }
}

TEST(CmsAttributes, TheHashComesFromTheCertificatesSignatureAlgorithm) {
    const TCertContext signer = CaPkiCert("signer");
    ASSERT_TRUE(signer);
    std::string text;
    EXPECT_STREQ(GetHashOidFromCert(signer.Get(), &text), "2.16.840.1.101.3.4.2.1");  // sha256RSA: sha256
    const TCertContext unknown = WithAlgorithm(signer.Get(), "1.2.643.2.2.3", false);
    EXPECT_EQ(GetHashOidFromCert(unknown.Get(), &text), nullptr);
    EXPECT_TRUE(StartsWith(text, "Ошибка получения информации по алгоритму хэширования из сертификата")) << text;
}

// A signed message of the PKI's signer over a few bytes, as the signing core opens it.
class CmsMessage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(stores.Active());
        ASSERT_TRUE(signer.Ready());
        DWORD keySpec = 0;
        BOOL release = FALSE;
        ASSERT_TRUE(CryptAcquireCertificatePrivateKey(signer.Cert(), CRYPT_ACQUIRE_USE_PROV_INFO_FLAG, nullptr,
                                                      provider.Receive(), &keySpec, &release));
        CMSG_SIGNER_ENCODE_INFO signerInfo{};
        signerInfo.cbSize = sizeof signerInfo;
        signerInfo.pCertInfo = signer.Cert()->pCertInfo;
        signerInfo.hCryptProv = provider.Get();
        signerInfo.dwKeySpec = keySpec;
        signerInfo.HashAlgorithm.pszObjId = const_cast<LPSTR>(szOID_NIST_sha256);
        CMSG_SIGNED_ENCODE_INFO info{};
        info.cbSize = sizeof info;
        info.cSigners = 1;
        info.rgSigners = &signerInfo;
        message.Reset(CryptMsgOpenToEncode(MsgEncoding, 0, CMSG_SIGNED, &info, nullptr, nullptr));
        ASSERT_TRUE(message);
        ASSERT_TRUE(CryptMsgUpdate(message.Get(), reinterpret_cast<const BYTE*>("data"), 4, TRUE));
    }
    // A parameter of the message: CMSG_CONTENT_PARAM of an encoded one and CMSG_ENCODED_MESSAGE
    // of a reopened one are the whole message.
    std::string Param(DWORD parameter = CMSG_ENCODED_MESSAGE) {
        BYTE* out = nullptr;
        DWORD length = 0;
        if (!GetContentMsg(message.Get(), parameter, out, length, 0, nullptr))
            return std::string();
        const TLocalFree<BYTE> owner(out);
        return Bytes(out, length);
    }

    TScratchStores stores{"cms-message"};
    TSigner signer{"signer"};
    TCryptProv provider;
    TCryptMsg message;
};

TEST_F(CmsMessage, AnUnsignedAttributeGoesToTheReopenedMessage) {
    ASSERT_TRUE(ReloadMsg(message, nullptr));
    const std::string before = Param();
    std::string valueBytes("\x05\x01\x00", 3);
    const CRYPT_ATTR_BLOB value{3, reinterpret_cast<BYTE*>(&valueBytes[0])};
    std::string text;
    const char NoUnauthenticated[] = "CryptMsgControl(CMSG_CTRL_ADD_SIGNER_UNAUTH_ATTR) fails with 0x8009100C";
    EXPECT_MEETS(Add_UNAUTH_ATTR(message.Get(), value, TimeStampTokenOid, 0, &text), ContractOr(0, 4, NoUnauthenticated));
    EXPECT_TRUE(Holds(ContractOr("",
                                 "Add_UNAUTH_ATTR. Не удалось добавить штамп времени в контекст сообщения. "
                                 "CryptMsgControl failed.",
                                 NoUnauthenticated),
                      [&](const std::string& head) { return head.empty() ? text.empty() : StartsWith(text, head); }))
        << text;

    const TCmsOnDer double_;
    EXPECT_EQ(Add_UNAUTH_ATTR(message.Get(), value, TimeStampTokenOid, 0, &text), 0);
    const std::string after = Param();
    EXPECT_EQ(after, WithUnsignedAttribute(before, 0,
                                           der::Element(der::Sequence, der::ObjectIdentifier(TimeStampTokenOid) +
                                                                           der::Element(0x31, valueBytes))));
    EXPECT_EQ(AttributeValueOf(after, TimeStampTokenOid), valueBytes);
}

TEST_F(CmsMessage, AnEmptyValueIsRefusedAndTheMessageStaysAsItWas) {
    ASSERT_TRUE(ReloadMsg(message, nullptr));
    const TCmsOnDer double_;
    const std::string before = Param();
    std::string text;
    EXPECT_EQ(Add_UNAUTH_ATTR(message.Get(), CRYPT_ATTR_BLOB{0, nullptr}, TimeStampTokenOid, 0, &text), 1);
    EXPECT_TRUE(StartsWith(text, "Add_UNAUTH_ATTR. Пустой блок данных.1.2.840.113549.1.9.16.2.14")) << text;
    EXPECT_EQ(Param(), before);
}

TEST_F(CmsMessage, AFailedReadingLeavesNothingHandedOut) {
    BYTE* out = reinterpret_cast<BYTE*>(1);
    DWORD length = 7;
    std::string text;
    // An encoded message has no signer to read the signature value of before it is reopened;
    // index 5 names no signer at all.
    EXPECT_FALSE(GetContentMsg(message.Get(), CMSG_ENCRYPTED_DIGEST, out, length, 5, &text));
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(length, 0u);
    EXPECT_TRUE(StartsWith(text, "GetContentMsg. Sizing of cbSignerInfo failed.")) << text;
}

TEST_F(CmsMessage, AFailedReloadAtTheLastStepLeavesTheNewMessageToTheCaller) {
    TSeamOverride<TSigningApi> seam;
    seam->CryptMsgGetParam = GarbledContentParam;
    std::string text;
    EXPECT_FALSE(ReloadMsg(message, &text));
    // The encoded message is closed (its handle may come back as the new one's); the new one,
    // for decoding, is the caller's to close.
    EXPECT_TRUE(message);
    EXPECT_TRUE(StartsWith(text, "AddDataToMsg. Ошибка загрузки данных в сообщение.")) << text;
}

TEST_F(CmsMessage, TheReopenedMessageGivesTheSameEncoding) {
    const std::string before = Param(CMSG_CONTENT_PARAM);
    ASSERT_TRUE(ReloadMsg(message, nullptr));
    EXPECT_EQ(Param(), before);
    const TCmsOnDer double_;
    BYTE* signature = nullptr;
    DWORD length = 0;
    ASSERT_TRUE(GetContentMsg(message.Get(), CMSG_ENCRYPTED_DIGEST, signature, length, 0, nullptr));
    const TLocalFree<BYTE> owner(signature);
    EXPECT_EQ(length, 256u) << "an RSA-2048 signature";
    EXPECT_EQ(Bytes(signature, length), SignatureValueOf(before, 0));
}

TEST(KeyPeriod, FifteenMonthsOrThirtySixWithTheQualifiedUsage) {
    const SYSTEMTIME issued = SystemTimeOf(2023, 1, 31, 10, 20, 30);
    const TCertContext plainOriginal = CaPkiCert("signer"), qualifiedOriginal = CaPkiCert("signer-qual");
    const TCertContext plain = WithNotBefore(plainOriginal.Get(), issued);
    const TCertContext qualified = WithNotBefore(qualifiedOriginal.Get(), issued);
    ASSERT_TRUE(plain);
    ASSERT_TRUE(qualified);
    const struct {
        PCCERT_CONTEXT cert;
        SYSTEMTIME moment;
        bool valid;
    } cases[] = {
        {plain.Get(), issued, true},
        {plain.Get(), SystemTimeOf(2024, 4, 30, 10, 20, 30), true},  // 31 January + 15 months: the end of April
        {plain.Get(), SystemTimeOf(2024, 4, 30, 10, 20, 31), false},
        {qualified.Get(), SystemTimeOf(2024, 4, 30, 10, 20, 31), true},
        {qualified.Get(), SystemTimeOf(2026, 1, 31, 10, 20, 30), true},
        {qualified.Get(), SystemTimeOf(2026, 1, 31, 10, 20, 31), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.moment.wYear << "-" << c.moment.wMonth << "-" << c.moment.wDay << " "
                                        << c.moment.wSecond);
        bool valid = !c.valid;
        std::string text = "untouched";
        EXPECT_EQ(IsPrivateKeyValid(c.cert, c.moment, valid, &text), 0);
        EXPECT_EQ(valid, c.valid);
        if (c.valid) {
            EXPECT_EQ(text, "untouched");
        } else {
            EXPECT_TRUE(StartsWith(text, "IsPrivateKeyValid. Срок действия закрытого ключа истек.\r\nСертификат: 20"))
                << text;
            EXPECT_TRUE(Contains(text, ", дата выдачи: 31 ")) << text;
            EXPECT_TRUE(Contains(text, " 2023, дата проверки: ")) << text;
        }
    }
}

TEST(KeyPeriod, AMomentThatIsNoTimeIsResult1) {
    const TCertContext signer = CaPkiCert("signer");
    bool valid = true;
    std::string text;
    EXPECT_EQ(IsPrivateKeyValid(signer.Get(), SystemTimeOf(2024, 13, 1, 0, 0, 0), valid, &text), 1);
    EXPECT_TRUE(valid) << "untouched";
    EXPECT_TRUE(StartsWith(text, "IsPrivateKeyValid. Ошибка работы со временем.")) << text;
}

}  // namespace
