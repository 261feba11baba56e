// Chains of the default chain engine over the CA test PKI, with the root "ЦС_3" trusted and the
// intermediate in "CA" of a scratch HKEY_CURRENT_USER: the issuer and the root, the trust status
// at a given time and its lines.
#include <gtest/gtest.h>
#include "CertApi.h"
#include "CertChain.h"
#include "CertTestParts.h"
#include "CertText.h"
#include "DebugOutputCapture.h"
#include "ScratchStores.h"
#include "SeamOverride.h"
#include "TestTimes.h"
#include "TextChecks.h"

namespace {
const char NoIssuer[] =
    "MyGetCertIssuer. Не удается найти сертификат издателя.  Попробуйте установить актуальную цепочку сертификатов.";
const char Header[] = "Сертификат или издатель в цепочке (Status: ";

class CertChains : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(stores.Active()); }
    TScratchStores stores{"cert-chains"};
};

BOOL WINAPI NoChain(HCERTCHAINENGINE, PCCERT_CONTEXT, LPFILETIME, HCERTSTORE, PCERT_CHAIN_PARA, DWORD, LPVOID,
                    PCCERT_CHAIN_CONTEXT*) {
    SetLastError(static_cast<DWORD>(E_OUTOFMEMORY));
    return FALSE;
}

std::string NameOf(PCCERT_CONTEXT cert) {
    return PkiNameOf(cert, {"end", "sub", "root", "expired", "orphan", "broken"});
}
}  // namespace

TEST_F(CertChains, IssuerOrRootFoundByBuildingTheChain) {
    const struct {
        const char* cert;
        bool root;
        const char* found;  // "" for none
    } cases[] = {
        {"end", false, "sub"},     {"end", true, "root"},     {"sub", false, "root"},
        {"sub", true, "root"},     {"root", false, ""},       {"root", true, ""},  // self-signed: one element
        {"orphan", false, ""},     {"broken", false, ""},                          // untrusted root; issuer nowhere
        {"expired", false, "sub"}, {"expired", true, "root"},                      // the trust is not looked at
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.cert) + (c.root ? " root" : " issuer"));
        TCertContext cert = CaPkiCert(c.cert);
        ASSERT_TRUE(cert);
        std::string errorText = "untouched";
        TCertContext found(MyGetCertIssuer(cert.Get(), c.root, &errorText));
        EXPECT_EQ(NameOf(found.Get()), c.found);
        if (*c.found) {
            EXPECT_EQ(errorText, "untouched");
        } else {
            EXPECT_EQ(Head(errorText, NoIssuer), NoIssuer);
        }
    }
}

TEST_F(CertChains, IssuerFailuresWithAndWithoutTheCallersText) {
    TCertContext end = CaPkiCert("end"), root = CaPkiCert("root");
    ASSERT_TRUE(end && root);
    {
        TDebugOutputCapture capture;
        EXPECT_EQ(MyGetCertIssuer(root.Get(), false, nullptr), nullptr);
        bool logged = false;
        for (const std::string& line : capture.Lines())
            logged |= StartsWith(line, std::string("VYRNLog: ") + NoIssuer);
        EXPECT_TRUE(logged) << "without the caller's text the reason goes to the debug output";
    }
    TSeamOverride<TCertApi> seam;
    seam->CertGetCertificateChain = NoChain;
    std::string errorText;
    EXPECT_EQ(MyGetCertIssuer(end.Get(), false, &errorText), nullptr);
    EXPECT_TRUE(StartsWith(errorText, "MyGetCertIssuer. Не удается построить цепочку сертификатов.")) << errorText;
    seam->CertGetCertificateChain = RealCalls<TCertApi>().CertGetCertificateChain;
    seam->CertDuplicateCertificateContext = NoDuplicate;
    EXPECT_EQ(MyGetCertIssuer(end.Get(), true, &errorText), nullptr);
    EXPECT_TRUE(StartsWith(errorText, "MyGetCertIssuer. Ошибка при дублировании сертификат издателя.")) << errorText;
}

TEST(ChainErrorStatusText, OneLineABitInTheOrderOfTheTable) {
    const std::string all =
        std::string(Header) + "ffffffff):" + "\r\n- Просрочен." + "\r\n- Are not properly time nested." +
        "\r\n- Отозван." + "\r\n- Имеет не правильную подпись." + "\r\n- Недействителен для данного назначения." +
        "\r\n- Нет доверия к корневому сертификату." + "\r\n- TRUST REVOCATION STATUS UNKNOWN." +
        "\r\n- Издан сертификатом, который сам заверяет." + "\r\n- Имеет неправильное extension." +
        "\r\n- Имеет запрещенное политикое extension." + "\r\n- Has a basic constraints extension and." +
        "\r\n- Has an invalid name constraints extension." +
        "\r\n- Has a name constraints extension containing unsupported fields." +
        "\r\n- Has a name constraints extension and a name constraint is missing for one of the name choices in "
        "the end certificate." +
        "\r\n- Has a name constraints extension and there is not a permitted name constraint for one of the name "
        "choices in the end certificate." +
        "\r\n- The certificate or one of the certificates in the certificate chain has a name constraints "
        "extension and one of the name choices in the end certificate is explicitly excluded." +
        "\r\n- Revocation status is either off-line or stale." +
        "\r\n- The end certificate does not have any resultant issuance policies, and one of the issuing CA "
        "certificates has a policy constraints extension requiring it." +
        "\r\n- CERT_TRUST_IS_PARTIAL_CHAIN.";
    const struct {
        DWORD status;
        std::string text;
    } cases[] = {
        {0, ""},
        {0x1 | 0x20 | 0x10000, std::string(Header) +
                                   "10021):\r\n- Просрочен.\r\n- Нет доверия к корневому сертификату." +
                                   "\r\n- CERT_TRUST_IS_PARTIAL_CHAIN."},
        {0x10000 | 0x1000000, std::string(Header) + "1010000):\r\n- Revocation status is either off-line or stale." +
                                  "\r\n- CERT_TRUST_IS_PARTIAL_CHAIN."},
        {0x20000 | 0x800000 | 0x4000000, std::string(Header) + "4820000):"},  // bits without a line
        {0x4, std::string(Header) + "4):\r\n- Отозван."},
        {0xFFFFFFFF, all},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChainErrorStatusText(c.status), c.text) << std::hex << c.status;
}

TEST_F(CertChains, ElementsTextNamesTheEndCertificate) {
    const struct {
        const char* cert;
        std::string text;
    } cases[] = {
        {"end", "Иванов Иван Иванович::"},
        {"broken", std::string("Без цепочки::") + Header + "10000):\r\n- CERT_TRUST_IS_PARTIAL_CHAIN."},
        {"orphan", std::string("Посторонний ЦС::") + Header + "20):\r\n- Нет доверия к корневому сертификату."},
    };
    for (const auto& c : cases) {
        TCertContext cert = CaPkiCert(c.cert);
        ASSERT_TRUE(cert);
        CERT_CHAIN_PARA parameters{};
        parameters.cbSize = sizeof parameters;
        PCCERT_CHAIN_CONTEXT chain = nullptr;
        ASSERT_TRUE(CertGetCertificateChain(nullptr, cert.Get(), nullptr, nullptr, &parameters, 0, nullptr, &chain));
        EXPECT_EQ(ChainElementsText(chain), c.text) << c.cert;
        CertFreeCertificateChain(chain);
    }
}

TEST_F(CertChains, ChainCheckedAtAGivenTime) {
    const SYSTEMTIME now{};
    const struct {
        const char* cert;
        const char* when;
        SYSTEMTIME time;  // wYear 0: none, the chain is built for now
        int result;
        std::string text;
    } cases[] = {
        {"end", "inside its validity", SystemTimeOf(2025, 6, 1), 0, "untouched"},
        {"end", "now", now, 0, "untouched"},
        {"end", "before its validity", SystemTimeOf(2020, 12, 31), 1, std::string(Header) + "1):\r\n- Просрочен."},
        {"end", "after its validity", SystemTimeOf(2048, 6, 1), 1, std::string(Header) + "1):\r\n- Просрочен."},
        {"end", "after the intermediate's", SystemTimeOf(2049, 6, 1), 1, std::string(Header) + "1):\r\n- Просрочен."},
        {"sub", "inside its validity", SystemTimeOf(2025, 6, 1), 0, "untouched"},
        {"root", "inside its validity", SystemTimeOf(2025, 6, 1), 0, "untouched"},
        {"expired", "now", now, 1, std::string(Header) + "1):\r\n- Просрочен."},
        {"notyet", "now", now, 1, std::string(Header) + "1):\r\n- Просрочен."},
        {"notyet", "inside its validity", SystemTimeOf(2065, 1, 1), 1, std::string(Header) + "1):\r\n- Просрочен."},
        {"broken", "now", now, 0x10000, std::string(Header) + "10000):\r\n- CERT_TRUST_IS_PARTIAL_CHAIN."},
        {"orphan", "now", now, 0x20, std::string(Header) + "20):\r\n- Нет доверия к корневому сертификату."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.cert) + " " + c.when);
        TCertContext cert = CaPkiCert(c.cert);
        ASSERT_TRUE(cert);
        std::string errorText = "untouched";
        TDebugOutputCapture capture;
        EXPECT_EQ(CheckCertChainAtTime(cert.Get(), c.time.wYear != 0 ? &c.time : nullptr, 0, &errorText), c.result);
        EXPECT_EQ(errorText, c.text);
        if (c.result != 0) {
            EXPECT_TRUE(Logged(capture, CertNameIn128(cert.Get(), false) + "::" + c.text));
        }
    }
}

TEST_F(CertChains, NoChainForTheCheck) {
    TCertContext end = CaPkiCert("end");
    ASSERT_TRUE(end);
    SYSTEMTIME noDate = SystemTimeOf(2025, 13, 1);
    std::string errorText;
    EXPECT_EQ(CheckCertChainAtTime(end.Get(), &noDate, 0, &errorText), -1);
    EXPECT_TRUE(StartsWith(errorText, "CertGetCertificateChain failed")) << errorText;

    TSeamOverride<TCertApi> seam;
    seam->CertGetCertificateChain = NoChain;
    errorText.clear();
    EXPECT_EQ(CheckCertChainAtTime(end.Get(), nullptr, 0, &errorText), -1);
    EXPECT_TRUE(StartsWith(errorText, "CertGetCertificateChain failed\r\nОшибка LE № 0x8007000e")) << errorText;
}
