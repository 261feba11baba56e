// Edits, memos, labels, buttons and the list's double click of the windowing layer on a real
// (hidden) form: the colours each control is painted with, as its parent answers the control's
// colour request, the memo's key press, and what a click does.
#include "Button.h"
#include "ControlColour.h"
#include "Edit.h"
#include "Form.h"
#include "Label.h"
#include "ListView.h"
#include "Memo.h"
#include "Panel.h"
#include <gtest/gtest.h>
#include <string>

namespace {

class TControlsForm : public TForm {
public:
    TControlsForm()
        : TForm(L"TControlsForm"),
          Strip(this, 1),
          OnStrip(&Strip, 2),
          OnForm(this, 3),
          ReadOnly(this, 4),
          Editable(this, 5),
          Notes(this, 6),
          Plain(this, 7),
          Button(this, 8),
          List(this, 9) {
        Strip.SetColor(clWhite);
        ReadOnly.SetReadOnly(true);
        ReadOnly.SetColor(clRed);
        Notes.SetColor(clInfoBk);
        List.AddColumn("Компонент", 100);
    }
    TPanel Strip;
    TLabel OnStrip;
    TLabel OnForm;
    TEdit ReadOnly;
    TEdit Editable;
    TMemo Notes;
    TMemo Plain;
    TButton Button;
    TListView List;
};

TEST(TWinControl, ColoursAnsweredToTheControlsRequests) {
    TControlsForm form;
    const COLORREF face = GetSysColor(COLOR_BTNFACE), window = GetSysColor(COLOR_WINDOW);
    struct Case {
        const char* what;
        HWND parent;
        UINT request;
        HWND control;
        COLORREF colour;
    } const cases[] = {
        {"a label takes its panel's colour", form.Strip.Handle(), WM_CTLCOLORSTATIC, form.OnStrip.Handle(),
         RGB(255, 255, 255)},
        {"a label on a form of the system's colour", form.Handle(), WM_CTLCOLORSTATIC, form.OnForm.Handle(), face},
        {"a read-only edit of its own colour", form.Handle(), WM_CTLCOLORSTATIC, form.ReadOnly.Handle(),
         RGB(255, 0, 0)},
        {"an editable edit without one", form.Handle(), WM_CTLCOLOREDIT, form.Editable.Handle(), window},
        {"a memo of a system colour", form.Handle(), WM_CTLCOLOREDIT, form.Notes.Handle(), GetSysColor(COLOR_INFOBK)},
    };
    for (const Case& c : cases) {
        const TColourAnswer answer = ColourAnswer(c.parent, c.request, c.control);
        EXPECT_TRUE(answer.own) << c.what;
        EXPECT_EQ(answer.brush, c.colour) << c.what;
        EXPECT_EQ(answer.background, c.colour) << c.what;
    }

    // A colour given later is the one answered; a read-only memo asks as a static.
    form.Notes.SetReadOnly(true);
    form.Notes.SetColor(clYellow);
    EXPECT_EQ(ColourAnswer(form.Handle(), WM_CTLCOLORSTATIC, form.Notes.Handle()).brush, RGB(255, 255, 0));
    EXPECT_NE(GetWindowLongW(form.Notes.Handle(), GWL_STYLE) & ES_READONLY, 0);
    EXPECT_NE(GetWindowLongW(form.ReadOnly.Handle(), GWL_STYLE) & ES_READONLY, 0);
    EXPECT_EQ(GetWindowLongW(form.Editable.Handle(), GWL_STYLE) & ES_READONLY, 0);
}

TEST(TMemo, KeyPressSeesTypedCharactersAndMaySwallowThem) {
    TControlsForm form;
    std::wstring seen;
    form.Plain.OnKeyPress = [&](TComponent* sender, wchar_t& key) {
        EXPECT_EQ(sender, &form.Plain);
        seen += key;
        if (key == 1)
            key = 0;
        else if (key == L'b')
            key = L'B';
    };
    form.Plain.SetCaption("first\r\nsecond");
    for (wchar_t typed : {L'a', L'\x01', L'b'})
        SendMessageW(form.Plain.Handle(), WM_CHAR, typed, 0);
    EXPECT_EQ(seen, std::wstring(L"a") + L'\x01' + L'b');
    EXPECT_EQ(form.Plain.Caption(), "aBfirst\r\nsecond");  // typed at the caret, at the start

    form.Plain.SelectAll();
    DWORD start = 1, end = 0;
    SendMessageW(form.Plain.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 15u);
}

TEST(TMemo, HoldsLongTexts) {
    TControlsForm form;
    const std::string text(100000, 'x');
    form.Plain.SetCaption(text);
    EXPECT_EQ(form.Plain.Caption(), text);
    EXPECT_GT(static_cast<DWORD>(SendMessageW(form.Plain.Handle(), EM_GETLIMITTEXT, 0, 0)), 100000u)
        << "typing is not stopped at 30000";
}

TEST(TButton, ClickRunsItsHandlerAndSetsTheModalResult) {
    TControlsForm form;
    int clicks = 0;
    form.Button.OnClick = [&](TComponent* sender) {
        EXPECT_EQ(sender, &form.Button);
        ++clicks;
    };
    form.Button.Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form.ModalResult(), mrNone);
    form.Button.SetModalResult(mrOk);
    form.Button.Click();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(form.ModalResult(), mrOk);
}

TEST(TListView, DoubleClickOnARowAndBesideTheRows) {
    TControlsForm form;
    form.List.SetBounds(0, 0, 200, 200);
    form.List.AddItem("первая", 0);
    form.List.AddItem("вторая", 0);
    std::vector<int> selectedAtClicks;
    form.List.OnDblClick = [&](TComponent*) { selectedAtClicks.push_back(form.List.Selected()); };
    RECT row{};
    row.left = LVIR_BOUNDS;
    SendMessageW(form.List.Handle(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    for (POINT at : {POINT{row.left + 5, (row.top + row.bottom) / 2}, POINT{row.left + 5, row.bottom + 40}}) {
        const LPARAM where = MAKELPARAM(at.x, at.y);
        SendMessageW(form.List.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, where);
        SendMessageW(form.List.Handle(), WM_LBUTTONUP, 0, where);
        SendMessageW(form.List.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, where);
        SendMessageW(form.List.Handle(), WM_LBUTTONUP, 0, where);
    }
    EXPECT_EQ(selectedAtClicks, (std::vector<int>{1, -1}));
}

}  // namespace
