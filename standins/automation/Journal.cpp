#include "Journal.h"
#include <cstdlib>
#include <vector>
#include "StandinScript.h"

namespace {
std::wstring Environment(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return std::wstring();
    std::vector<wchar_t> value(size);
    GetEnvironmentVariableW(name, value.data(), size);
    return value.data();
}
}  // namespace

void JournalLine(const std::wstring& line) {
    const std::wstring path = Environment(L"VORSALT_AUTOMATION_JOURNAL");
    if (path.empty())
        return;
    const HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::wstring text = line + L"\n";
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], size, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

namespace {
// The value of the member's entry in the script of the variable; false when it has none.
bool Scripted(const char* variable, const std::wstring& member, std::string& value) {
    const std::string name(member.begin(), member.end());  // members are ASCII
    for (const auto& entry : ScriptEntries(EnvironmentText(variable)))
        if (entry.first == name) {
            value = entry.second;
            return true;
        }
    return false;
}
}  // namespace

bool ScriptedFailure(const std::wstring& member, HRESULT& scode) {
    std::string value;
    if (!Scripted("VORSALT_AUTOMATION_FAIL", member, value))
        return false;
    scode = static_cast<HRESULT>(HexValue(value));
    return true;
}

long ScriptedSkewSeconds(const std::wstring& member) {
    std::string value;
    return Scripted("VORSALT_AUTOMATION_SKEW", member, value) ? std::strtol(value.c_str(), nullptr, 10) : 0;
}
