#include "Func_hosts.h"
#include "Endpoints.h"
#include "SystemFolders.h"
#include "TextFileLines.h"
#include <algorithm>

namespace {

// Bigger than any hosts file in use; keeps a runaway file from filling memory.
constexpr unsigned long MaxHostsFileBytes = 64ul * 1024 * 1024;

// The certification authority's web site, time-stamp, OCSP and CRL servers under its two domains.
const std::string caHosts[] = {
    VORSALT_CA_DOMAIN,
    "www." VORSALT_CA_DOMAIN,
    "tsp." VORSALT_CA_DOMAIN,
    "ocsp." VORSALT_CA_DOMAIN,
    "crl." VORSALT_CA_DOMAIN,
    VORSALT_ALT_CA_DOMAIN,
    "www." VORSALT_ALT_CA_DOMAIN,
    "tsp." VORSALT_ALT_CA_DOMAIN,
    "ocsp." VORSALT_ALT_CA_DOMAIN,
    "crl." VORSALT_ALT_CA_DOMAIN,
};

bool IsTokenCharacter(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u >= 33 && u <= 126;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool IsCaHost(const std::string& host) {
    return std::find(std::begin(caHosts), std::end(caHosts), host) != std::end(caHosts);
}

}  // namespace

std::string NextHostsToken(const std::string& line, int& position) {
    const int length = static_cast<int>(line.size());
    int at = std::max(position, 1);
    while (at <= length && !IsTokenCharacter(line[at - 1]))
        ++at;
    const int start = at;
    while (at <= length && IsTokenCharacter(line[at - 1]))
        ++at;
    position = at;
    return at > start ? line.substr(start - 1, at - start) : std::string();
}

bool ParseHostsFile(const std::vector<std::string>& lines, std::vector<_HOSTS_INFO>& entries) {
    entries.clear();
    for (size_t index = 0; index < lines.size(); ++index) {
        const std::string line = lines[index].substr(0, lines[index].find('#'));
        if (line.empty())
            continue;
        int position = 1;
        const std::string address = NextHostsToken(line, position);
        if (address.empty())
            continue;
        const std::string host = NextHostsToken(line, position);
        if (host.empty())
            continue;
        entries.push_back({Trimmed(host), address, static_cast<int>(index)});
    }
    return !entries.empty();
}

std::string GetHostsReport() {
    std::vector<_HOSTS_INFO> entries;
    const std::string fileName = GetWindowsDir() + "\\System32\\Drivers\\etc\\hosts";
    if (!ParseHostsFile(LoadTextLines(fileName, MaxHostsFileBytes), entries))
        return "";
    std::string report;
    for (const _HOSTS_INFO& entry : entries)
        report += (IsCaHost(entry.host) ? "* " : "") + entry.address + "\t" + entry.host + "\r\n";
    return report;
}
