#include "HttpClientBase.h"

int THttpClientBase::Request(std::string objectPath, int verb, const void* data, int length) {
    errorText.clear();
    int result = OpenRequest(objectPath, verb);
    if (result == 0)
        result = OpenDownloadFile();
    if (result == 0)
        result = SendRequest(data, length);
    if (result == 0)
        result = ReadRequestData();
    return result;
}

void THttpClientBase::CaptureHeaders() {
    captured.Refresh([this](const std::string& name) {
        std::string value;
        GetHeaderByName(name, &value);
        return value;
    });
}

int THttpClientBase::SetProxy(int accessType, std::string list, std::string bypass) {
    proxyAccessType = accessType;
    proxyList = list;
    proxyBypass = bypass;
    return 0;
}

void THttpClientBase::SetCertStore(HCERTSTORE store) {
    ReleaseCertStore();
    certStore = store;
}

void THttpClientBase::TakeOwnStore(HCERTSTORE store) {
    SetCertStore(store);
    ownStore.Reset(store);
}

bool THttpClientBase::GetServerCertExpiry(FILETIME* expiry) {
    if (!serverCert.Known())
        return false;
    if (expiry != nullptr)
        *expiry = serverCert.Expiry();
    return true;
}

void THttpClientBase::SetDownloadFile(std::string path) {
    CloseDownloadFile();
    downloadPath = path;
}
