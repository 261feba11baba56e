#include "LogOptionHandler.h"
#include "LogText.h"

namespace HierLog {

int TLogOptionList::IndexOf(const std::string& name) const {
    for (size_t i = 0; i < lines.size(); ++i) {
        const size_t equals = lines[i].find('=');
        if (equals != std::string::npos && SameText(lines[i].substr(0, equals), name))
            return static_cast<int>(i);
    }
    return -1;
}

std::string TLogOptionList::Get(const std::string& name) const {
    const int index = IndexOf(name);
    return index < 0 ? std::string() : lines[index].substr(lines[index].find('=') + 1);
}

void TLogOptionList::Set(const std::string& name, const std::string& value) {
    const int index = IndexOf(name);
    if (value.empty()) {
        if (index >= 0)
            lines.erase(lines.begin() + index);
    } else if (index >= 0) {
        lines[index] = name + "=" + value;
    } else {
        lines.push_back(name + "=" + value);
    }
}

bool StrToBool(const std::string& value, bool defaultValue) {
    const std::string lower = LowerCaseAscii(value);
    if (lower == "true" || lower == "yes")
        return true;
    if (lower == "false" || lower == "no")
        return false;
    return defaultValue;
}

}  // namespace HierLog
