// Certificate contexts from DER and from base64 text as openssl wrote it.
#include <gtest/gtest.h>
#include "CertContext.h"
#include "CertTestParts.h"
#include "TextChecks.h"

namespace {
// The base64 lines of the PEM file, without its header and footer, joined by the separator.
std::string PemBody(const std::string& name, const std::string& separator) {
    const std::string pem = CaPkiBytes(name + ".crt");
    std::string body;
    size_t at = 0;
    while (at < pem.size()) {
        size_t end = pem.find('\n', at);
        if (end == std::string::npos)
            end = pem.size();
        const std::string line = pem.substr(at, end - at);
        if (!line.empty() && line[0] != '-')
            body += (body.empty() ? "" : separator) + line;
        at = end + 1;
    }
    return body;
}

std::string NameOfContext(const std::string& data, std::string* errorText) {
    TCertContext cert(GetCertContext(data.data(), static_cast<DWORD>(data.size()), errorText));
    return PkiNameOf(cert.Get(), {"end", "root"});
}
}  // namespace

TEST(GetCertContext, DerAndBase64OfTheSameCertificate) {
    const struct {
        const char* form;
        std::string data;
    } cases[] = {
        {"DER", CaPkiBytes("end.der")},
        {"base64 in lines of 64, LF", PemBody("end", "\n") + "\n"},
        {"base64 in lines of 64, CR LF", PemBody("end", "\r\n") + "\r\n"},
        {"base64 on one line", PemBody("end", "")},
        {"base64 with blanks", PemBody("end", " ")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.form);
        std::string errorText = "untouched";
        EXPECT_EQ(NameOfContext(c.data, &errorText), "end");
        EXPECT_EQ(errorText, "untouched");
    }
}

TEST(GetCertContext, DataThatGivesNoCertificate) {
    const char Base64[] = "GetCertContext. Ошибка перекодировки из BASE64.";
    const char NoCertificate[] = "GetCertContext. Ошибка создания файла сертификата.";
    const std::string oneLine = PemBody("end", "");
    const std::string der = CaPkiBytes("end.der");
    const struct {
        const char* form;
        std::string data;
        const char* text;
    } cases[] = {
        {"the PEM file", CaPkiBytes("end.crt"), Base64},
        {"base64 cut inside a group of four", oneLine.substr(0, oneLine.size() - 2), Base64},
        {"base64 with a tab inside", oneLine.substr(0, 8) + "\t" + oneLine.substr(8), Base64},
        {"no bytes", "", Base64},
        {"base64 of half the certificate", oneLine.substr(0, oneLine.size() / 8 * 4), NoCertificate},
        {"half the DER", der.substr(0, der.size() / 2), NoCertificate},
        {"a CRL in DER", CaPkiBytes("sub.crl"), NoCertificate},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.form);
        std::string errorText;
        EXPECT_EQ(NameOfContext(c.data, &errorText), "");
        EXPECT_EQ(Head(errorText, c.text), c.text);
        EXPECT_NE(errorText.find("Ошибка LE № 0x"), std::string::npos) << errorText;
    }
}
