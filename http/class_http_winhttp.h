// TAllHTTP over WinHTTP, synchronous. Texts cross the WinHTTP boundary as UTF-16.
// winhttp.h stays out of this header (it does not mix with wininet.h): handles are void*.
#pragma once
#include <memory>
#include <string>
#include "CapturedHeaders.h"
#include "LocalFree.h"
#include "ResponseBody.h"
#include "class_http.h"

struct TInetHandles {
    void* Session = nullptr;
    void* Connection = nullptr;
    void* Request = nullptr;
    unsigned short Port = 80;  // the default port of the secure mode
};

struct TServerCertInfo;  // WINHTTP_CERTIFICATE_INFO with the texts WinHTTP put into it

class TWinHTTP : public TAllHTTP {
public:
    // The second argument is not used.
    explicit TWinHTTP(bool secure, int unused = 0);
    ~TWinHTTP() override;
    TWinHTTP(const TWinHTTP&) = delete;
    TWinHTTP& operator=(const TWinHTTP&) = delete;

    const void* GetResponse(bool detach) override;
    const void* GetResponseWithSize(int* size) override;
    int GetResponseSize() override;
    bool ResponseEquals(std::string text) override;
    // The body is compared as ANSI text after conversion by the declared charset.
    bool ResponseStartsWith(std::string text, int n) override;

    // Reconnects at the port of the last successful Connect (0: the default port).
    int Reconnect() override;
    std::string GetServer() override;
    int Connect(std::string server, int port) override;

    int Request(std::string objectPath, int verb, const void* data, int length) override;
    int SendForm(std::string objectPath, std::map<std::string, std::string>* fields, int verb) override;
    int UploadFile(std::string objectPath, const char* filePath) override;
    int UploadData(std::string objectPath, const void* data, int length) override;

    void SetAgentName(std::string name) override;
    void SetQuiet(bool) override {}
    void SetShowDialogs(bool) override {}
    void SetSendClientCert(bool send) override { sendClientCert = send; }
    void SetStrictServerCert(bool strict) override { strictServerCert = strict; }
    // Only on an open session; the next session has WinHTTP's defaults again.
    bool SetTimeouts(int milliseconds) override;
    int SetSecure(bool secure) override;
    bool IsSecure() override { return secure; }

    void ReleaseCertStore() override;
    void SetCertStore(HCERTSTORE store) override;
    // Type: 8 auto-detect, 2 proxy list, 4 configuration script, 1 direct.
    int GetProxyInfo(int* type, std::string* proxyList, std::string* bypassList) override;
    int SetProxy(int accessType, std::string proxyList, std::string bypassList) override;
    // Keeps only the issuer and serial number; the certificate is looked up again when used.
    int SetCert(PCCERT_CONTEXT certificate, bool machineStore) override;
    PCCERT_CONTEXT GetCert() override;

    void SetDownloadFile(std::string path) override;
    void SetProgress(TProgressRange* value) override { progress = value; }
    void SetHeaders(std::string headers) override;
    std::string GetLastErrorText() override;
    void SetUseSystemProxy(bool use) override { useSystemProxy = use; }
    void SetProxyPassword(std::string password) override { proxyPassword = password; }
    void SetProxyUser(std::string user) override { proxyUser = user; }

    std::string GetCapturedHeader(std::string name) override { return captured.Get(name); }
    int GetHeaderByName(std::string name, std::string* value) override;
    void Release() override { delete this; }
    bool GetServerCertExpiry(FILETIME* expiry) override;
    int GetStatusCode() override { return StatusCode; }

private:
    // Closes everything and opens the session with the agent and the proxy settings.
    int OpenSession();
    // The current user's proxy configuration; when it cannot be read and a server is given,
    // automatic discovery for that server. 0 or the platform's error.
    unsigned long GetIEProxySettings(const std::wstring& server, std::wstring* proxy, std::wstring* bypass,
                                     std::wstring* autoConfigUrl, bool* autoDetect);
    void CloseRequest();
    void CloseConnection();
    void CloseHandles();
    void CloseDownloadFile();

    int OpenRequest(const std::wstring& object, int verb);
    int SetSecurityFlags(unsigned long flags);
    int ApplyClientCert();
    int OpenDownloadFile();
    int SendRequest(const void* data, int length);
    int ReadRequestData();
    int QuerySecurityFlags(unsigned long* flags);

    int ConnectStep(const std::wstring& server, int port);
    int RunRequest(const std::wstring& object, int verb, const void* data, int length);
    int MapStatus(int length);
    void ReadServerCertInfo();

    std::unique_ptr<TInetHandles> handles;
    void* downloadFile = nullptr;
    unsigned long requestFlags = 0x00000100;  // WINHTTP_FLAG_REFRESH
    bool secure = false;
    HCERTSTORE certStore = nullptr;
    bool strictServerCert = false;
    bool sendClientCert = true;
    bool clientCertApplied = false;
    DWORD certKind = 0;  // 0: no client certificate chosen
    CERT_NAME_BLOB certIssuer{};
    CRYPT_INTEGER_BLOB certSerial{};
    TLocalFree<unsigned char> issuerBytes;
    TLocalFree<unsigned char> serialBytes;
    int proxyAccessType = 0;
    std::string proxyList;
    std::string proxyBypass;
    std::wstring server;
    int connectPort = 0;
    std::wstring objectPath;
    std::string downloadPath;
    std::wstring requestHeaders;
    bool useSystemProxy = true;
    std::string proxyPassword;
    std::string proxyUser;
    bool storeOwned = false;
    std::string errorText;
    std::wstring agent = L"TWinHTTP";
    TResponseBody body;
    TCapturedHeaders captured;
    std::unique_ptr<TServerCertInfo> serverCertInfo;
    TProgressRange* progress = nullptr;
};
