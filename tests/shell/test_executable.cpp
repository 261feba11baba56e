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

namespace {

// The section of the mapped image that holds the address, or null.
const IMAGE_SECTION_HEADER* SectionOf(HMODULE image, const void* address)
{
    const auto* base = reinterpret_cast<const BYTE*>(image);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    const DWORD rva = static_cast<DWORD>(static_cast<const BYTE*>(address) - base);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section)
        if (rva >= section->VirtualAddress && rva < section->VirtualAddress + section->Misc.VirtualSize) return section;
    return nullptr;
}

}  // namespace

TEST(Executable, LoggingLibraryVariablesAreExportedAsData)
{
    // Mapped without running it: the exports resolve into the image's sections.
    HMODULE exe = LoadLibraryExW(L"Vorsalt.exe", nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(exe, nullptr);
    for (const char* name : {"All", "Debug", "Info", "Warn", "Error", "Fatal", "Off", "DefaultLoggerFactory",
                             "DefaultHierarchy", "LogLog"}) {
        const void* variable = reinterpret_cast<const void*>(GetProcAddress(exe, name));
        ASSERT_NE(variable, nullptr) << name;
        const IMAGE_SECTION_HEADER* section = SectionOf(exe, variable);
        ASSERT_NE(section, nullptr) << name;
        EXPECT_TRUE(section->Characteristics & IMAGE_SCN_MEM_WRITE) << name;
        EXPECT_FALSE(section->Characteristics & IMAGE_SCN_MEM_EXECUTE) << name;
    }
    const void* operation = reinterpret_cast<const void*>(GetProcAddress(exe, "_ZN7HierLog7TLogNDC8GetDepthEv"));
    ASSERT_NE(operation, nullptr);
    const IMAGE_SECTION_HEADER* code = SectionOf(exe, operation);
    ASSERT_NE(code, nullptr);
    EXPECT_TRUE(code->Characteristics & IMAGE_SCN_MEM_EXECUTE);
    FreeLibrary(exe);
}
