// THTTP: the HTTP client over WinINet. Handles are kept as void* so that this header does not
// pull in wininet.h (it clashes with winhttp.h in one translation unit).
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <string>
#include "HttpClientBase.h"
#include "HttpOwned.h"

// Flags of every request: keep connection, no cookies, redirects between HTTP and HTTPS and
// certificate date and name faults tolerated, resynchronize, no cache.
constexpr DWORD THttpDefaultRequestFlags = 0x0048F900;
constexpr DWORD THttpSecureFlag = 0x00800000;

class THTTP : public THttpClientBase {
public:
    THTTP(bool secure, int resumeOffset);
    ~THTTP() override;

    int Reconnect() override;
    std::string GetServer() override;
    int Connect(std::string server, int port) override;
    int SendForm(std::string objectPath, std::map<std::string, std::string>* fields, int verb) override;
    int UploadFile(std::string objectPath, const char* filePath) override;
    int UploadData(std::string objectPath, const void* data, int length) override;
    void SetAgentName(std::string name) override;
    // On the open session and its connection; process-wide when no session is open.
    bool SetTimeouts(int milliseconds) override;
    int SetSecure(bool secure) override;
    void ReleaseCertStore() override;
    int GetProxyInfo(int* type, std::string* proxyList, std::string* bypassList) override;
    int SetCert(PCCERT_CONTEXT certificate, bool machineStore) override;
    PCCERT_CONTEXT GetCert() override;
    void SetHeaders(std::string headers) override;
    std::string GetLastErrorText() override;
    int GetHeaderByName(std::string name, std::string* value) override;

    // Inspection for tests and the support report.
    DWORD RequestFlags() const { return requestFlags; }
    WORD DefaultPort() const { return port; }
    bool Offline() const { return offline; }

private:
    int OpenSession();
    void CloseRequest();
    void CloseConnection();
    void CloseHandles();

    // With the client certificate applied.
    int OpenRequest(const std::string& path, int verb) override;
    int ApplyClientCert();
    int OpenDownloadFile() override;
    int SendRequest(const void* data, int length) override;
    int SendAttempts(const std::string& headerText, const void* data, int length, bool& certTried);
    int MapStatus(int length, bool& startOver);  // by the last status
    void ReadServerCertInfo();
    int ReadRequestData() override;
    int ReadLoop();
    int QueryExtendedError();

    // Closed request, then connection, then session.
    TWinInetHandle session;
    TWinInetHandle connection;
    TWinInetHandle request;
    bool offline = false;
    int expectedLength = 0;
    DWORD requestFlags = THttpDefaultRequestFlags;
    WORD port = 80;
    TCertContext clientCert;
    std::string server;
    std::string objectPath;
    int resumeOffset;
    std::string headers;
    DWORD connectedState = 0;
    std::string agentName = "VYRN";
    DWORD socketError = 0;
};

// The Internet Explorer version line of the support report: "<version> (<build>)".
std::string GetIEVersion();
