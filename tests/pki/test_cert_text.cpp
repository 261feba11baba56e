// Hexadecimal texts of byte strings and serial numbers, and the common names of certificates of
// the CA test PKI.
#include <gtest/gtest.h>
#include <vector>
#include "CertApi.h"
#include "CertTestParts.h"
#include "CertText.h"
#include "SeamOverride.h"

namespace {
CRYPT_INTEGER_BLOB Blob(std::vector<BYTE>& bytes) {
    return {static_cast<DWORD>(bytes.size()), bytes.empty() ? nullptr : bytes.data()};
}
}  // namespace

TEST(BytesToHex, TwoUpperCaseDigitsAByteInStoredOrder) {
    const struct {
        std::vector<BYTE> bytes;
        const char* text;
    } cases[] = {
        {{}, ""},
        {{0x00}, "00"},
        {{0x0A, 0xFF, 0x10}, "0AFF10"},
        {{0x00, 0x01, 0xBC}, "0001BC"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BytesToHex(c.bytes.data(), static_cast<DWORD>(c.bytes.size())), c.text);
}

TEST(IntegerBlobToHex, MostSignificantByteFirstWithAndWithoutBlanks) {
    struct {
        std::vector<BYTE> stored;  // least significant byte first, as CryptoAPI keeps integers
        const char* withBlanks;
        const char* without;
    } cases[] = {
        {{}, "", ""},
        {{0xAB}, "AB", "AB"},
        {{0x01, 0x02}, "0201", "0201"},
        {{0x01, 0x02, 0x03}, "0302 01", "030201"},
        {{0x01, 0x02, 0x03, 0x04}, "0403 0201", "04030201"},
        {{0x01, 0x02, 0x03, 0x04, 0x05}, "0504 0302 01", "0504030201"},
        {{0x05, 0x04, 0x00, 0x00}, "0000 0405", "00000405"},  // leading zero bytes stay
        {{0xFF, 0x00, 0x00}, "0000 FF", "0000FF"},            // odd count, leading zeros
        {{0x0F, 0x0E, 0x0D, 0x0C, 0x0B, 0x0A}, "0A0B 0C0D 0E0F", "0A0B0C0D0E0F"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.without);
        EXPECT_EQ(Taken(IntegerBlobToHex(Blob(c.stored), true)), c.withBlanks);
        EXPECT_EQ(Taken(IntegerBlobToHex(Blob(c.stored), false)), c.without);
    }
}

// openssl shows the serial numbers without the sign byte that DER needs before C1; CryptoAPI keeps
// the integer's bytes as encoded, so the text begins with 00.
TEST(GetCertSerialNumberText, SerialNumbersOfTheTestPki) {
    const struct {
        const char* cert;
        const char* withBlanks;
        const char* without;
    } cases[] = {
        {"sub", "00C1 D2E3 F405 06", "00C1D2E3F40506"},
        {"end", "1A2B 3C4D", "1A2B3C4D"},
        {"root", "3C", "3C"},
        {"root-2023a", "023A", "023A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cert);
        TCertContext cert = CaPkiCert(c.cert);
        ASSERT_TRUE(cert);
        EXPECT_EQ(Taken(GetCertSerialNumberText(cert.Get(), true)), c.withBlanks);
        EXPECT_EQ(Taken(GetCertSerialNumberText(cert.Get(), false)), c.without);
    }
}

TEST(GetCertSubjectCN, CommonNamesOfTheTestPki) {
    const std::string longName = std::string(32, '\xDF') + std::string(32, '\xE6');  // 32 "Я", 32 "ж"
    const struct {
        const char* cert;
        std::string name;
    } cases[] = {
        {"root", "ЦС_3"}, {"sub", "Подчинённый ЦС_3"}, {"end", "Иванов Иван Иванович"},
        {"nocn", ""},     {"longcn", longName},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cert);
        TCertContext cert = CaPkiCert(c.cert);
        ASSERT_TRUE(cert);
        EXPECT_EQ(Taken(GetCertSubjectCN(cert.Get())), c.name);
    }
}

TEST(CertNameIn128, SubjectAndIssuerCommonNames) {
    TCertContext end = CaPkiCert("end"), nocn = CaPkiCert("nocn"), root = CaPkiCert("root");
    ASSERT_TRUE(end && nocn && root);
    EXPECT_EQ(CertNameIn128(end.Get(), false), "Иванов Иван Иванович");
    EXPECT_EQ(CertNameIn128(end.Get(), true), "Подчинённый ЦС_3");
    EXPECT_EQ(CertNameIn128(nocn.Get(), false), "");
    EXPECT_EQ(CertNameIn128(root.Get(), false), CertNameIn128(root.Get(), true));
}

TEST(CertTexts, NoMemoryGivesNoText) {
    TCertContext end = CaPkiCert("end");
    ASSERT_TRUE(end);
    TSeamOverride<TCertApi> seam;
    seam->LocalAlloc = FailingLocalAlloc;
    EXPECT_EQ(IntegerBlobToHex(end.Get()->pCertInfo->SerialNumber, true), nullptr);
    EXPECT_EQ(GetCertSerialNumberText(end.Get(), false), nullptr);
    EXPECT_EQ(GetCertSubjectCN(end.Get()), nullptr);
}
