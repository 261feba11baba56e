#include "AutomationStandin.h"
#include <sstream>
#include "Owned.h"
#include "TempFiles.h"

namespace {
HRESULT CallServer(const char* entry) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dll(path);
    dll = dll.substr(0, dll.find_last_of('\\') + 1) + "vorsalt_automation.dll";
    const TModule module(LoadLibraryA(dll.c_str()));
    if (!module)
        return E_FAIL;
    using TEntry = HRESULT(STDAPICALLTYPE*)();
    const auto call = reinterpret_cast<TEntry>(reinterpret_cast<void*>(GetProcAddress(module.Get(), entry)));
    return call ? call() : E_FAIL;
}
}  // namespace

TAutomationRegistration::TAutomationRegistration() : active(SUCCEEDED(CallServer("DllRegisterServer"))) {}

TAutomationRegistration::~TAutomationRegistration() {
    Unregister();
}

void TAutomationRegistration::Unregister() {
    CallServer("DllUnregisterServer");
}

TAutomationJournal::TAutomationJournal()
    : path(TempPath("automation-journal-" + std::to_string(GetCurrentProcessId()))) {
    DeleteFileA(path.c_str());
    SetEnvironmentVariableA("VORSALT_AUTOMATION_JOURNAL", path.c_str());
}

TAutomationJournal::~TAutomationJournal() {
    SetEnvironmentVariableA("VORSALT_AUTOMATION_JOURNAL", nullptr);
    DeleteFileA(path.c_str());
}

std::vector<std::string> TAutomationJournal::Lines() const {
    std::istringstream text(FileBytes(path));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);)
        lines.push_back(line);
    return lines;
}

void TAutomationJournal::Clear() const {
    DeleteFileA(path.c_str());
}
