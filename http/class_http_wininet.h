// THTTP: the HTTP client over WinINet. Handles are kept as void* so that this header does not
// pull in wininet.h (it clashes with winhttp.h in one translation unit).
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <string>
#include "CapturedHeaders.h"
#include "ResponseBody.h"
#include "class_http.h"

// Flags of every request: keep connection, no cookies, redirects between HTTP and HTTPS and
// certificate date and name faults tolerated, resynchronize, no cache.
constexpr DWORD THttpDefaultRequestFlags = 0x0048F900;
constexpr DWORD THttpSecureFlag = 0x00800000;

class THTTP : public TAllHTTP {
public:
    THTTP(bool secure, int resumeOffset);
    ~THTTP() override;
    THTTP(const THTTP&) = delete;
    THTTP& operator=(const THTTP&) = delete;

    const void* GetResponse(bool detach) override;
    const void* GetResponseWithSize(int* size) override;
    int GetResponseSize() override;
    bool ResponseEquals(std::string text) override;
    bool ResponseStartsWith(std::string text, int n) override;
    int Reconnect() override;
    std::string GetServer() override;
    int Connect(std::string server, int port) override;
    int Request(std::string objectPath, int verb, const void* data, int length) override;
    int SendForm(std::string objectPath, std::map<std::string, std::string>* fields, int verb) override;
    int UploadFile(std::string objectPath, const char* filePath) override;
    int UploadData(std::string objectPath, const void* data, int length) override;
    void SetAgentName(std::string name) override;
    void SetQuiet(bool quiet) override;
    void SetShowDialogs(bool show) override;
    void SetSendClientCert(bool send) override;
    void SetStrictServerCert(bool strict) override;
    // On the open session and its connection; process-wide when no session is open.
    bool SetTimeouts(int milliseconds) override;
    int SetSecure(bool secure) override;
    bool IsSecure() override;
    void ReleaseCertStore() override;
    void SetCertStore(HCERTSTORE store) override;
    int GetProxyInfo(int* type, std::string* proxyList, std::string* bypassList) override;
    int SetProxy(int accessType, std::string proxyList, std::string bypassList) override;
    int SetCert(PCCERT_CONTEXT certificate, bool machineStore) override;
    PCCERT_CONTEXT GetCert() override;
    void SetDownloadFile(std::string path) override;
    void SetProgress(TProgressRange* progress) override;
    void SetHeaders(std::string headers) override;
    std::string GetLastErrorText() override;
    void SetUseSystemProxy(bool use) override;
    void SetProxyPassword(std::string password) override;
    void SetProxyUser(std::string user) override;
    std::string GetCapturedHeader(std::string name) override;
    int GetHeaderByName(std::string name, std::string* value) override;
    void Release() override;
    bool GetServerCertExpiry(FILETIME* expiry) override;
    int GetStatusCode() override;

    // Inspection for tests and the support report.
    DWORD RequestFlags() const { return requestFlags; }
    WORD DefaultPort() const { return port; }
    bool Offline() const { return offline; }

private:
    int OpenSession();
    void CloseDownloadFile();
    void CloseRequest();
    void CloseConnection();
    void CloseHandles();

    int OpenRequest(const std::string& path, int verb);
    int ApplyClientCert();
    int OpenDownloadFile();
    int SendRequest(const void* data, int length);
    int SendAttempts(const std::string& headerText, const void* data, int length, bool& certTried);
    int MapStatus(int length, bool& startOver);  // by the last status
    void ReadServerCertInfo();
    void ReleaseServerCertInfo();
    int ReadRequestData();
    int ReadLoop();
    int QueryExtendedError();

    void* session = nullptr;
    void* connection = nullptr;
    void* request = nullptr;
    bool offline = false;
    HANDLE downloadFile = nullptr;
    int expectedLength = 0;
    DWORD requestFlags = THttpDefaultRequestFlags;
    WORD port = 80;
    bool secure = false;
    HCERTSTORE certStore = nullptr;
    bool showDialogs = true;
    PCCERT_CONTEXT clientCert = nullptr;
    TProgressRange* progress = nullptr;
    std::string proxyList;
    std::string proxyBypass;
    std::string server;
    std::string objectPath;
    std::string downloadPath;
    int resumeOffset;
    std::string headers;
    bool useSystemProxy = true;
    std::string proxyPassword;
    std::string proxyUser;
    bool ownsStore = false;
    DWORD connectedState = 0;
    std::string errorText;
    std::string agentName = "VYRN";
    bool quiet = false;
    TResponseBody body;
    TCapturedHeaders capturedHeaders;
    void* serverCertInfo = nullptr;  // INTERNET_CERTIFICATE_INFO, its texts from WinINet
    DWORD socketError = 0;
};

// The Internet Explorer version line of the support report: "<version> (<build>)".
std::string GetIEVersion();
