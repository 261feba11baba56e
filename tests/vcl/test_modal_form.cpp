// Modal display of a form on the test display: the keys of a dialog (Tab, Enter, Escape, and
// Escape in a memo), the focus kept while another window is active, the close box, the owner
// disabled meanwhile, the quit message kept for the main loop, and the place centred on the
// owner. The keys are posted before the display starts, so the form's own loop takes them in order.
#include "Button.h"
#include "Edit.h"
#include "Memo.h"
#include "OwnerForm.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>

namespace {

constexpr int ProbeCommand = 99;

class TDialogForm : public TForm {
public:
    TDialogForm() : TForm(L"TDialogForm"), Name(this, 11), Notes(this, 12), Yes(this, 13), No(this, 14) {
        SetClientSize(300, 200);
        SetPosition(TPosition::OwnerFormCenter);
        Name.SetBounds(8, 8, 200, 21);
        Notes.SetBounds(8, 36, 200, 100);
        Yes.SetBounds(130, 160, 75, 25);
        No.SetBounds(215, 160, 75, 25);
        Yes.SetDefault(true);
        Yes.SetModalResult(mrOk);
        No.SetCancel(true);
        No.SetModalResult(mrCancel);
        Yes.OnClick = [this](TComponent*) { clicked.push_back(&Yes); };
        No.OnClick = [this](TComponent*) { clicked.push_back(&No); };
        OnCommand(ProbeCommand, [this] { focusAtProbes.push_back(GetFocus()); });
    }
    void Key(HWND control, WPARAM key) const { PostMessageW(control, WM_KEYDOWN, key, 1); }
    void Probe() const { PostMessageW(Handle(), WM_COMMAND, ProbeCommand, 0); }

    TEdit Name;
    TMemo Notes;
    TButton Yes;
    TButton No;
    std::vector<TButton*> clicked;
    std::vector<HWND> focusAtProbes;
};

TEST(ModalForm, EnterPressesTheDefaultButtonAndEscapeTheCancelButton) {
    TForm& owner = OwnerForm();
    {
        TDialogForm form;
        form.Key(form.Name.Handle(), VK_RETURN);
        EXPECT_EQ(form.ShowModal(), mrOk);
        EXPECT_EQ(form.clicked, std::vector<TButton*>{&form.Yes});
    }
    {
        TDialogForm form;
        form.Key(form.Name.Handle(), VK_ESCAPE);
        EXPECT_EQ(form.ShowModal(), mrCancel);
        EXPECT_EQ(form.clicked, std::vector<TButton*>{&form.No});
        EXPECT_FALSE(IsWindowVisible(form.Handle()));
    }
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
}

TEST(ModalForm, TabMovesTheFocusFromTheFirstControlOn) {
    OwnerForm();
    TDialogForm form;
    form.Probe();
    form.Key(form.Name.Handle(), VK_TAB);
    form.Probe();
    form.Key(form.Notes.Handle(), VK_TAB);
    form.Probe();
    form.Key(form.Yes.Handle(), VK_ESCAPE);
    EXPECT_EQ(form.ShowModal(), mrCancel);
    const std::vector<HWND> order = {form.Name.Handle(), form.Notes.Handle(), form.Yes.Handle()};
    EXPECT_EQ(form.focusAtProbes, order);
}

TEST(ModalForm, FocusComesBackWhenTheFormIsActivatedAgain) {
    OwnerForm();
    TDialogForm form;
    HWND activeMeanwhile = nullptr, focusAfter = nullptr;
    form.OnCommand(ProbeCommand, [&] {
        HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                                     nullptr);
        SetActiveWindow(other);
        activeMeanwhile = GetActiveWindow();
        SetActiveWindow(form.Handle());
        focusAfter = GetFocus();
        DestroyWindow(other);
    });
    form.Key(form.Name.Handle(), VK_TAB);
    form.Probe();
    form.Key(form.Notes.Handle(), VK_ESCAPE);
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_NE(activeMeanwhile, form.Handle());
    EXPECT_EQ(focusAfter, form.Notes.Handle());
}

TEST(ModalForm, EnterInAMemoMakesALineAndEscapeThereCloses) {
    OwnerForm();
    TDialogForm form;
    form.Key(form.Name.Handle(), VK_TAB);
    form.Key(form.Notes.Handle(), 'A');
    form.Key(form.Notes.Handle(), VK_RETURN);
    form.Key(form.Notes.Handle(), 'B');
    form.Key(form.Notes.Handle(), VK_ESCAPE);
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_EQ(form.Notes.Caption(), "a\r\nb");
    // The multi-line edit closes its window, as in a dialog, instead of pressing the cancel button:
    // Escape in a multi-line edit in dialog mode posts WM_CLOSE, on Windows as under Wine.
    EXPECT_EQ(form.clicked.size(), 0u);
}

TEST(ModalForm, CloseBoxGivesCancelWithTheOwnerDisabledMeanwhile) {
    TForm& owner = OwnerForm();
    TDialogForm form;
    std::vector<bool> ownerEnabled, visibleAtShow;
    form.OnShow = [&](TComponent*) { visibleAtShow.push_back(IsWindowVisible(form.Handle()) != FALSE); };
    form.OnCommand(ProbeCommand, [&] { ownerEnabled.push_back(IsWindowEnabled(owner.Handle()) != FALSE); });
    form.Probe();
    PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_TRUE(form.clicked.empty());
    EXPECT_EQ(ownerEnabled, std::vector<bool>{false});
    EXPECT_EQ(visibleAtShow, std::vector<bool>{false});
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));

    // Shown again: a fresh result.
    form.Key(form.Name.Handle(), VK_RETURN);
    EXPECT_EQ(form.ShowModal(), mrOk);
}

TEST(ModalForm, QuitMessageEndsTheDisplayAndStaysForTheMainLoop) {
    OwnerForm();
    TDialogForm form;
    PostQuitMessage(5);
    EXPECT_EQ(form.ShowModal(), mrCancel);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
}

TEST(ModalForm, CentredOnTheOwnerWithinTheScreen) {
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    struct Case {
        int left, top;
        bool clamped;
    } const cases[] = {{100, 100, false}, {-250, -200, true}};
    for (const Case& c : cases) {
        TForm& owner = OwnerForm(c.left, c.top);
        TDialogForm form;
        RECT placed{};
        form.OnCommand(ProbeCommand, [&] { GetWindowRect(form.Handle(), &placed); });
        form.Probe();
        form.Key(form.Name.Handle(), VK_ESCAPE);
        form.ShowModal();
        RECT outer, own;
        GetWindowRect(owner.Handle(), &outer);
        GetWindowRect(form.Handle(), &own);
        EXPECT_EQ(placed.left, own.left);
        const LONG width = own.right - own.left, height = own.bottom - own.top;
        if (c.clamped) {
            EXPECT_EQ(placed.left, area.left);
            EXPECT_EQ(placed.top, area.top);
        } else {
            EXPECT_EQ(placed.left, outer.left + (outer.right - outer.left - width) / 2);
            EXPECT_EQ(placed.top, outer.top + (outer.bottom - outer.top - height) / 2);
        }
    }
    OwnerForm();
}

}  // namespace
