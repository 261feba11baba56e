// Hashing through CMS hashed messages: SHA-1 through the platform's provider and the GOST hash
// through the test provider, both judged by python's hashlib (HashJudge.h), and every failing step.
#include "Hash.h"
#include "HashJudge.h"
#include "LocalFree.h"
#include "FailingLocalAlloc.h"
#include "ProviderApi.h"
#include "SeamOverride.h"
#include "TestCspSetup.h"
#include "TextChecks.h"
#include "WineHashedLength.h"
#include "CryptOwned.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

const TWineHashedLength WineHashedLength;

std::vector<BYTE> InputOf(const JudgedInput& input) {
    std::vector<BYTE> data(input.size);
    if (std::string(input.name) == "Digits")
        data.assign({'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'});
    if (std::string(input.name) == "Pattern")
        for (unsigned i = 0; i < input.size; ++i)
            data[i] = static_cast<BYTE>((i * 7 + 3) % 256);
    return data;
}

CRYPT_DATA_BLOB BlobOf(std::vector<BYTE>& data) {
    return {static_cast<DWORD>(data.size()), data.data()};
}

std::vector<BYTE> Digest(const CRYPT_DATA_BLOB& blob) {
    return {blob.pbData, blob.pbData + blob.cbData};
}

// A digest blob the failures must leave as it is.
const CRYPT_DATA_BLOB Untouched{7, reinterpret_cast<BYTE*>(0x1234)};

void ExpectUntouched(const CRYPT_DATA_BLOB& digest) {
    EXPECT_EQ(digest.cbData, Untouched.cbData);
    EXPECT_EQ(digest.pbData, Untouched.pbData);
}

TEST(Hash, Sha1MatchesHashlib) {
    for (const JudgedInput& input : JudgedInputs) {
        SCOPED_TRACE(input.name);
        std::vector<BYTE> data = InputOf(input);
        CRYPT_DATA_BLOB digest{};
        std::string error;
        ASSERT_EQ(HashByAlgId(CALG_SHA1, BlobOf(data), digest, &error), 0) << error;
        TLocalFree<BYTE> owner(digest.pbData);
        EXPECT_EQ(Digest(digest), std::vector<BYTE>(input.sha1, input.sha1 + 20));

        CRYPT_DATA_BLOB byOid{};
        ASSERT_EQ(_hash(szOID_OIWSEC_sha1, BlobOf(data), byOid, &error), 0) << error;
        TLocalFree<BYTE> oidOwner(byOid.pbData);
        EXPECT_EQ(Digest(byOid), Digest(digest));
    }
}

TEST(Hash, GostThroughTheTestProvider) {
    for (DWORD type : {75u, 80u}) {
        SCOPED_TRACE(type);
        TestCspRegistration csp({type});
        for (const JudgedInput& input : JudgedInputs) {
            SCOPED_TRACE(input.name);
            std::vector<BYTE> data = InputOf(input);
            CRYPT_DATA_BLOB digest{};
            std::string error;
            ASSERT_EQ(HashByAlgId(GostHashAlgId, BlobOf(data), digest, &error), 0) << error;
            TLocalFree<BYTE> owner(digest.pbData);
            EXPECT_EQ(Digest(digest), std::vector<BYTE>(input.sha256, input.sha256 + 32));
        }
    }
}

TEST(Hash, FailingSteps) {
    struct Case {
        const char* what;
        bool registered;
        const char* failSwitch;
        int result;
        const char* error;
    };
    const Case cases[] = {
        {"no provider has the algorithm", false, nullptr, 3, "_hash. Getting CMSG_HASHED  failed.\r\nОшибка LE № 0x"},
        {"the hash is not made", true, TESTCSP_FAIL_CREATE_HASH, 3,
         "_hash. Getting CMSG_HASHED  failed.\r\nОшибка LE № 0x"},
        {"the data is refused", true, TESTCSP_FAIL_HASH_DATA, 4,
         "_hash. Getting CryptMsgUpdate  failed.\r\nОшибка LE № 0x80090008"},
        {"no hash value", true, TESTCSP_FAIL_HASH_VALUE, 5,
         "_hash. Getting CryptMsgGetParam  failed.\r\nОшибка LE № 0x80090008"},
    };
    BYTE digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestCspRegistration csp(c.registered ? std::vector<DWORD>{75} : std::vector<DWORD>{});
        if (c.failSwitch)
            TestCspRegistration::SetSwitch(c.failSwitch, static_cast<DWORD>(NTE_BAD_ALGID));
        CRYPT_DATA_BLOB digest = Untouched;
        std::string error;
        EXPECT_EQ(HashByAlgId(GostHashAlgId, {sizeof digits, digits}, digest, &error), c.result);
        ExpectUntouched(digest);
        EXPECT_EQ(Head(error, c.error), c.error);
    }
}

TEST(Hash, BadInput) {
    BYTE byte = 0;
    struct Case {
        const char* what;
        ALG_ID algorithm;
        CRYPT_DATA_BLOB data;
        bool failAlloc;
        int result;
        const char* error;
    };
    const Case cases[] = {
        {"no message length fits",
         CALG_SHA1,
         {MAXDWORD, &byte},
         false,
         1,
         "_hash. Getting cbEncodedBlob length failed."},
        {"no memory", CALG_SHA1, {1, &byte}, true, 2, "_hash. Ошибка выделения памяти.\r\nОшибка LE № 0x8: "},
        {"data missing",
         CALG_SHA1,
         {5, nullptr},
         false,
         4,
         "_hash. Getting CryptMsgUpdate  failed.\r\nОшибка LE № 0x57: "},
        {"an id without OID",
         0x1234,
         {1, &byte},
         false,
         3,
         "HashByAlgId. Нет OID для алгоритма 0x1234.\r\nОшибка LE № 0x80091002: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TSeamOverride<TProviderApi> seam;
        if (c.failAlloc)
            seam->LocalAlloc = FailingLocalAlloc;
        CRYPT_DATA_BLOB digest = Untouched;
        std::string error;
        EXPECT_EQ(HashByAlgId(c.algorithm, c.data, digest, &error), c.result);
        ExpectUntouched(digest);
        EXPECT_EQ(Head(error, c.error), c.error);
    }
    CRYPT_DATA_BLOB digest = Untouched;
    std::string error;
    EXPECT_EQ(_hash(nullptr, {1, &byte}, digest, &error), 1);
    ExpectUntouched(digest);
}

// The length the tests give in Wine's place holds the whole encoded message, as crypt32 encodes it.
TEST(HashedLengthBound, HoldsTheEncodedMessage) {
    for (const JudgedInput& input : JudgedInputs) {
        SCOPED_TRACE(input.name);
        std::vector<BYTE> data = InputOf(input);
        CMSG_HASHED_ENCODE_INFO info{};
        info.cbSize = sizeof info;
        info.HashAlgorithm.pszObjId = const_cast<char*>(szOID_OIWSEC_sha1);
        const TCryptMsg message(
            CryptMsgOpenToEncode(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0, CMSG_HASHED, &info, nullptr, nullptr));
        ASSERT_NE(message.Get(), nullptr);
        ASSERT_TRUE(CryptMsgUpdate(message.Get(), data.data(), static_cast<DWORD>(data.size()), TRUE));
        DWORD encoded = 0;
        ASSERT_TRUE(CryptMsgGetParam(message.Get(), CMSG_CONTENT_PARAM, 0, nullptr, &encoded));
        EXPECT_GE(HashedLengthBound(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0, CMSG_HASHED, &info, nullptr,
                                    static_cast<DWORD>(data.size())),
                  encoded);
    }
}

}  // namespace
