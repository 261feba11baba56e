#include "CSPTypes.h"

void CCSPTypes::Add(const std::string& name, DWORD type) {
    names_.push_back(name);
    types_.push_back(type);
}
