#include "class_http_wininet.h"
#include "Registry.h"

std::string GetIEVersion() {
    const char key[] = "SOFTWARE\\Microsoft\\Internet Explorer";
    std::string build, version, serviceVersion;
    RegReadString(HKEY_LOCAL_MACHINE, key, "Build", &build, 0);
    RegReadString(HKEY_LOCAL_MACHINE, key, "Version", &version, 0);
    RegReadString(HKEY_LOCAL_MACHINE, key, "svcVersion", &serviceVersion, 0);
    return (serviceVersion.empty() ? version : serviceVersion) + " (" + build + ")";
}
