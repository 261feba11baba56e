// The hosts file's name-to-address entries for the support report, with the certification
// authority's host names marked.
#pragma once
#include <string>
#include <vector>

struct _HOSTS_INFO {
    std::string host;     // the second token of the line
    std::string address;  // the first token, as written
    int line;             // 0-based line number in the file
};

// One line per entry in file order: "* " for a certification-authority host, then address, tab,
// host name, CR LF; "" when the file has no entry. Raises Exception when the file (the Windows
// folder's System32\Drivers\etc\hosts) cannot be read.
std::string GetHostsReport();

// Clears entries first; true when at least one entry was found. Text from the first "#" on is a
// comment; names after the first one on a line are ignored.
bool ParseHostsFile(const std::vector<std::string>& lines, std::vector<_HOSTS_INFO>& entries);

// Tokens are runs of printable ASCII (33..126). position is 1-based; it moves to the separator
// that ended the token (or length + 1). "" when no token is left.
std::string NextHostsToken(const std::string& line, int& position);
