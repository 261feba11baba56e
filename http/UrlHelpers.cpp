#include "UrlHelpers.h"
#include "StringHelpers.h"

std::string GetAspPageName(std::string path) {
    size_t end = path.rfind(".asp");
    if (end == std::string::npos)
        end = path.size();
    const size_t slash = path.rfind('/', end);
    if (slash == std::string::npos)
        return std::string();
    return path.substr(slash + 1, end - slash - 1);
}

bool SplitUrl(std::string url, std::string* host, std::string* path, std::string* scheme, std::string* port) {
    const size_t marker = url.find("//");
    if (marker == std::string::npos)
        return false;
    if (scheme != nullptr)
        *scheme = url.substr(0, marker);
    std::string foundHost;
    std::string foundPath;
    if (!SplitHostPath(url, foundHost, foundPath))
        return false;
    if (host != nullptr) {
        const size_t colon = foundHost.find(':');
        if (port != nullptr && colon != std::string::npos) {
            *port = foundHost.substr(colon + 1);
            foundHost.resize(colon);
        }
        *host = foundHost;
    }
    if (path != nullptr)
        *path = foundPath;
    return true;
}
