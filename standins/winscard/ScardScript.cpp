#include "ScardScript.h"
#include <cstdlib>

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

unsigned long Hex(const std::string& text) {
    return std::strtoul(text.c_str(), nullptr, 16);
}

ScardReaderScript ParseReader(const std::string& text) {
    const std::vector<std::string> fields = Split(text, '|');
    ScardReaderScript reader;
    reader.name = fields[0];
    unsigned long* const values[] = {&reader.state,      &reader.connect[0], &reader.connect[1],
                                     &reader.connect[2], &reader.status,     &reader.disconnect};
    for (size_t i = 1; i < fields.size() && i <= 6; ++i)
        *values[i - 1] = Hex(fields[i]);
    return reader;
}

}  // namespace

ScardScript ParseScardScript(const std::string& text) {
    ScardScript script;
    for (const std::string& entry : Split(text, ';')) {
        const size_t equals = entry.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = entry.substr(0, equals), value = entry.substr(equals + 1);
        if (key == "establish")
            script.establish = Hex(value);
        else if (key == "release")
            script.release = Hex(value);
        else if (key == "list")
            script.list = Hex(value);
        else if (key == "free")
            script.freeMemory = Hex(value);
        else if (key == "reader")
            script.readers.push_back(ParseReader(value));
    }
    return script;
}
