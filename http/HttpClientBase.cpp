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

void THttpClientBase::SetDownloadFile(std::string path) {
    CloseDownloadFile();
    downloadPath = path;
}
