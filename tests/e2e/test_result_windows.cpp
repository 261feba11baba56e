// Vorsalt.exe end to end: the detail of a row opened by a double click, and the support report
// with its saving through the system's dialog, driven by window messages from this process.
#include "CheckTable.h"
#include "Endpoints.h"
#include "MainIds.h"
#include "RemoteWindow.h"
#include "ResultWindowIds.h"
#include "Standins.h"
#include "TestCspSetup.h"
#include "Text.h"
#include <commctrl.h>
#include <gtest/gtest.h>

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
    static POINT Centre(HWND window) {
        RECT r;
        GetWindowRect(window, &r);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void ExpectCentredOnTheMainWindow(HWND window) const {
        const POINT own = Centre(window), main = Centre(program.Window());
        EXPECT_LE(std::abs(own.x - main.x), 1);
        EXPECT_LE(std::abs(own.y - main.y), 1);
    }

    Standins standins{{"", "", false}};
    TestCspRegistration csp{{75}};
    RemoteProgram program{L"Vorsalt.exe"};
    std::vector<RemoteRow> rows;
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

    // A row without a check index shows check 0.
    const int unnumbered = RowOf(ciSign);
    program.SetItemText(ID_LV_Stat, unnumbered, 2, L"x");

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
        {unnumbered, ciConnect80, RGB(255, 0, 0), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        ASSERT_GE(c.row, 0);
        DoubleClickRow(c.row);
        HWND detail = program.WaitForWindow(L"TF_Detail", L"", 10000);
        ASSERT_NE(detail, nullptr);
        EXPECT_FALSE(IsWindowEnabled(program.Window())) << "the detail is modal";
        EXPECT_EQ(WindowText(detail), L"Информация");
        RECT client;
        GetClientRect(detail, &client);
        EXPECT_EQ(client.right, 433);
        EXPECT_EQ(client.bottom, 293);
        const LONG style = GetWindowLongW(detail, GWL_STYLE);
        EXPECT_EQ(style & (WS_SYSMENU | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), WS_SYSMENU | WS_MAXIMIZEBOX);
        ExpectCentredOnTheMainWindow(detail);

        const RemoteRow& row = rows[c.row];
        auto text = [&](int id) { return WindowText(GetDlgItem(detail, id)); };
        EXPECT_EQ(text(DetailIds::Label1), L"Категория");
        EXPECT_EQ(text(DetailIds::Label2), L"Критичность");
        EXPECT_EQ(text(DetailIds::lbl1), L"Описание");
        EXPECT_EQ(text(DetailIds::lbl2), L"Информация");
        EXPECT_EQ(text(DetailIds::B_OK), L"ОК");
        EXPECT_EQ(text(DetailIds::E_Category), row.caption);
        EXPECT_EQ(text(DetailIds::E_Crytycal), Wide(TestCriticality[c.shownCheck]));
        EXPECT_EQ(text(DetailIds::mmoInfo), Wide(TestDescriptions[c.shownCheck]));
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

}  // namespace
