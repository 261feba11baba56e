#include "Der.h"
#include <vector>

namespace der {

std::string Element(unsigned char tag, const std::string& content) {
    std::string out(1, static_cast<char>(tag));
    const size_t length = content.size();
    if (length < 0x80) {
        out += static_cast<char>(length);
    } else {
        std::string digits;
        for (size_t rest = length; rest != 0; rest >>= 8)
            digits.insert(digits.begin(), static_cast<char>(rest & 0xFF));
        out += static_cast<char>(0x80 | digits.size());
        out += digits;
    }
    return out + content;
}

std::string PositiveInteger(std::string bigEndian) {
    while (bigEndian.size() > 1 && bigEndian[0] == 0 && (static_cast<unsigned char>(bigEndian[1]) & 0x80) == 0)
        bigEndian.erase(0, 1);
    if (bigEndian.empty() || (static_cast<unsigned char>(bigEndian[0]) & 0x80) != 0)
        bigEndian.insert(bigEndian.begin(), '\0');
    return Element(Integer, bigEndian);
}

std::string ObjectIdentifier(const std::string& dotted) {
    std::vector<unsigned long> arcs;
    size_t at = 0;
    while (at <= dotted.size()) {
        const size_t end = dotted.find('.', at);
        const std::string arc = dotted.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (arc.empty() || arc.find_first_not_of("0123456789") != std::string::npos || arc.size() > 9)
            return std::string();
        arcs.push_back(std::stoul(arc));
        if (end == std::string::npos)
            break;
        at = end + 1;
    }
    if (arcs.size() < 2 || arcs[0] > 2 || (arcs[0] < 2 && arcs[1] > 39))
        return std::string();
    arcs[1] += arcs[0] * 40;
    std::string content;
    for (size_t i = 1; i < arcs.size(); ++i) {
        std::string digits(1, static_cast<char>(arcs[i] & 0x7F));
        for (unsigned long rest = arcs[i] >> 7; rest != 0; rest >>= 7)
            digits.insert(digits.begin(), static_cast<char>(0x80 | (rest & 0x7F)));
        content += digits;
    }
    return Element(ObjectId, content);
}

bool TReader::Next(unsigned char& tag, std::string& content) {
    const size_t size = data.size();
    size_t at = position;
    if (at + 2 > size) {
        position = size;
        return false;
    }
    tag = static_cast<unsigned char>(data[at++]);
    if ((tag & 0x1F) == 0x1F) {  // a multi-byte tag: not used by what is read here
        position = size;
        return false;
    }
    size_t length = static_cast<unsigned char>(data[at++]);
    if (length & 0x80) {
        const size_t digits = length & 0x7F;
        if (digits == 0 || digits > 4 || at + digits > size) {
            position = size;
            return false;
        }
        length = 0;
        for (size_t i = 0; i < digits; ++i)
            length = (length << 8) | static_cast<unsigned char>(data[at++]);
    }
    if (length > size - at) {
        position = size;
        return false;
    }
    content = data.substr(at, length);
    position = at + length;
    return true;
}

bool TReader::Expect(unsigned char tag, std::string& content) {
    unsigned char found = 0;
    return Next(found, content) && found == tag;
}

bool Whole(const std::string& encoding, unsigned char tag, std::string& content) {
    TReader reader(encoding);
    return reader.Expect(tag, content) && reader.AtEnd();
}

}  // namespace der
