#include "StandinFiles.h"
#include <windows.h>
#include <wincrypt.h>
#include <shlobj.h>
#include "CryptOwned.h"
#include "TempFiles.h"
#include "WinePaths.h"

namespace {
std::wstring ProgramFilesX86() {
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILESX86, nullptr, SHGFP_TYPE_CURRENT, folder);
    return folder;
}
}  // namespace

bool TrustStandinCa(bool trust) {
    const std::string der = FileBytes(WindowsPathOf(std::string(VORSALT_STANDIN_PKI_DIR) + "/ca.der"));
    const TCertStore root(CertOpenSystemStoreA(0, "Root"));
    if (der.empty() || !root)
        return false;
    const TCertContext ca(CertCreateCertificateContext(X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                                       static_cast<DWORD>(der.size())));
    bool done = false;
    if (ca && trust) {
        done = CertAddCertificateContextToStore(root.Get(), ca.Get(), CERT_STORE_ADD_REPLACE_EXISTING, nullptr) !=
               FALSE;
    } else if (ca) {
        PCCERT_CONTEXT found = CertFindCertificateInStore(root.Get(), X509_ASN_ENCODING, 0, CERT_FIND_EXISTING,
                                                          ca.Get(), nullptr);
        done = !found || CertDeleteCertificateFromStore(found);
    }
    CertControlStore(root.Get(), 0, CERT_STORE_CTRL_COMMIT, nullptr);
    return done;
}

std::wstring ZantholderPath() {
    return ProgramFilesX86() + L"\\VELTA\\Зантхолдер ЛУМ\\Zantholder.exe";
}

bool PlaceZantholder() {
    const std::wstring velta = ProgramFilesX86() + L"\\VELTA";
    CreateDirectoryW(velta.c_str(), nullptr);
    CreateDirectoryW((velta + L"\\Зантхолдер ЛУМ").c_str(), nullptr);
    return bool(
        TFileHandle(CreateFileW(ZantholderPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)));
}

void RemoveZantholder() {
    DeleteFileW(ZantholderPath().c_str());
    RemoveDirectoryW(ZantholderPath().c_str());
}
