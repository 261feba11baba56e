// The HTTP client that the rest of the program drives; WinINet and WinHTTP implement it.
// Texts are ANSI (cp1251). Failures come back as results (0 is success) and as the client's
// error text, read with GetLastErrorText; no operation lets an exception out.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <map>
#include <string>
#include "ProgressRange.h"

// The verb codes of Request and SendForm. VerbNone is refused by Request before anything is
// sent; SendForm sends it as POST.
enum THttpVerb : int { VerbNone = 0, VerbPut = 1, VerbGet = 2, VerbPost = 3 };

class TAllHTTP {
public:
    virtual ~TAllHTTP() = default;

    // Body of the last response read; null when it is empty. Detached, the caller frees it
    // with LocalFree.
    virtual const void* GetResponse(bool detach) = 0;
    virtual const void* GetResponseWithSize(int* size) = 0;
    virtual int GetResponseSize() = 0;
    virtual bool ResponseEquals(std::string text) = 0;
    virtual bool ResponseStartsWith(std::string text, int n) = 0;

    virtual int Reconnect() = 0;
    virtual std::string GetServer() = 0;
    // Port 0: the default port of the secure mode.
    virtual int Connect(std::string server, int port) = 0;

    // verb: a THttpVerb. 0 only for status 200 or 201; most other statuses come back as the result.
    virtual int Request(std::string objectPath, int verb, const void* data, int length) = 0;
    virtual int SendForm(std::string objectPath, std::map<std::string, std::string>* fields, int verb) = 0;
    virtual int UploadFile(std::string objectPath, const char* filePath) = 0;
    virtual int UploadData(std::string objectPath, const void* data, int length) = 0;

    virtual void SetAgentName(std::string name) = 0;
    virtual void SetQuiet(bool quiet) = 0;
    virtual void SetShowDialogs(bool show) = 0;
    virtual void SetSendClientCert(bool send) = 0;
    virtual void SetStrictServerCert(bool strict) = 0;
    virtual bool SetTimeouts(int milliseconds) = 0;
    virtual int SetSecure(bool secure) = 0;
    virtual bool IsSecure() = 0;

    virtual void ReleaseCertStore() = 0;
    // The store stays the caller's; the client never closes it.
    virtual void SetCertStore(HCERTSTORE store) = 0;
    virtual int GetProxyInfo(int* type, std::string* proxyList, std::string* bypassList) = 0;
    virtual int SetProxy(int accessType, std::string proxyList, std::string bypassList) = 0;
    virtual int SetCert(PCCERT_CONTEXT certificate, bool machineStore) = 0;
    // A context that the caller frees.
    virtual PCCERT_CONTEXT GetCert() = 0;

    virtual void SetDownloadFile(std::string path) = 0;
    // Not owned; null detaches.
    virtual void SetProgress(TProgressRange* progress) = 0;
    // Header lines separated by CR LF for every later request; "" brings the default back.
    virtual void SetHeaders(std::string headers) = 0;
    virtual std::string GetLastErrorText() = 0;
    virtual void SetUseSystemProxy(bool use) = 0;
    virtual void SetProxyPassword(std::string password) = 0;
    virtual void SetProxyUser(std::string user) = 0;

    // Registers the name and gives its value at the last 200 or 201; "" clears every name.
    virtual std::string GetCapturedHeader(std::string name) = 0;
    virtual int GetHeaderByName(std::string name, std::string* value) = 0;
    virtual void Release() = 0;
    virtual bool GetServerCertExpiry(FILETIME* expiry) = 0;
    virtual int GetStatusCode() = 0;

protected:
    // 0 from the start of each send until its status has been read.
    int StatusCode = 0;
};
