#include "Tests.h"
#include "Hash.h"
#include "LocalFree.h"
#include "Providers.h"
#include "Registry.h"

int CheckCSPInstalled(std::string& info) {
    if (!IsCryptoProInstalled(&info))
        return 1;
    int result = 0;

    std::string version;
    if (RegReadString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Crypto Pro\\Settings", "Version", &version, 0) == 0 &&
        version.compare(0, 3, "3.6") == 0 && version != "3.6.7777") {
        result = 100;
        info = "Необходимо установить версию КриптоПро CSP выше 3.6.7777. В настоящее время установлена " + version;
    }

    DWORD legacySuites = 0;
    if (RegReadDword(HKEY_LOCAL_MACHINE, "SOFTWARE\\Crypto Pro\\Cryptography\\CurrentVersion\\Parameters",
                     "tls_client_disable_legacy_cipher_suites", &legacySuites) == 0 &&
        legacySuites == 0) {
        result = 100;
        if (!info.empty())
            info += "\r\n";
        info += "Необходимо убрать поддержку устаревших cipher suite в настройках КриптоПро CSP";
    }
    return result;
}

int CheckCSPWork(std::string& info) {
    BYTE data[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'};
    CRYPT_DATA_BLOB digest{};
    const int result = HashByAlgId(GostHashAlgId, {sizeof data, data}, digest, &info);
    const TLocalFree<BYTE> unused(digest.pbData);
    return result;
}
