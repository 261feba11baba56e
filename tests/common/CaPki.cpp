#include "CaPki.h"
#include <sstream>
#include "TempFiles.h"
#include "WinePaths.h"

std::string CaPkiFile(const std::string& name) {
    return WindowsPathOf(std::string(VORSALT_CA_PKI_DIR) + "/" + name);
}

std::string CaPkiBytes(const std::string& name) {
    return FileBytes(CaPkiFile(name));
}

TCertContext CaPkiCert(const std::string& name) {
    const std::string der = CaPkiBytes(name + ".der");
    return TCertContext(CertCreateCertificateContext(X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                                     static_cast<DWORD>(der.size())));
}

namespace {
// The rest of the line of a PKI list that begins with the name.
std::string ListedFor(const std::string& list, const std::string& name) {
    std::istringstream lines(CaPkiBytes(list));
    std::string line;
    while (std::getline(lines, line))
        if (line.compare(0, name.size() + 1, name + " ") == 0)
            return line.substr(name.size() + 1);
    return std::string();
}
}  // namespace

std::string OpensslCrlView(const std::string& name) {
    return ListedFor("crls.txt", name);
}

std::string OpensslCertSha1(const std::string& name) {
    return ListedFor("certs.txt", name);
}

std::vector<std::string> OpensslPoints(const std::string& name) {
    std::istringstream words(ListedFor("points.txt", name));
    std::vector<std::string> urls;
    for (std::string url; words >> url;)
        urls.push_back(url);
    return urls;
}
