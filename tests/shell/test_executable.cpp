// What Vorsalt.exe carries besides its code: the manifest and the version resource.
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

}  // namespace
