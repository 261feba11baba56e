// What Vorsalt.exe carries besides its code (the manifest, the version resource and the JSON
// library's exports), and what it needs beside it to start.
#include "Owned.h"
#include "TempFiles.h"
#include "Wait.h"
#include <windows.h>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

std::string Manifest() {
    const TModule exe(LoadLibraryExW(L"Vorsalt.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!exe)
        return {};
    std::string text;
    if (HRSRC res = FindResourceW(exe.Get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
        const char* data = static_cast<const char*>(LockResource(LoadResource(exe.Get(), res)));
        text.assign(data, SizeofResource(exe.Get(), res));
    }
    return text;
}

// The program mapped as an image without running it, so that its exports can be read and resolve
// into its sections.
TModule MappedProgram() {
    return TModule(LoadLibraryExW(L"Vorsalt.exe", nullptr, DONT_RESOLVE_DLL_REFERENCES));
}

TEST(Executable, ManifestAsksForCommonControls6AndAsInvoker) {
    const std::string m = Manifest();
    ASSERT_FALSE(m.empty());
    EXPECT_NE(m.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(m.find("level=\"asInvoker\""), std::string::npos);
    // Without a supported-OS list Windows 8.1 and later report version 6.2.
    EXPECT_EQ(m.find("supportedOS"), std::string::npos);
}

TEST(Executable, VersionResource) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(L"Vorsalt.exe", &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(L"Vorsalt.exe", 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    wchar_t* name = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\041904E3\\OriginalFilename",
                               reinterpret_cast<void**>(&name), &len));
    EXPECT_STREQ(name, L"Vorsalt.exe");
}

TEST(Executable, ExportsTheJsonLibrary) {
    const TModule exe = MappedProgram();
    ASSERT_TRUE(exe) << GetLastError();
    // The names a host compiled with this toolchain imports through uJsonTree.h.
    const char* const names[] = {
        "_ZN5TJson9ParseTextERKNSt7__cxx1112basic_stringIwSt11char_traitsIwESaIwEEE",
        "_ZN5TJson12GenerateTextB5cxx11EP9TJsonBase",
        "_Z20GenerateReadableTextB5cxx11P9TJsonBaseRi",
        "_ZN13TJsonStreamed12SaveToStreamEP9TJsonBaseP7TStream",
        "_ZN13TJsonStreamed14LoadFromStreamEP7TStream",
        "_ZN13TJsonStreamed10SaveToFileEP9TJsonBaseRKNSt7__cxx1112basic_stringIwSt11char_traitsIwESaIwEEE",
        "_ZN13TJsonStreamed12LoadFromFileERKNSt7__cxx1112basic_stringIwSt11char_traitsIwESaIwEEE",
        "_ZN11TJsonObject8GenerateEb",
        "_ZN9TJsonList8GenerateEv",
        "_ZN11TJsonNumber8GenerateEe",
        "_ZN8TBalTree6InsertERKNSt7__cxx1112basic_stringIwSt11char_traitsIwESaIwEEEi",
        "_ZTV11TJsonObject",
        "_ZTI9TJsonBase",
    };
    for (const char* name : names)
        EXPECT_NE(GetProcAddress(exe.Get(), name), nullptr) << name;
}

// A folder of its own that holds a copy of the program and nothing else.
class LoneCopy {
public:
    LoneCopy() : folder(TempPath("vorsalt-alone-" + std::to_string(GetCurrentProcessId()))) {
        CreateDirectoryA(folder.c_str(), nullptr);
        exe.emplace(TTempFile::CopyOf("Vorsalt.exe", folder + "\\Vorsalt.exe"));
    }
    ~LoneCopy() {
        exe.reset();
        RemoveDirectoryA(folder.c_str());
    }
    LoneCopy(const LoneCopy&) = delete;
    LoneCopy& operator=(const LoneCopy&) = delete;

    bool Made() const { return exe->Made(); }

    // Runs it to its end and returns its exit code; STILL_ACTIVE when it went on past the wait.
    DWORD Run(DWORD timeoutMs) const {
        // Windows would show its loader's box; the error mode, inherited, keeps it away.
        const UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string command = "\"" + exe->Path() + "\"";
        PROCESS_INFORMATION process{};
        const BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                            &startup, &process);
        SetErrorMode(mode);
        if (!started)
            return 0;
        const TKernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(process.hProcess, Scaled(timeoutMs)) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        else
            TerminateProcess(process.hProcess, 1);
        return code;
    }

private:
    std::string folder;
    std::optional<TTempFile> exe;
};

// The loader refuses the program before any code of its own runs (what it says under Wine is
// checked by check_needs_lumclient.sh, where its error channel can be read).
TEST(Executable, DoesNotStartWithoutTheServiceLibrary) {
    LoneCopy copy;
    ASSERT_TRUE(copy.Made());
    EXPECT_EQ(copy.Run(60000), static_cast<DWORD>(STATUS_DLL_NOT_FOUND));
}

// The section of the mapped image that holds the address, or null.
const IMAGE_SECTION_HEADER* SectionOf(HMODULE image, const void* address) {
    const auto* base = reinterpret_cast<const BYTE*>(image);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    const DWORD rva = static_cast<DWORD>(static_cast<const BYTE*>(address) - base);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section)
        if (rva >= section->VirtualAddress && rva < section->VirtualAddress + section->Misc.VirtualSize)
            return section;
    return nullptr;
}

TEST(Executable, LoggingLibraryVariablesAreExportedAsData) {
    const TModule exe = MappedProgram();
    ASSERT_TRUE(exe);
    for (const char* name : {"All", "Debug", "Info", "Warn", "Error", "Fatal", "Off", "DefaultLoggerFactory",
                             "DefaultHierarchy", "LogLog"}) {
        const void* variable = reinterpret_cast<const void*>(GetProcAddress(exe.Get(), name));
        ASSERT_NE(variable, nullptr) << name;
        const IMAGE_SECTION_HEADER* section = SectionOf(exe.Get(), variable);
        ASSERT_NE(section, nullptr) << name;
        EXPECT_TRUE(section->Characteristics & IMAGE_SCN_MEM_WRITE) << name;
        EXPECT_FALSE(section->Characteristics & IMAGE_SCN_MEM_EXECUTE) << name;
    }
    const void* operation = reinterpret_cast<const void*>(GetProcAddress(exe.Get(), "_ZN7HierLog7TLogNDC8GetDepthEv"));
    ASSERT_NE(operation, nullptr);
    const IMAGE_SECTION_HEADER* code = SectionOf(exe.Get(), operation);
    ASSERT_NE(code, nullptr);
    EXPECT_TRUE(code->Characteristics & IMAGE_SCN_MEM_EXECUTE);
}

}  // namespace
