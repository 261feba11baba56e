#include "RequestParts.h"

namespace {
const char* const Methods[] = {"NO", "PUT", "GET", "POST"};  // by THttpVerb
}

const char DefaultRequestHeaders[] = "Content-Type: application/x-www-form-urlencoded";

const char* HttpMethodName(int verb) {
    if (verb < VerbPut || verb > VerbPost)
        return nullptr;
    return Methods[verb];
}

std::string RequestHeadersOrDefault(const std::string& headers) {
    return headers.empty() ? std::string(DefaultRequestHeaders) : headers;
}

std::string BuildFormBody(const std::map<std::string, std::string>* fields) {
    std::string body;
    if (fields == nullptr)
        return body;
    for (const auto& field : *fields) {
        if (!body.empty())
            body += "&";
        body += field.first + "=" + field.second;
    }
    return body;
}

int FormVerb(int verb) {
    return verb == VerbNone ? VerbPost : verb;
}

bool IsReadableStatus(long status) {
    return status >= 100 && status <= 599;
}
