#include "LumScript.h"
#include "StandinScript.h"
#include <cstdlib>

namespace {

LumAnswer ParseAnswer(const std::string& value) {
    LumAnswer answer;
    const size_t bar = value.find('|');
    answer.result = static_cast<int32_t>(HexValue(value.substr(0, bar)));
    if (bar != std::string::npos)
        answer.error = value.substr(bar + 1);
    return answer;
}

}  // namespace

LumScript ParseLumScript(const std::string& text) {
    LumScript script;
    for (const auto& [key, value] : ScriptEntries(text)) {
        if (key == "enchance")
            script.enchance = ParseAnswer(value);
        else if (key == "authentificate")
            script.authentificate = ParseAnswer(value);
        else if (key == "kind")
            script.kind = static_cast<int32_t>(std::strtol(value.c_str(), nullptr, 10));
        else if (key == "id")
            script.id = value;
    }
    return script;
}
