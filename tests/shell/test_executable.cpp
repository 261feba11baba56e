// What Vorsalt.exe carries besides its code (the manifest and the version resource), and what it
// needs beside it to start.
#include <windows.h>
#include <gtest/gtest.h>
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

// A copy of the program in a folder of its own, which holds nothing else.
class LoneCopy {
public:
    LoneCopy() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"vorsalt-alone-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder_.c_str(), nullptr);
        copied_ = CopyFileW(L"Vorsalt.exe", Exe().c_str(), FALSE) != FALSE;
    }
    ~LoneCopy() {
        DeleteFileW(Exe().c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    bool Copied() const { return copied_; }

    // Runs it to its end (at most timeoutMs) and returns its exit code; STILL_ACTIVE if it went on.
    DWORD Run(DWORD timeoutMs) const {
        // Windows would show its loader's box; the error mode, inherited, keeps it away.
        const UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring command = L"\"" + Exe() + L"\"";
        PROCESS_INFORMATION process{};
        const BOOL started = CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                                            &startup, &process);
        SetErrorMode(mode);
        if (!started)
            return 0;
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        else
            TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return code;
    }

private:
    std::wstring Exe() const { return folder_ + L"\\Vorsalt.exe"; }

    std::wstring folder_;
    bool copied_ = false;
};

// The loader refuses the program before any code of its own runs (what it says under Wine is
// checked by check_needs_lumclient.sh, where its error channel can be read).
TEST(Executable, DoesNotStartWithoutTheServiceLibrary) {
    LoneCopy copy;
    ASSERT_TRUE(copy.Copied());
    EXPECT_EQ(copy.Run(120000), static_cast<DWORD>(STATUS_DLL_NOT_FOUND));
}

}  // namespace
