#include "CapturedHeaders.h"

std::string TCapturedHeaders::Get(const std::string& name) {
    if (name.empty()) {
        values.clear();
        return std::string();
    }
    return values[name];
}
