#include "OsVersion.h"
#include "Owned.h"
#include "SystemFolders.h"
#include "Tests.h"
#include "class_http.h"

namespace {

// However the ping ends, the client goes back to the default headers and sends no certificates.
class PingHeaders {
public:
    explicit PingHeaders(TAllHTTP& client) : client_(client) { client_.SetHeaders("X-Operation: ping"); }
    ~PingHeaders() {
        client_.SetHeaders("");
        client_.SetSendClientCert(false);
    }
    PingHeaders(const PingHeaders&) = delete;
    PingHeaders& operator=(const PingHeaders&) = delete;

private:
    TAllHTTP& client_;
};

}  // namespace

bool IsZantholderInstalled() {
    const std::string path = GetProgramFilesDir(IsOS64Bit()) + "\\VELTA\\Зантхолдер ЛУМ\\Zantholder.exe";
    // Opening follows a link to its target; a file that another program holds exclusively exists too.
    const TFileHandle file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file || GetLastError() == ERROR_SHARING_VIOLATION;
}

int PingZantholder(TAllHTTP& client, std::string& info) {
    PingHeaders headers(client);
    if (client.Connect("127.0.0.1", 8088) != 0) {
        info = client.GetLastErrorText();
        return 1;
    }
    client.SetSendClientCert(false);
    client.SetStrictServerCert(false);
    if (client.SetSecure(false) != 0) {
        info = client.GetLastErrorText();
        return 2;
    }
    client.SetShowDialogs(false);
    if (client.SendForm("", nullptr, VerbNone) != 0) {
        info = client.GetLastErrorText();
        return 4;
    }
    if (!client.ResponseStartsWith("OK", 2)) {
        info = "Получен неожиданный ответ от ПО Зантхолдер: ";
        if (const void* body = client.GetResponse(false))
            info += static_cast<const char*>(body);
        return 4;
    }
    return 0;
}
