// Stand-in LUMCLIENT.DLL: the service's client library as a workstation has it, for the tests and
// the demo run. SetLumIp sets the service host; Enchance and Authentificate ask it over HTTPS:
//   POST /lumclient/enchance        body: a line "kind=K;data=HEX" per item
//     200 with a body that begins with "OK": 0
//   POST /lumclient/authentificate  body: "mode=M;second=S"
//     200 with "kind=K;id=TEXT": 0, the kind and the identifier written into the request
//     401: 0x8000000A, the reply's text (none when it is empty) as the error
// Replies are UTF-8; the library's texts are ANSI. Any other reply, no reply or bad arguments fail
// with a text for GetError. The test may script the answers instead (LumScript.h). Every call is
// written to the environment variable VORSALT_LUM_JOURNAL (entries ended by ";"):
//   SetLumIp HOST | Enchance COUNT {SIZE KIND LENGTH HEX|null}... |
//   Authentificate MODE {SIZE SECOND KIND BUFFER zeroed|written BUFFERSIZE} | GetError
// where BUFFER is the buffer's address in decimal. The thread's last error is left alone.
#define LUMCLIENT_API
#include "Conversions.h"
#include "LastErrorKept.h"
#include "LocalFree.h"
#include "LumClient.h"
#include "LumScript.h"
#include "ServicePost.h"
#include "StandinScript.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

constexpr int32_t BadArguments = 1, NoHost = 2, NoConnection = 3, ServiceRefused = 4, UnexpectedReply = 5;
constexpr int32_t MaxItems = 64, MaxItemLength = 1024 * 1024, MaxHost = 255;

std::string host;
std::optional<std::string> lastError;

void Journal(const std::string& entry) {
    AppendJournal("VORSALT_LUM_JOURNAL", entry);
}

LumScript Script() {
    return ParseLumScript(EnvironmentText("VORSALT_LUM"));
}

std::string Hex(const char* data, size_t length) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (size_t i = 0; i < length; ++i) {
        hex += digits[static_cast<unsigned char>(data[i]) >> 4];
        hex += digits[static_cast<unsigned char>(data[i]) & 15];
    }
    return hex;
}

std::string Ansi(const std::string& utf8) {
    const TLocalFree<char> ansi(Utf8ToAnsi(utf8.data(), static_cast<int>(utf8.size())));
    return ansi.Get() ? ansi.Get() : "";
}

int32_t Fail(int32_t result, const std::string& text) {
    lastError = "LUMCLIENT: " + text;
    return result;
}

bool ItemIsWellFormed(const _ENCHANCE_ITEM& item) {
    return item.size == sizeof(_ENCHANCE_ITEM) && item.dataLength >= 0 && item.dataLength <= MaxItemLength &&
           (item.data || item.dataLength == 0);
}

std::string ItemEntry(const _ENCHANCE_ITEM& item) {
    std::string data = "?";
    if (ItemIsWellFormed(item))
        data = item.data ? Hex(item.data, item.dataLength) : "null";
    return " {" + std::to_string(item.size) + " " + std::to_string(item.kind) + " " + std::to_string(item.dataLength) +
           " " + data + "}";
}

bool RequestIsWellFormed(const _AUTH_REQUEST* request) {
    return request && request->size == sizeof(_AUTH_REQUEST);
}

std::string RequestEntry(const _AUTH_REQUEST* request) {
    if (!request)
        return " null";
    std::string buffer = "null", content = "?";
    if (request->buffer) {
        buffer = std::to_string(reinterpret_cast<uintptr_t>(request->buffer));
        if (request->bufferSize > 0 && request->bufferSize <= 4096) {
            const std::string bytes(request->buffer, request->bufferSize);
            content = bytes.find_first_not_of('\0') == std::string::npos ? "zeroed" : "written";
        }
    }
    return " {" + std::to_string(request->size) + " " + std::to_string(request->second) + " " +
           std::to_string(request->kind) + " " + buffer + " " + content + " " + std::to_string(request->bufferSize) +
           "}";
}

// A caller without a buffer does not want the identifier.
void WriteIdentifier(_AUTH_REQUEST& request, const std::string& id) {
    if (!request.buffer || request.bufferSize <= 0)
        return;
    const size_t n = std::min(id.size(), static_cast<size_t>(request.bufferSize));
    std::memcpy(request.buffer, id.data(), n);
    if (n < static_cast<size_t>(request.bufferSize))
        request.buffer[n] = '\0';
}

// Asks the service: its reply (the body as ANSI text), or none with the failure's result and text.
std::optional<ServiceReply> Ask(const std::string& path, const std::string& body, int32_t& result) {
    if (host.empty()) {
        result = Fail(NoHost, "не задан адрес сервера ЯСК (SetLumIp)");
        return std::nullopt;
    }
    ServiceReply reply = PostToService(host, path, body);
    if (reply.error != 0) {
        result = Fail(NoConnection,
                      "нет связи с сервером ЯСК " + host + " (ошибка " + std::to_string(reply.error) + ")");
        return std::nullopt;
    }
    reply.body = Ansi(reply.body);
    return reply;
}

int32_t Refused(const ServiceReply& reply) {
    return Fail(ServiceRefused, "сервер ЯСК " + host + " ответил " + std::to_string(reply.status) + ": " + reply.body);
}

int32_t Unexpected(const ServiceReply& reply) {
    return Fail(UnexpectedReply, "неожиданный ответ сервера ЯСК " + host + ": " + reply.body);
}

int32_t EnchanceAtService(const _ENCHANCE_ITEM* items, int32_t count) {
    std::string body;
    for (int32_t i = 0; i < count; ++i)
        body += "kind=" + std::to_string(items[i].kind) +
                ";data=" + (items[i].data ? Hex(items[i].data, items[i].dataLength) : "") + "\r\n";
    int32_t result = 0;
    const std::optional<ServiceReply> reply = Ask("/lumclient/enchance", body, result);
    if (!reply)
        return result;
    if (reply->status != 200)
        return Refused(*reply);
    return reply->body.rfind("OK", 0) == 0 ? 0 : Unexpected(*reply);
}

int32_t AuthentificateAtService(int32_t mode, _AUTH_REQUEST& request) {
    int32_t result = 0;
    const std::optional<ServiceReply> reply =
        Ask("/lumclient/authentificate", "mode=" + std::to_string(mode) + ";second=" + std::to_string(request.second),
            result);
    if (!reply)
        return result;
    if (reply->status == 401) {
        if (!reply->body.empty())
            lastError = reply->body;
        return LumNotAuthenticated;
    }
    if (reply->status != 200)
        return Refused(*reply);
    std::optional<std::string> kind, id;
    for (const auto& [key, value] : ScriptEntries(reply->body)) {
        if (key == "kind")
            kind = value;
        else if (key == "id")
            id = value;
    }
    char* end = nullptr;
    const long kindValue = kind ? std::strtol(kind->c_str(), &end, 10) : 0;
    if (!kind || kind->empty() || *end != '\0' || !id)
        return Unexpected(*reply);
    request.kind = static_cast<int32_t>(kindValue);
    WriteIdentifier(request, *id);
    return 0;
}

}  // namespace

extern "C" {

int32_t WINAPI SetLumIp(const char* address) {
    TLastErrorKept kept;
    host = address ? std::string(address, strnlen(address, MaxHost)) : "";
    Journal("SetLumIp " + (address ? host : "null"));
    return 0;
}

int32_t WINAPI Enchance(const _ENCHANCE_ITEM* items, int32_t count) {
    TLastErrorKept kept;
    lastError.reset();
    const bool listed = items && count > 0 && count <= MaxItems;
    std::string entry = "Enchance " + std::to_string(count);
    for (int32_t i = 0; listed && i < count; ++i)
        entry += ItemEntry(items[i]);
    Journal(items ? entry : entry + " null");
    if (!listed)
        return Fail(BadArguments, "Enchance: неверный список элементов");
    for (int32_t i = 0; i < count; ++i)
        if (!ItemIsWellFormed(items[i]))
            return Fail(BadArguments, "Enchance: неверный элемент " + std::to_string(i));
    const LumScript script = Script();
    if (script.enchance) {
        lastError = script.enchance->error;
        return script.enchance->result;
    }
    return EnchanceAtService(items, count);
}

int32_t WINAPI Authentificate(int32_t mode, _AUTH_REQUEST* request) {
    TLastErrorKept kept;
    lastError.reset();
    Journal("Authentificate " + std::to_string(mode) + RequestEntry(request));
    if (!RequestIsWellFormed(request))
        return Fail(BadArguments, "Authentificate: неверная запись запроса");
    const LumScript script = Script();
    if (script.kind)
        request->kind = *script.kind;
    if (script.id)
        WriteIdentifier(*request, *script.id);
    if (script.authentificate) {
        lastError = script.authentificate->error;
        return script.authentificate->result;
    }
    return AuthentificateAtService(mode, *request);
}

const char* WINAPI GetError() {
    TLastErrorKept kept;
    Journal("GetError");
    return lastError ? lastError->c_str() : nullptr;
}

}  // extern "C"
