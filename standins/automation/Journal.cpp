#include "Journal.h"
#include <vector>

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
// The text after "<member>=" in the script of the variable; null when the member is not in it.
const wchar_t* Scripted(const wchar_t* variable, const std::wstring& member, std::wstring& script) {
    script = L";" + Environment(variable) + L";";
    const size_t at = script.find(L";" + member + L"=");
    return at == std::wstring::npos ? nullptr : script.c_str() + at + member.size() + 2;
}
}  // namespace

bool ScriptedFailure(const std::wstring& member, HRESULT& scode) {
    std::wstring script;
    const wchar_t* value = Scripted(L"VORSALT_AUTOMATION_FAIL", member, script);
    if (value == nullptr)
        return false;
    scode = static_cast<HRESULT>(wcstoul(value, nullptr, 16));
    return true;
}

long ScriptedSkewSeconds(const std::wstring& member) {
    std::wstring script;
    const wchar_t* value = Scripted(L"VORSALT_AUTOMATION_SKEW", member, script);
    return value ? wcstol(value, nullptr, 10) : 0;
}
