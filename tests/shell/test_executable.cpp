// What Vorsalt.exe carries besides its code (the manifest and the version resource), and what it
// needs beside it to start.
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
    HMODULE exe = LoadLibraryExW(L"Vorsalt.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!exe)
        return {};
    std::string text;
    if (HRSRC res = FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
        const char* data = static_cast<const char*>(LockResource(LoadResource(exe, res)));
        text.assign(data, SizeofResource(exe, res));
    }
    FreeLibrary(exe);
    return text;
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

}  // namespace
