#include "StandinFiles.h"
#include <windows.h>
#include <wincrypt.h>
#include <shlobj.h>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<char> StandinCa() {
    std::string path = std::string("Z:") + VORSALT_STANDIN_PKI_DIR + "/ca.der";
    for (char& c : path)
        if (c == '/')
            c = '\\';
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::wstring ProgramFilesX86() {
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILESX86, nullptr, SHGFP_TYPE_CURRENT, folder);
    return folder;
}

}  // namespace

bool TrustStandinCa(bool trust) {
    const std::vector<char> der = StandinCa();
    HCERTSTORE root = CertOpenSystemStoreA(0, "Root");
    if (der.empty() || !root)
        return false;
    PCCERT_CONTEXT ca = CertCreateCertificateContext(X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                                     static_cast<DWORD>(der.size()));
    bool done = false;
    if (ca && trust) {
        done = CertAddCertificateContextToStore(root, ca, CERT_STORE_ADD_REPLACE_EXISTING, nullptr) != FALSE;
    } else if (ca) {
        PCCERT_CONTEXT found = CertFindCertificateInStore(root, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, ca, nullptr);
        done = !found || CertDeleteCertificateFromStore(found);
    }
    CertControlStore(root, 0, CERT_STORE_CTRL_COMMIT, nullptr);
    if (ca)
        CertFreeCertificateContext(ca);
    CertCloseStore(root, 0);
    return done;
}

std::wstring ZantholderPath() {
    return ProgramFilesX86() + L"\\VELTA\\Зантхолдер ЛУМ\\Zantholder.exe";
}

bool PlaceZantholder() {
    const std::wstring velta = ProgramFilesX86() + L"\\VELTA";
    CreateDirectoryW(velta.c_str(), nullptr);
    CreateDirectoryW((velta + L"\\Зантхолдер ЛУМ").c_str(), nullptr);
    HANDLE file = CreateFileW(ZantholderPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

void RemoveZantholder() {
    DeleteFileW(ZantholderPath().c_str());
    RemoveDirectoryW(ZantholderPath().c_str());
}
