// Vorsalt.exe end to end: the detail of a row opened by a double click, and the support report
// with its saving through the system's dialog, driven by window messages from this process.
#include "CheckTable.h"
#include "Endpoints.h"
#include "MainIds.h"
#include "Owned.h"
#include "RemoteWindow.h"
#include "ResultWindowIds.h"
#include "Standins.h"
#include "TestCspSetup.h"
#include "TempFiles.h"
#include "Text.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <algorithm>

namespace {

std::wstring Wide(const std::string& ansi) {
    return vcl::ToWide(ansi);
}

class ResultWindows : public testing::Test {
protected:
    // A run against nothing but the test provider: rows passed, failed at each criticality level,
    // and warnings.
    void RunToTheEnd() {
        ASSERT_NE(program.Window(), nullptr);
        program.Command(ID_mni_N18);
        HWND verdict = program.WaitForMessageBox(L"Результаты тестирования", 60000);
        ASSERT_NE(verdict, nullptr);
        verdictText = MessageBoxText(verdict);
        PostMessageW(verdict, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(verdict); }, 5000));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(program.Control(ID_Panel1)); }, 5000));
        rows = program.Rows(ID_LV_Stat);
    }
    // The list position of a check's row; -1 when the list has none.
    int RowOf(int check) const {
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].id == std::to_wstring(check))
                return static_cast<int>(i);
        return -1;
    }
    HWND List() const { return program.Control(ID_LV_Stat); }
    void DoubleClickRow(int row) const {
        const RECT r = program.RowRect(ID_LV_Stat, row);
        PostDoubleClick(List(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    // A modal window of that caption and client size over the main window (disabled meanwhile),
    // centred on it as far as the screen's work area allows.
    void ExpectModalOverTheMainWindow(HWND window, const std::wstring& caption, LONG width, LONG height) const {
        EXPECT_FALSE(IsWindowEnabled(program.Window())) << "the window is modal";
        EXPECT_EQ(WindowText(window), caption);
        RECT client;
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, width);
        EXPECT_EQ(client.bottom, height);

        RECT own, main, area;
        GetWindowRect(window, &own);
        GetWindowRect(program.Window(), &main);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        const LONG outerWidth = own.right - own.left, outerHeight = own.bottom - own.top;
        const LONG left = (main.left + main.right - outerWidth) / 2, top = (main.top + main.bottom - outerHeight) / 2;
        EXPECT_LE(std::abs(own.left - std::max(area.left, std::min(left, area.right - outerWidth))), 1);
        EXPECT_LE(std::abs(own.top - std::max(area.top, std::min(top, area.bottom - outerHeight))), 1);
    }

    Standins standins{{"", "", false}};
    TestCspRegistration csp{{75}};
    TRemoteProgram program{L"Vorsalt.exe"};
    std::vector<TRemoteRow> rows;
    std::wstring verdictText;
};

// A point inside a control's client area near its right edge, away from its text.
POINT BesideTheText(HWND control) {
    RECT r;
    GetClientRect(control, &r);
    POINT p{r.right - 3, r.bottom / 2};
    ClientToScreen(control, &p);
    return p;
}

TEST_F(ResultWindows, DetailOfARowByDoubleClick) {
    RunToTheEnd();
    ASSERT_GE(RowOf(ciZantholder), 0);

    // Beside the rows: nothing opens (the detail of the next double click is the only one).
    const RECT last = program.RowRect(ID_LV_Stat, static_cast<int>(rows.size()) - 1);
    RECT list;
    GetClientRect(List(), &list);
    ASSERT_LT(last.bottom + 20, list.bottom);
    PostDoubleClick(List(), {last.left + 40, last.bottom + 20});

    // The detail shows the run's result, not the list's text: a hidden column changed from outside
    // leaves the detail of its row as it was.
    program.SetItemText(ID_LV_Stat, RowOf(ciCheckLumWeb), 2, L"x");

    const COLORREF buttonFace = GetSysColor(COLOR_BTNFACE);
    struct Case {
        int row;
        int shownCheck;
        COLORREF colour;
        bool byEscape;
    } const cases[] = {
        {RowOf(ciConnect80), ciConnect80, RGB(255, 0, 0), true},
        {RowOf(ciIsCSP), ciIsCSP, buttonFace, false},
        {RowOf(ciCheckLumWeb), ciCheckLumWeb, RGB(255, 255, 0), true},
        {RowOf(ciCheckLumWebTK), ciCheckLumWebTK, RGB(255, 255, 0), false},
        {RowOf(ciTSPOCSPProxy), ciTSPOCSPProxy, RGB(255, 255, 0), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        ASSERT_GE(c.row, 0);
        DoubleClickRow(c.row);
        HWND detail = program.WaitForWindow(L"TF_Detail", L"", 10000);
        ASSERT_NE(detail, nullptr);
        ExpectModalOverTheMainWindow(detail, L"Информация", 433, 293);
        const LONG style = GetWindowLongW(detail, GWL_STYLE);
        EXPECT_EQ(style & (WS_SYSMENU | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), WS_SYSMENU | WS_MAXIMIZEBOX);

        const TRemoteRow& row = rows[c.row];
        auto text = [&](int id) { return WindowText(GetDlgItem(detail, id)); };
        EXPECT_EQ(text(DetailIds::Label1), L"Категория");
        EXPECT_EQ(text(DetailIds::Label2), L"Критичность");
        EXPECT_EQ(text(DetailIds::lbl1), L"Описание");
        EXPECT_EQ(text(DetailIds::lbl2), L"Информация");
        EXPECT_EQ(text(DetailIds::B_OK), L"ОК");
        EXPECT_EQ(text(DetailIds::E_Category), row.caption);
        const TCheck& check = BuiltInChecks()[c.shownCheck];
        EXPECT_EQ(text(DetailIds::E_Crytycal), Wide(CriticalityText(check.Level)));
        EXPECT_EQ(text(DetailIds::mmoInfo), Wide(check.Description));
        EXPECT_EQ(text(DetailIds::MemoError), row.info);

        const POINT inside = BesideTheText(GetDlgItem(detail, DetailIds::E_Category));
        WaitUntil([&] { return ScreenPixel(inside) == c.colour; }, 5000);
        EXPECT_EQ(ScreenPixel(inside), c.colour);

        if (c.byEscape) {
            HWND focus = program.Focus();
            ASSERT_TRUE(IsChild(detail, focus));
            PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        } else {
            PostMessageW(GetDlgItem(detail, DetailIds::B_OK), BM_CLICK, 0, 0);
        }
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(detail); }, 5000));
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(program.Window()) != FALSE; }, 5000));
    }
}

// The texts of the report window's memo as the program saves them: code page 1251.
std::string Cp1251(const std::wstring& text) {
    return vcl::ToAnsi(text);
}

class SupportReport : public ResultWindows {
protected:
    HWND OpenReport() {
        PostMessageW(program.Control(ID_pnl1, ID_Button_Send), BM_CLICK, 0, 0);
        HWND report = program.WaitForWindow(L"TF_DebugInfo", L"", 20000);
        EXPECT_NE(report, nullptr);
        return report;
    }
    static HWND Memo(HWND report) { return GetDlgItem(report, DebugInfoIds::MemoInfo); }
    void CloseReport(HWND report) {
        PostMessageW(GetDlgItem(report, DebugInfoIds::B_OK), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(report); }, 5000));
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(program.Window()) != FALSE; }, 5000));
    }
    // Presses "Сохранить", checks the name the dialog proposes, gives it the path and confirms.
    void SaveAs(HWND report, const std::wstring& path) {
        PostMessageW(GetDlgItem(report, DebugInfoIds::B_Save), BM_CLICK, 0, 0);
        HWND dialog = program.WaitForMessageBox(L"", 20000);
        ASSERT_NE(dialog, nullptr);
        HWND name = nullptr;
        ASSERT_TRUE(
            WaitUntil([&] { return (name = EditHolding(dialog, L"Результаты тестирования.txt")) != nullptr; }, 5000))
            << "the proposed name";
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10000));
    }
    // The edit among a dialog's controls that holds the text.
    static HWND EditHolding(HWND dialog, const std::wstring& text) {
        EditSearch search{text, nullptr};
        EnumChildWindows(dialog, FindEdit, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    struct EditSearch {
        const std::wstring& text;
        HWND found;
    };
    static BOOL CALLBACK FindEdit(HWND child, LPARAM param) {
        auto* search = reinterpret_cast<EditSearch*>(param);
        wchar_t cls[16] = {};
        GetClassNameW(child, cls, 16);
        if (_wcsicmp(cls, L"Edit") != 0 || WindowText(child) != search->text)
            return TRUE;
        search->found = child;
        return FALSE;
    }

    TTempFolder folder{L"saved-reports"};
};

const std::wstring GeneralPart = L"[Общая информация]\r\nВерсия: " + Wide(VORSALT_VERSION) + L"\r\nСистемное время: ";

// The headers of the report's sections, in their order.
std::vector<std::wstring> Sections(const std::wstring& report) {
    std::vector<std::wstring> found;
    for (const wchar_t* header :
         {L"[Общая информация]", L"[Результаты тестирования системы]", L"[Рекомендации]", L"[Информация о системе]",
          L"[Proxy]", L"[Environment]", L"[hosts]", L"[CSP]", L"[ERROR]"})
        if (report.find(std::wstring(L"\r\n") + header + L"\r\n") != std::wstring::npos ||
            report.rfind(std::wstring(header) + L"\r\n", 0) == 0)
            found.push_back(header);
    return found;
}

TEST_F(SupportReport, BeforeAnyRun) {
    ASSERT_NE(program.Window(), nullptr);
    HWND report = OpenReport();
    ASSERT_NE(report, nullptr);
    ExpectModalOverTheMainWindow(report, L"Информация для службы технической поддержки", 639, 505);
    EXPECT_EQ(WindowText(GetDlgItem(report, DebugInfoIds::B_Save)), L"Сохранить");
    EXPECT_EQ(WindowText(GetDlgItem(report, DebugInfoIds::B_OK)), L"OK");

    const std::wstring text = WindowText(Memo(report));
    ASSERT_EQ(text.rfind(GeneralPart, 0), 0u) << vcl::ToAnsi(text.substr(0, 200));
    const size_t timeEnd = text.find(L"\r\n", GeneralPart.size());
    ASSERT_NE(timeEnd, std::wstring::npos);
    const std::wstring next = L"\r\n\r\n[Информация о системе]\r\n";
    EXPECT_EQ(text.substr(timeEnd, next.size()), next);
    const std::vector<std::wstring> order = {
        L"[Общая информация]", L"[Информация о системе]", L"[Proxy]", L"[Environment]", L"[hosts]", L"[CSP]"};
    EXPECT_EQ(Sections(text), order);
    CloseReport(report);
}

TEST_F(SupportReport, AfterARunAndSavedThroughTheDialog) {
    RunToTheEnd();
    HWND report = OpenReport();
    ASSERT_NE(report, nullptr);
    const std::wstring text = WindowText(Memo(report));

    // The results part: every row, the identifier line (the signature was not made) and the verdict.
    std::wstring results = L"[Результаты тестирования системы]\r\n";
    for (const TRemoteRow& row : rows)
        results += (row.image != 0 ? L"! " : L"  ") + row.caption + L"[" + Wide(BuiltInChecks()[std::stoi(row.id)].Id) +
                   L"]: " + row.info + L"\r\n";
    results += L"СНИЛС: \r\n\r\n\r\n[Рекомендации]\r\n" + verdictText + L"\r\n\r\n\r\n[Информация о системе]\r\n";
    const size_t start = text.find(L"\r\n\r\n[Результаты тестирования системы]\r\n");
    ASSERT_NE(start, std::wstring::npos);
    EXPECT_EQ(text.substr(start + 4, results.size()), results);
    const std::vector<std::wstring> order = {L"[Общая информация]",
                                             L"[Результаты тестирования системы]",
                                             L"[Рекомендации]",
                                             L"[Информация о системе]",
                                             L"[Proxy]",
                                             L"[Environment]",
                                             L"[hosts]",
                                             L"[CSP]"};
    EXPECT_EQ(Sections(text), order);

    // Ctrl+A selects the whole text and types nothing.
    PostMessageW(Memo(report), WM_CHAR, 1, 0x001E0001);
    const LRESULT whole = MAKELONG(0, text.size());
    EXPECT_TRUE(WaitUntil([&] { return SendMessageW(Memo(report), EM_GETSEL, 0, 0) == whole; }, 5000));
    EXPECT_EQ(WindowText(Memo(report)), text);

    // The names chosen and the files written; an existing file is replaced.
    WriteFileBytes(vcl::ToAnsi(folder.File(L"bare.txt")), std::string(100000, 'x'));
    struct Case {
        const wchar_t* chosen;
        const wchar_t* written;
    } const cases[] = {
        {L"upper.TXT", L"upper.TXT"},
        {L"log.log", L"log.log.txt"},
        {L"bare", L"bare.txt"},
        {L"Отчёт.Txt", L"Отчёт.Txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(vcl::ToAnsi(c.chosen));
        SaveAs(report, folder.File(c.chosen));
        const std::string path = vcl::ToAnsi(folder.File(c.written));
        EXPECT_TRUE(WaitUntil([&] { return FileBytes(path) == Cp1251(text); }, 5000));
        EXPECT_EQ(FileBytes(path).substr(0, 30), Cp1251(text).substr(0, 30)) << "no byte-order mark";
    }
    EXPECT_EQ(CountFiles(folder.Path()), 4);

    // What the user typed is saved, every line ended by CR LF.
    const std::wstring edited = L"Первая строка\nвторая\r\nпоследняя";
    SendMessageW(Memo(report), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(edited.c_str()));
    SaveAs(report, folder.File(L"edited.txt"));
    const std::string editedPath = vcl::ToAnsi(folder.File(L"edited.txt"));
    EXPECT_TRUE(WaitUntil([&] { return !FileBytes(editedPath).empty(); }, 5000));
    EXPECT_EQ(FileBytes(editedPath), Cp1251(L"Первая строка\r\nвторая\r\nпоследняя\r\n"));

    // A file that cannot be made: the exception box, and the window stays with its text.
    const std::wstring locked = folder.File(L"locked.txt");
    TFileHandle holder(
        CreateFileW(locked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    SaveAs(report, locked);
    HWND box = program.WaitForMessageBox(L"Vorsalt", 10000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box).rfind(L"Cannot create file \"" + locked + L"\". ", 0), 0u)
        << vcl::ToAnsi(MessageBoxText(box));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
    holder.Close();
    EXPECT_TRUE(IsWindowVisible(report));
    EXPECT_EQ(WindowText(Memo(report)), edited);
    CloseReport(report);
}

}  // namespace
