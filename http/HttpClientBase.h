// What both HTTP clients hold and do the same way: the body of the last response, the captured
// headers, the settings, the download file, the certificate store, the server certificate's
// expiry, and the sequence of one request. The stack-specific steps are the clients' own.
#pragma once
#include <string>
#include "CapturedHeaders.h"
#include "CryptOwned.h"
#include "ResponseBody.h"
#include "ServerCertRecord.h"
#include "class_http.h"

class THttpClientBase : public TAllHTTP {
public:
    THttpClientBase() = default;
    THttpClientBase(const THttpClientBase&) = delete;
    THttpClientBase& operator=(const THttpClientBase&) = delete;

    const void* GetResponse(bool detach) override { return body.Get(detach); }
    const void* GetResponseWithSize(int* size) override { return body.GetWithSize(size); }
    int GetResponseSize() override { return body.Size(); }
    bool ResponseEquals(std::string text) override { return body.Equals(text); }
    bool ResponseStartsWith(std::string text, int n) override { return body.StartsWith(text, n); }

    // Opens the request, then the download file, sends, and reads the body: 0, or the result of
    // the first step that failed.
    int Request(std::string objectPath, int verb, const void* data, int length) override;

    // The switches each client honours where its stack has them: WinINet the quiet mode and the
    // dialogs, WinHTTP the client certificate and the strict server certificate check.
    void SetQuiet(bool value) override { quiet = value; }
    void SetShowDialogs(bool show) override { showDialogs = show; }
    void SetSendClientCert(bool send) override { sendClientCert = send; }
    void SetStrictServerCert(bool strict) override { strictServerCert = strict; }
    bool IsSecure() override { return secure; }
    // The type is used by TWinHTTP only.
    int SetProxy(int accessType, std::string list, std::string bypass) override;
    void SetCertStore(HCERTSTORE store) override;
    void SetDownloadFile(std::string path) override;
    void SetProgress(TProgressRange* value) override { progress = value; }
    void SetUseSystemProxy(bool use) override { useSystemProxy = use; }
    void SetProxyPassword(std::string password) override { proxyPassword = password; }
    void SetProxyUser(std::string user) override { proxyUser = user; }
    std::string GetCapturedHeader(std::string name) override { return captured.Get(name); }
    void Release() override { delete this; }
    // From the last secure send; false before one, or after a send that was not secure.
    bool GetServerCertExpiry(FILETIME* expiry) override;
    int GetStatusCode() override { return StatusCode; }

protected:
    // The steps of Request, each 0 or its failure result.
    virtual int OpenRequest(const std::string& objectPath, int verb) = 0;
    virtual int OpenDownloadFile() = 0;
    virtual int SendRequest(const void* data, int length) = 0;
    virtual int ReadRequestData() = 0;

    void CloseDownloadFile() { downloadFile.Close(); }
    // Reads the registered headers of the response (at status 200 or 201).
    void CaptureHeaders();
    // Uses a store that the client opened itself and closes when it releases it.
    void TakeOwnStore(HCERTSTORE store);

    bool secure = false;
    bool quiet = false;
    bool showDialogs = true;
    bool sendClientCert = true;
    bool strictServerCert = false;
    HCERTSTORE certStore = nullptr;  // the caller's, or ownStore
    // Closed with the check flag: a client logs when that reports a failure.
    TOwned<TCertStoreTraits<CERT_CLOSE_STORE_CHECK_FLAG>> ownStore;
    int proxyAccessType = 0;
    std::string proxyList;
    std::string proxyBypass;
    bool useSystemProxy = true;
    std::string proxyPassword;
    std::string proxyUser;
    std::string downloadPath;
    TFileHandle downloadFile;
    TProgressRange* progress = nullptr;
    std::string errorText;
    TResponseBody body;
    TCapturedHeaders captured;
    TServerCertRecord serverCert;  // its expiry zero when the certificate could not be read
};
