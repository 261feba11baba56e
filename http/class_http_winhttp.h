// TAllHTTP over WinHTTP, synchronous. Texts cross the WinHTTP boundary as UTF-16.
// winhttp.h stays out of this header (it does not mix with wininet.h): handles are void*.
#pragma once
#include <memory>
#include <string>
#include "HttpClientBase.h"
#include "HttpOwned.h"
#include "LocalFree.h"

// The session, the connection on it and the request on that; closed request first.
struct TInetHandles {
    TWinHttpHandle Session;
    TWinHttpHandle Connection;
    TWinHttpHandle Request;
    unsigned short Port = 80;  // the default port of the secure mode
};

class TWinHTTP : public THttpClientBase {
public:
    // The second argument is not used.
    explicit TWinHTTP(bool secure, int unused = 0);
    ~TWinHTTP() override;

    // The body is compared as ANSI text after conversion by the declared charset.
    bool ResponseStartsWith(std::string text, int n) override;

    // Reconnects at the port of the last successful Connect (0: the default port).
    int Reconnect() override;
    std::string GetServer() override;
    int Connect(std::string server, int port) override;

    int SendForm(std::string objectPath, std::map<std::string, std::string>* fields, int verb) override;
    int UploadFile(std::string objectPath, const char* filePath) override;
    int UploadData(std::string objectPath, const void* data, int length) override;

    void SetAgentName(std::string name) override;
    // Only on an open session; the next session has WinHTTP's defaults again.
    bool SetTimeouts(int milliseconds) override;
    int SetSecure(bool secure) override;

    void ReleaseCertStore() override;
    // Type: 8 auto-detect, 2 proxy list, 4 configuration script, 1 direct.
    int GetProxyInfo(int* type, std::string* proxyList, std::string* bypassList) override;
    // Keeps only the issuer and serial number; the certificate is looked up again when used.
    int SetCert(PCCERT_CONTEXT certificate, bool machineStore) override;
    PCCERT_CONTEXT GetCert() override;

    void SetHeaders(std::string headers) override;
    std::string GetLastErrorText() override;

    int GetHeaderByName(std::string name, std::string* value) override;

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

    int OpenRequest(const std::string& object, int verb) override;
    int SetSecurityFlags(unsigned long flags);
    int ApplyClientCert();
    int OpenDownloadFile() override;
    int SendRequest(const void* data, int length) override;
    int ReadRequestData() override;
    int QuerySecurityFlags(unsigned long* flags);

    int ConnectStep(const std::wstring& server, int port);
    int MapStatus(int length);
    void ReadServerCertInfo();

    std::unique_ptr<TInetHandles> handles;
    unsigned long requestFlags = 0x00000100;  // WINHTTP_FLAG_REFRESH
    bool clientCertApplied = false;
    DWORD certKind = 0;  // 0: no client certificate chosen
    CERT_NAME_BLOB certIssuer{};
    CRYPT_INTEGER_BLOB certSerial{};
    TLocalFree<unsigned char> issuerBytes;
    TLocalFree<unsigned char> serialBytes;
    std::wstring server;
    int connectPort = 0;
    std::wstring objectPath;
    std::wstring requestHeaders;
    std::wstring agent = L"TWinHTTP";
};
