// The server certificate record that TWinHTTP keeps from its last secure send, with the texts
// WinHTTP allocated inside it.
#pragma once
#include <windows.h>
#include <winhttp.h>

struct TServerCertInfo {
    WINHTTP_CERTIFICATE_INFO Record{};  // zero when the certificate could not be read

    TServerCertInfo() = default;
    ~TServerCertInfo() {
        for (LPWSTR text : {Record.lpszSubjectInfo, Record.lpszIssuerInfo, Record.lpszProtocolName,
                            Record.lpszSignatureAlgName, Record.lpszEncryptionAlgName})
            if (text != nullptr)
                LocalFree(text);
    }
    TServerCertInfo(const TServerCertInfo&) = delete;
    TServerCertInfo& operator=(const TServerCertInfo&) = delete;
};
