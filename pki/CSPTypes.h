// The registered cryptographic service providers: names and provider types at the same index.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

class CCSPTypes {
public:
    void Add(const std::string& name, DWORD type);
    int GetCount() const { return static_cast<int>(names_.size()); }
    // Neither checks the index: walk from 0 to GetCount() - 1.
    std::string GetName(int index) const { return names_[index]; }
    DWORD GetType(int index) const { return types_[index]; }

private:
    std::vector<std::string> names_;
    std::vector<DWORD> types_;
};
