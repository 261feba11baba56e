#include "Tests.h"
#include "class_http.h"

namespace {

// However a check ends, the client stops sending client certificates.
class ClientCertOff {
public:
    explicit ClientCertOff(TAllHTTP& client) : client_(client) {}
    ~ClientCertOff() { client_.SetSendClientCert(false); }
    ClientCertOff(const ClientCertOff&) = delete;
    ClientCertOff& operator=(const ClientCertOff&) = delete;

private:
    TAllHTTP& client_;
};

// Connects to host and switches to HTTPS: 0, or the failing step (1 to 3) with the client's words.
int ConnectSecure(const std::string& host, TAllHTTP& client, std::string& info) {
    if (client.Connect(host, 0) != 0) {
        info = client.GetLastErrorText();
        return 1;
    }
    client.SetSendClientCert(true);
    client.SetStrictServerCert(false);
    if (client.SetSecure(true) != 0) {
        info = client.GetLastErrorText();
        return 2;
    }
    if (client.Reconnect() != 0) {
        info = client.GetLastErrorText();
        return 3;
    }
    client.SetShowDialogs(false);
    return 0;
}

}  // namespace

int CheckSSL(const std::string& host, TAllHTTP& client, std::string& info) {
    ClientCertOff certOff(client);
    int r = ConnectSecure(host, client, info);
    if (r != 0)
        return r;
    r = client.SendForm("//", nullptr, VerbGet);
    if (r != 0)
        info = client.GetLastErrorText();
    return r;
}

int PingAppServer(const std::string& host, TAllHTTP& client, std::string& info) {
    ClientCertOff certOff(client);
    int r = ConnectSecure(host, client, info);
    if (r != 0)
        return r;
    r = client.SendForm("lumweb/check", nullptr, VerbNone);  // SendForm posts it
    if (r != 0) {
        info = client.GetLastErrorText();
        return r;
    }
    if (!client.ResponseStartsWith("{\"CorrelationId\":\"", 18)) {
        info = "Соединение установлено, но от сервера получен неожиданный ответ: ";
        if (const void* body = client.GetResponse(false))
            info += static_cast<const char*>(body);
        return 100;
    }
    return 0;
}
