#include "CertSearch.h"
#include "ChainInstall.h"
#include "CryptOwned.h"
#include "Tests.h"
#include "class_http.h"

int CheckRootInstalled(const std::string& host, TAllHTTP& client, const std::string& path, std::string& info) {
    if (client.Connect(host, 0) != 0) {
        info = client.GetLastErrorText();
        return 1;
    }
    if (InstallActualChainFromSite(client, path, &info) == 0)
        return 0;
    return CheckRootOffline(info);
}

int CheckRootOffline(std::string& info) {
    const TCertContext root(FindNewestCertByCN("ROOT", "ЦС_3"));
    if (root) {
        info += "\r\nНе удалось проверить наличие актуальной цепочки сертификатов online";
        return 100;
    }
    info += "\r\nОшибка нахождения корневого сертификата";
    return 1;
}
