#include "PeerLog.h"
#include <cstdlib>
#include <cctype>
#include <cstring>
#include <sstream>

namespace {
// The small part of JSON that the peer writes: objects, arrays, strings, numbers, literals.
struct PeerLogValue {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool flag = false;
    double number = 0;
    std::string text;
    std::vector<PeerLogValue> items;
    std::vector<std::pair<std::string, PeerLogValue>> members;

    const PeerLogValue* Find(const std::string& name) const {
        for (const auto& member : members)
            if (member.first == name)
                return &member.second;
        return nullptr;
    }
    std::string Text(const std::string& name) const {
        const PeerLogValue* value = Find(name);
        return value != nullptr && value->kind == String ? value->text : std::string();
    }
};

class PeerLogReader {
public:
    explicit PeerLogReader(const std::string& text) : text(text) {}

    bool Read(PeerLogValue& value) {
        Skip();
        if (at >= text.size())
            return false;
        const char c = text[at];
        if (c == '{')
            return ReadObject(value);
        if (c == '[')
            return ReadArray(value);
        if (c == '"') {
            value.kind = PeerLogValue::String;
            return ReadString(value.text);
        }
        if (Literal("true") || Literal("false")) {
            value.kind = PeerLogValue::Bool;
            value.flag = c == 't';
            return true;
        }
        if (Literal("null"))
            return true;
        const char* start = text.c_str() + at;
        char* end = nullptr;
        value.kind = PeerLogValue::Number;
        value.number = std::strtod(start, &end);
        at += static_cast<size_t>(end - start);
        return end != start;
    }

private:
    void Skip() {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' || text[at] == '\n'))
            ++at;
    }
    bool Expect(char c) {
        Skip();
        if (at < text.size() && text[at] == c) {
            ++at;
            return true;
        }
        return false;
    }
    bool Literal(const char* word) {
        const std::string w(word);
        if (text.compare(at, w.size(), w) != 0)
            return false;
        at += w.size();
        return true;
    }
    bool ReadString(std::string& out) {
        ++at;
        while (at < text.size() && text[at] != '"') {
            char c = text[at++];
            if (c == '\\') {
                if (at >= text.size())
                    return false;
                const char e = text[at++];
                const char* simple = "\"\\/bfnrt";
                const char* meant = "\"\\/\b\f\n\r\t";
                const char* found = std::strchr(simple, e);
                if (e == 'u') {
                    if (at + 4 > text.size())
                        return false;
                    const unsigned long unit = std::strtoul(text.substr(at, 4).c_str(), nullptr, 16);
                    at += 4;
                    c = unit <= 0xFF ? static_cast<char>(unit) : '?';
                } else if (found != nullptr && *found != '\0') {
                    c = meant[found - simple];
                } else {
                    return false;
                }
            }
            out += c;
        }
        return Expect('"');
    }
    bool ReadArray(PeerLogValue& value) {
        value.kind = PeerLogValue::Array;
        ++at;
        if (Expect(']'))
            return true;
        do {
            value.items.emplace_back();
            if (!Read(value.items.back()))
                return false;
        } while (Expect(','));
        return Expect(']');
    }
    bool ReadObject(PeerLogValue& value) {
        value.kind = PeerLogValue::Object;
        ++at;
        if (Expect('}'))
            return true;
        do {
            std::string name;
            Skip();
            if (at >= text.size() || text[at] != '"' || !ReadString(name) || !Expect(':'))
                return false;
            value.members.emplace_back(name, PeerLogValue());
            if (!Read(value.members.back().second))
                return false;
        } while (Expect(','));
        return Expect('}');
    }

    const std::string& text;
    size_t at = 0;
};

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16));
    return bytes;
}

TPeerRequest RequestOf(const PeerLogValue& line) {
    TPeerRequest request;
    request.Peer = line.Text("peer");
    const PeerLogValue* time = line.Find("time");
    request.Time = time != nullptr ? time->number : 0;
    const PeerLogValue* connection = line.Find("conn");
    request.Connection = connection != nullptr ? static_cast<int>(connection->number) : 0;
    const PeerLogValue* tls = line.Find("tls");
    request.Tls = tls != nullptr && tls->flag;
    request.ClientCert = line.Text("client_cert");
    request.Head = line.Text("head");
    request.RequestLine = line.Text("request_line");
    request.Method = line.Text("method");
    request.Target = line.Text("target");
    request.Version = line.Text("version");
    if (const PeerLogValue* headers = line.Find("headers"))
        for (const PeerLogValue& pair : headers->items)
            if (pair.items.size() == 2)
                request.Headers.emplace_back(pair.items[0].text, pair.items[1].text);
    request.Body = FromHex(line.Text("body_hex"));
    return request;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}
}  // namespace

std::string TPeerRequest::Header(const std::string& name) const {
    for (const auto& header : Headers)
        if (SameName(header.first, name))
            return header.second;
    return std::string();
}

bool TPeerRequest::HasHeader(const std::string& name) const {
    for (const auto& header : Headers)
        if (SameName(header.first, name))
            return true;
    return false;
}

std::vector<TPeerEvent> ParsePeerLog(const std::string& text) {
    std::vector<TPeerEvent> events;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        PeerLogValue value;
        PeerLogReader reader(line);
        if (!reader.Read(value) || value.kind != PeerLogValue::Object)
            continue;
        TPeerEvent event;
        event.Event = value.Text("event");
        event.Detail = value.Text("error");
        if (event.Event == "tunnel")
            event.Detail = value.Text("target") + " " + value.Text("result");
        event.Request = RequestOf(value);
        events.push_back(event);
    }
    return events;
}
