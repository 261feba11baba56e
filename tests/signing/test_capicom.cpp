// The certificate bridges over the stand-in "CAPICOM.Certificate".
#include "Capicomlib.h"
#include <gtest/gtest.h>
#include "CaPki.h"
#include "ClientFixture.h"
#include "TextChecks.h"

namespace {

class CertificateBridges : public AutomationClient {
protected:
    CertificateBridges() : AutomationClient("capicom") {}
    void SetUp() override {
        AutomationClient::SetUp();
        object.CreateDispatchObject(L"CAPICOM.Certificate");
    }
    TMyComPtr object;
};

TEST_F(CertificateBridges, ACertificateGoesInAndTheSameComesOut) {
    for (const char* name : {"signer", "tsa", "root"}) {
        SCOPED_TRACE(name);
        const TCertContext cert = CaPkiCert(name);
        ASSERT_TRUE(cert);
        std::string text;
        ASSERT_EQ(ImportCertToCapicom(cert.Get(), object, &text), 0) << text;
        const TCertContext back(ExportCapicomCertificate(object, &text));
        ASSERT_TRUE(back) << text;
        EXPECT_TRUE(CertCompareCertificate(X509_ASN_ENCODING, cert.Get()->pCertInfo, back.Get()->pCertInfo));
        EXPECT_EQ(text, "");
    }
    EXPECT_EQ(Journaled("CAPICOM.Certificate.Export method I4:0").size(), 3u);
}

TEST_F(CertificateBridges, ARefusalGivesTheFixedTextNotTheObjectsWords) {
    const TCertContext cert = CaPkiCert("signer");
    std::string text;
    {
        const TAutomationFailures failures("CAPICOM.Certificate.Import=80070057");
        EXPECT_EQ(ImportCertToCapicom(cert.Get(), object, &text), 4);
        EXPECT_TRUE(StartsWith(text, "Ошибка создания сертификата: Export CAPICOM_ENCODE_BASE64 failed")) << text;
        EXPECT_FALSE(Contains(text, "Сбой по сценарию теста"));
    }
    ASSERT_EQ(ImportCertToCapicom(cert.Get(), object, &text), 0);
    const TAutomationFailures failures("CAPICOM.Certificate.Export=80004005");
    text.clear();
    EXPECT_EQ(ExportCapicomCertificate(object, &text), nullptr);
    EXPECT_TRUE(StartsWith(text, "Ошибка создания сертификата: Export CAPICOM_ENCODE_BASE64 failed")) << text;
}

TEST_F(CertificateBridges, AnEmptyObjectExportsNothing) {
    std::string text;
    EXPECT_EQ(ExportCapicomCertificate(object, &text), nullptr);  // nothing imported: Export fails
    EXPECT_TRUE(StartsWith(text, "Ошибка создания сертификата: Export CAPICOM_ENCODE_BASE64 failed")) << text;
    TMyComPtr none;
    EXPECT_EQ(ImportCertToCapicom(CaPkiCert("signer").Get(), none, &text), 4);
}

}  // namespace
