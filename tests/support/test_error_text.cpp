// Error texts against the platform's own message tables and COM error objects. Texts that the
// platform holds are read from it at test time, so the tests hold on Windows and on Wine alike.
#include "ErrorText.h"
#include "DebugOutputCapture.h"
#include "StringHelpers.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <oleauto.h>
#include <string>
#include <vector>

namespace {
const char* const NotFound = "...Не определено...";
const std::string Message = "TestOperation. Сбой.";
// From the message table linked into this test program (msgtable/Messages.mc).
const unsigned int OwnInterfaceCode = 0x80040201;
const char* const OwnInterfaceText = "Interface first line\r\nsecond line\r\n";
const unsigned int TspCode = 0x82100001, TspMissingCode = 0x82100002;
const unsigned int OcspCode = 0x82110001, OcspMissingCode = 0x82110002;

std::string TableText(DWORD flags, HMODULE module, unsigned int code) {
    for (DWORD language : {DWORD(0x400), DWORD(0)}) {
        char* buffer = nullptr;
        const DWORD length = FormatMessageA(flags | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
                                            module, code, language, reinterpret_cast<char*>(&buffer), 0, nullptr);
        if (length > 0) {
            std::string text(buffer, length);
            LocalFree(buffer);
            return text;
        }
    }
    return std::string();
}

// The platform's own wording of a code from its system table.
std::string SystemText(unsigned int code) {
    const std::string text = TableText(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code);
    return text.empty() ? NotFound : text;
}

// The wording from a library's table, the system's when the library has none.
std::string LibraryText(const char* library, unsigned int code) {
    HMODULE module = LoadLibraryExA(library, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    std::string text = module ? TableText(FORMAT_MESSAGE_FROM_HMODULE, module, code) : std::string();
    if (module)
        FreeLibrary(module);
    return text.empty() ? SystemText(code) : text;
}

std::string ComposeAfter(DWORD last, int code, bool withComInfo = false, bool winHttp = false) {
    SetLastError(last);
    return FormatErrorText(Message, code, withComInfo, winHttp);
}

std::string LE(unsigned int reported, const std::string& text) {
    return "\r\nОшибка LE № 0x" + IntToHexStdString(static_cast<int>(reported)) + ": " + text;
}

// Makes bin\msgtables (the stand-in tspcli.dll and ocspcli.dll) the current folder for a while.
class CStandInClientLibraries {
public:
    CStandInClientLibraries() {
        GetCurrentDirectoryA(MAX_PATH, previous);
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string folder(path);
        folder = folder.substr(0, folder.rfind('\\')) + "\\msgtables";
        entered = SetCurrentDirectoryA(folder.c_str()) != FALSE;
    }
    ~CStandInClientLibraries() { SetCurrentDirectoryA(previous); }
    bool Entered() const { return entered; }

private:
    char previous[MAX_PATH] = {};
    bool entered = false;
};

void SetComError(const wchar_t* description, const wchar_t* source) {
    ICreateErrorInfo* creator = nullptr;
    ASSERT_EQ(CreateErrorInfo(&creator), S_OK);
    creator->SetDescription(const_cast<wchar_t*>(description));
    creator->SetSource(const_cast<wchar_t*>(source));
    IErrorInfo* info = nullptr;
    ASSERT_EQ(creator->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)), S_OK);
    ASSERT_EQ(SetErrorInfo(0, info), S_OK);
    info->Release();
    creator->Release();
}

bool ThreadHoldsComError() {
    IErrorInfo* info = nullptr;
    const HRESULT hr = GetErrorInfo(0, &info);
    if (info)
        info->Release();
    return hr == S_OK;
}

class ErrorTextTest : public ::testing::Test {
protected:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { CoUninitialize(); }
};
}  // namespace

TEST_F(ErrorTextTest, CompositionOfLastErrorAndCode) {
    struct Case {
        DWORD last;
        int code;
        bool winHttp;
        std::string expected;
    };
    const int ownItf = static_cast<int>(OwnInterfaceCode);
    const std::string ownFlat = "Interface first linesecond line";
    const std::string classNotRegistered = LibraryText("this-program-has-no-table", 0x80040154);
    const std::vector<Case> cases = {
        {0, 0, false, Message},
        {5, 0, false, Message + LE(5, SystemText(5))},
        {0, 2, false, Message + LE(2, SystemText(2))},
        {5, 2, false, Message + LE(5, SystemText(5)) + " (0x2)"},
        {0, static_cast<int>(0x80004005), false, Message + LE(0x80004005, SystemText(0x80004005))},
        {0, -1, false, Message + LE(0xFFFFFFFF, SystemText(0xFFFFFFFF))},
        // Interface-specific codes: the program's own table, then the system's.
        {0, ownItf, false, Message + LE(OwnInterfaceCode, OwnInterfaceText) + " Доп. инфо: " + ownFlat},
        {OwnInterfaceCode, ownItf, false, Message + LE(OwnInterfaceCode, OwnInterfaceText) + " (0x80040201)"},
        {5, ownItf, false, Message + LE(5, SystemText(5)) + " Доп. инфо: " + ownFlat + " (0x80040201)"},
        {0, static_cast<int>(0x80040154), false,
         Message + LE(0x80040154, classNotRegistered) + " Доп. инфо: " + ReplaceAll(classNotRegistered, "\r\n", "")},
        // Internet codes: WinINet's or WinHTTP's table by the owner flag, for the code and the last error.
        {0, 12002, false, Message + LE(12002, LibraryText("wininet.dll", 12002))},
        {0, 12002, true, Message + LE(12002, LibraryText("winhttp.dll", 12002))},
        {12029, 0, false, Message + LE(12029, LibraryText("wininet.dll", 12029))},
        {12029, 0, true, Message + LE(12029, LibraryText("winhttp.dll", 12029))},
        {0, 12175, false, Message + LE(12175, LibraryText("wininet.dll", 12175))},
        {0, 11999, false, Message + LE(11999, SystemText(11999))},
        {0, 12176, false, Message + LE(12176, SystemText(12176))},
        // The provider's client libraries are not installed here.
        {0, static_cast<int>(TspCode), false, Message + LE(TspCode, "TSP client error")},
        {0, static_cast<int>(OcspCode), true, Message + LE(OcspCode, "OCSP client error")},
        {2, static_cast<int>(TspCode), false, Message + LE(2, SystemText(2)) + " (0x82100001)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("last " + IntToHexStdString(c.last) + " code " + IntToHexStdString(c.code) +
                     (c.winHttp ? " WinHTTP" : " WinINet"));
        const std::string text = ComposeAfter(c.last, c.code, false, c.winHttp);
        const DWORD last = GetLastError();
        EXPECT_EQ(text, c.expected);
        EXPECT_EQ(last, c.last) << "the composer must leave the last error as it found it";
    }
}

TEST_F(ErrorTextTest, InternetCodesUseTheOwnerFlagsTable) {
    // Wine's WinINet has a text for 12002 and WinHTTP none; Windows has texts in both.
    EXPECT_EQ(GetSystemErrorMessage(12002, false), LibraryText("wininet.dll", 12002));
    EXPECT_EQ(GetSystemErrorMessage(12002, true), LibraryText("winhttp.dll", 12002));
}

TEST_F(ErrorTextTest, ClientLibrariesAreAskedBeforeTheSystem) {
    CStandInClientLibraries standIns;
    ASSERT_TRUE(standIns.Entered());
    struct Case {
        unsigned int code;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {TspCode, "tsp text in the user language\r\n"},
        {TspMissingCode, SystemText(TspMissingCode)},
        {OcspCode, "ocsp text\r\n"},
        {OcspMissingCode, SystemText(OcspMissingCode)},
    };
    for (const Case& c : cases) {
        for (bool winHttp : {false, true}) {
            SetLastError(0);
            const std::string text = GetSystemErrorMessage(c.code, winHttp);
            const DWORD last = GetLastError();
            EXPECT_EQ(text, c.expected) << std::hex << c.code;
            EXPECT_EQ(last, 0u);
        }
    }
    SetLastError(0);
    EXPECT_EQ(FormatErrorText(Message, static_cast<int>(TspCode), false, false),
              Message + LE(TspCode, "tsp text in the user language\r\n"));
}

TEST_F(ErrorTextTest, OwnTableServesOnlyInterfaceSpecificCodes) {
    EXPECT_EQ(GetSystemErrorMessage(OwnInterfaceCode, false), OwnInterfaceText);
    EXPECT_EQ(GetSystemErrorMessage(OwnInterfaceCode, true), OwnInterfaceText);
    EXPECT_EQ(GetSystemErrorMessage(0x80040202, false), SystemText(0x80040202));
    // Same message number outside facility 4: not looked up in the program's table.
    EXPECT_EQ(GetSystemErrorMessage(0x80070201, false), SystemText(0x80070201));
}

TEST_F(ErrorTextTest, ComErrorInformation) {
    struct Case {
        const wchar_t* description;
        const wchar_t* source;
        bool withComInfo;
        int code;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {L"\u041d\u0435\u0442 \u0441\u0432\u044f\u0437\u0438", L"TSPCOM.TSPRequest", true, 0,
         Message + "\r\nOLE Error: Нет связи\r\nSource = TSPCOM.TSPRequest"},
        {L"Failed", L"X", true, static_cast<int>(0x80004005),
         Message + "\r\nOLE Error: Failed\r\nSource = X" + LE(0x80004005, SystemText(0x80004005))},
        {L"Failed", L"X", false, 0, Message},
        {L"", L"X", true, 0, Message},
        {L"a\u4e2db", L"X", true, 0, Message + "\r\nOLE Error: a?b\r\nSource = X"},
    };
    for (const Case& c : cases) {
        SetComError(c.description, c.source);
        ASSERT_TRUE(ThreadHoldsComError());
        SetComError(c.description, c.source);
        EXPECT_EQ(ComposeAfter(0, c.code, c.withComInfo), c.expected);
        EXPECT_FALSE(ThreadHoldsComError()) << "every composition takes the COM error information";
    }
    EXPECT_EQ(ComposeAfter(0, 0, true), Message);
}

TEST_F(ErrorTextTest, OleErrorInfoTextIsHandedOutOnce) {
    EXPECT_EQ(GetOleErrorInfoText(), "");
    SetComError(L"Description", L"Source");
    EXPECT_EQ(GetOleErrorInfoText(), "Description\r\nSource = Source");
    EXPECT_EQ(GetOleErrorInfoText(), "");
}

TEST_F(ErrorTextTest, FailedLookupsDoNotChangeTheNextComposition) {
    // The lookups for these codes fail inside (no library, no text); the next text must not show it.
    const std::string winHttpText = LibraryText("winhttp.dll", 12002);
    SetLastError(0);
    const std::string first = FormatErrorText(Message, static_cast<int>(TspCode), false, true);
    const std::string second = FormatErrorText(Message, 12002, false, true);
    const std::string third = FormatErrorText(Message, 0, false, false);
    EXPECT_EQ(first, Message + LE(TspCode, "TSP client error"));
    EXPECT_EQ(second, Message + LE(12002, winHttpText));
    EXPECT_EQ(third, Message);
}

TEST_F(ErrorTextTest, LogOrStoreError) {
    const std::string expected = Message + LE(5, SystemText(5));
    std::string target = "previous text";
    SetLastError(5);
    LogOrStoreError(&target, Message, 0, false, false);
    EXPECT_EQ(target, expected);

    TDebugOutputCapture capture;
    SetLastError(5);
    LogOrStoreError(nullptr, Message, 0, false, false);
    EXPECT_EQ(capture.Lines(), std::vector<std::string>{"VYRNLog: " + expected});
}

TEST_F(ErrorTextTest, AppendErrorTextKeepsWhatStandsBefore) {
    std::string target = "first. ";
    AppendErrorText(&target, "second.");
    EXPECT_EQ(target, "first. second.");

    TDebugOutputCapture capture;
    AppendErrorText(nullptr, "second.");
    EXPECT_EQ(capture.Lines(), std::vector<std::string>{"VYRNLog: second."});
}
