#include "StandinScript.h"
#include <windows.h>
#include <cstdlib>

std::vector<std::string> SplitText(const std::string& text, char separator) {
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

std::vector<std::pair<std::string, std::string>> ScriptEntries(const std::string& script) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (const std::string& entry : SplitText(script, ';')) {
        const size_t equals = entry.find('=');
        if (equals != std::string::npos)
            entries.emplace_back(entry.substr(0, equals), entry.substr(equals + 1));
    }
    return entries;
}

unsigned long HexValue(const std::string& text) {
    return std::strtoul(text.c_str(), nullptr, 16);
}

std::string EnvironmentText(const char* name) {
    std::string text(256, '\0');
    for (;;) {
        const DWORD n = GetEnvironmentVariableA(name, &text[0], static_cast<DWORD>(text.size()));
        if (n < text.size()) {
            text.resize(n);
            return text;
        }
        text.resize(n);  // n counts the NUL when the buffer was too small
    }
}

void AppendJournal(const char* name, const std::string& entry) {
    const std::string text = EnvironmentText(name) + entry + ";";
    SetEnvironmentVariableA(name, text.c_str());
}
