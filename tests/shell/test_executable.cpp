// What Vorsalt.exe carries besides its code: the manifest, the version resource and the JSON
// library's exports.
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

TEST(Executable, ExportsTheJsonLibrary) {
    // Mapped as an image without running it, so that its export table can be read.
    HMODULE exe = LoadLibraryExW(L"Vorsalt.exe", nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(exe, nullptr) << GetLastError();
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
        EXPECT_NE(GetProcAddress(exe, name), nullptr) << name;
    FreeLibrary(exe);
}

}  // namespace
