#include "ServicePost.h"
#include "Conversions.h"
#include "Owned.h"
#include <winhttp.h>
#include <algorithm>
#include <cstdlib>

namespace {

struct TWinHttpTraits : TOwnedTraits<HINTERNET> {
    static BOOL Close(Handle handle) { return WinHttpCloseHandle(handle); }
};
using TWinHttpHandle = TOwned<TWinHttpTraits>;

constexpr DWORD CertificateNotJudged = SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_CN_INVALID |
                                       SECURITY_FLAG_IGNORE_CERT_DATE_INVALID | SECURITY_FLAG_IGNORE_CERT_WRONG_USAGE;

}  // namespace

ServiceReply PostToService(const std::string& host, const std::string& path, const std::string& body) {
    ServiceReply reply;
    std::string address = host;
    INTERNET_PORT port = INTERNET_DEFAULT_HTTPS_PORT;
    const size_t colon = host.rfind(':');
    if (colon != std::string::npos) {
        address = host.substr(0, colon);
        port = static_cast<INTERNET_PORT>(std::strtoul(host.c_str() + colon + 1, nullptr, 10));
    }
    const auto failed = [&reply] {
        reply.error = GetLastError();
        return reply;
    };

    const TWinHttpHandle session(
        WinHttpOpen(L"LUMCLIENT", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session)
        return failed();
    // No resolve time-out: with one, Wine's WinHTTP looks the name up on a thread-pool thread.
    WinHttpSetTimeouts(session.Get(), 0, 10000, 10000, 30000);
    const TWinHttpHandle connection(WinHttpConnect(session.Get(), StringToWString(address).c_str(), port, 0));
    if (!connection)
        return failed();
    const TWinHttpHandle request(WinHttpOpenRequest(connection.Get(), L"POST", StringToWString(path).c_str(), nullptr,
                                                    WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                    WINHTTP_FLAG_SECURE));
    if (!request)
        return failed();
    DWORD flags = CertificateNotJudged;
    WinHttpSetOption(request.Get(), WINHTTP_OPTION_SECURITY_FLAGS, &flags, sizeof flags);
    const DWORD length = static_cast<DWORD>(body.size());
    if (!WinHttpSendRequest(request.Get(), L"Content-Type: text/plain\r\n", static_cast<DWORD>(-1),
                            const_cast<char*>(body.data()), length, length, 0) ||
        !WinHttpReceiveResponse(request.Get(), nullptr))
        return failed();
    DWORD size = sizeof reply.status;
    if (!WinHttpQueryHeaders(request.Get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &reply.status, &size, WINHTTP_NO_HEADER_INDEX))
        return failed();
    char chunk[4096];
    DWORD read = 0;
    while (reply.body.size() < MaxServiceReply && WinHttpReadData(request.Get(), chunk, sizeof chunk, &read) &&
           read > 0)
        reply.body.append(chunk, std::min<size_t>(read, MaxServiceReply - reply.body.size()));
    return reply;
}
