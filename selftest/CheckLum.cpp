#include "LumClient.h"
#include "Tests.h"
#include <cstring>

namespace {

// The library's words about its last failure; none when it gives null.
std::string LibraryError() {
    const char* text = GetError();
    return text ? text : "";
}

}  // namespace

int CheckTSPOCSPProxy(const std::string& host, std::string& info) {
    SetLumIp(host.c_str());
    static const char datum[] = "1234567890";
    _ENCHANCE_ITEM items[2] = {};
    items[0] = {sizeof(_ENCHANCE_ITEM), 4, datum, sizeof datum - 1};
    items[1] = {sizeof(_ENCHANCE_ITEM), 2, nullptr, 0};
    const int r = Enchance(items, 2);
    if (r != 0)
        info = LibraryError();
    return r;
}

int CheckSign(const std::string& host, _AUTH_REQUEST& request, std::string& info) {
    SetLumIp(host.c_str());
    const int r = Authentificate(1, &request);
    if (r != 0) {
        info = LibraryError();
        return r;
    }
    info = request.kind == 1 ? "Усиленная" : "Простая расширенная";
    if (request.bufferSize != 0 && request.buffer)
        info += ": " + SignerIdentifierText(request.buffer);
    return r;
}

std::string SignerIdentifierText(const char* buffer) {
    return std::string(buffer, strnlen(buffer, SignerIdentifierSize));
}
