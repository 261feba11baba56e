// The result detail and support report windows as made, on hidden instances: each control's
// font, whether it may be edited, its colour, its scroll bar and its place, and where it goes when
// the window grows; and the detail filled from a run's result.
#include "ControlColour.h"
#include "DebugInfo.h"
#include "FDetail.h"
#include "ResultWindowIds.h"
#include "RunResults.h"
#include <gtest/gtest.h>
#include <string>

namespace {

struct TPlace {
    LONG left, top, width, height;
    bool operator==(const TPlace& o) const {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
};

// The control's place in its window's client area.
TPlace PlaceOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::wstring FontFace(HWND control, LONG& height) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    height = font.lfHeight;
    return font.lfFaceName;
}

struct TControlCase {
    int id;
    bool readOnly;
    int colour;  // the system colour that the control is painted with; -1 for a button
    bool scrollBar;
    TPlace designed;
    TPlace grown;  // after the window grew by 100 by 50 pixels
};

void ExpectControls(TForm& form, const TControlCase* begin, const TControlCase* end, int width, int height) {
    RECT client;
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, width);
    EXPECT_EQ(client.bottom, height);
    for (const TControlCase* c = begin; c != end; ++c) {
        SCOPED_TRACE(c->id);
        HWND control = GetDlgItem(form.Handle(), c->id);
        ASSERT_NE(control, nullptr);
        LONG fontHeight = 0;
        EXPECT_EQ(FontFace(control, fontHeight), L"Tahoma");
        EXPECT_EQ(fontHeight, -11) << "11 pixels high";
        const LONG style = GetWindowLongW(control, GWL_STYLE);
        wchar_t kind[16] = {};
        GetClassNameW(control, kind, 16);
        const bool edit = std::wstring(kind) == L"Edit";
        if (edit) {
            EXPECT_EQ((style & ES_READONLY) != 0, c->readOnly);
        }
        if (c->colour >= 0) {
            const UINT request = edit && !c->readOnly ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
            const TColourAnswer answer = ColourAnswer(form.Handle(), request, control);
            EXPECT_TRUE(answer.own);
            EXPECT_EQ(answer.brush, GetSysColor(c->colour));
            EXPECT_EQ(answer.background, GetSysColor(c->colour));
        }
        EXPECT_EQ((style & WS_VSCROLL) != 0, c->scrollBar);
        EXPECT_EQ(PlaceOf(control), c->designed);
    }
    form.SetClientSize(width + 100, height + 50);
    for (const TControlCase* c = begin; c != end; ++c) {
        SCOPED_TRACE(c->id);
        EXPECT_EQ(PlaceOf(GetDlgItem(form.Handle(), c->id)), c->grown);
    }
}

TEST(ResultWindowLayout, Detail) {
    using namespace DetailIds;
    TF_Detail form;
    const TControlCase cases[] = {
        {Label1, false, COLOR_BTNFACE, false, {8, 4, 417, 14}, {8, 4, 417, 14}},
        {E_Category, true, COLOR_BTNFACE, false, {8, 18, 417, 21}, {8, 18, 517, 21}},
        {Label2, false, COLOR_BTNFACE, false, {8, 42, 417, 14}, {8, 42, 417, 14}},
        {E_Crytycal, true, COLOR_BTNFACE, false, {8, 56, 250, 21}, {8, 56, 250, 21}},
        {lbl1, false, COLOR_BTNFACE, false, {8, 80, 417, 14}, {8, 80, 417, 14}},
        {mmoInfo, true, COLOR_INFOBK, true, {8, 94, 417, 63}, {8, 94, 417, 63}},
        {lbl2, false, COLOR_BTNFACE, false, {8, 160, 417, 14}, {8, 160, 417, 14}},
        {MemoError, true, COLOR_BTNFACE, true, {8, 174, 417, 86}, {8, 174, 517, 136}},
        {B_OK, false, -1, false, {350, 264, 75, 25}, {450, 314, 75, 25}},
    };
    ExpectControls(form, std::begin(cases), std::end(cases), 433, 293);
}

TEST(ResultWindowLayout, SupportReport) {
    using namespace DebugInfoIds;
    TF_DebugInfo form;
    const TControlCase cases[] = {
        {MemoInfo, false, COLOR_WINDOW, true, {0, 0, 639, 464}, {0, 0, 739, 514}},
        {B_Save, false, -1, false, {8, 472, 97, 25}, {8, 522, 97, 25}},
        {B_OK, false, -1, false, {556, 472, 75, 25}, {656, 522, 75, 25}},
    };
    ExpectControls(form, std::begin(cases), std::end(cases), 639, 505);
}

TEST(ResultDetail, ShowsAResultWithItsCheck) {
    struct Case {
        int check, image;
        const char* info;
        int shown;  // the check whose criticality and description the window shows
        const char* criticality;
        TColor colour;
    } const cases[] = {
        {ciConnect80, ImageFailed, "отказ", ciConnect80, "1.Критичный", clRed},
        {ciCheckLumWeb, ImageFailed, "502", ciCheckLumWeb, "2.Не критичный (для рабочего места)", clYellow},
        {ciSign, ImageFailed, "нет", ciSign, "3.Не критичный", clSilver},
        {ciZantholder, ImageWarning, "Не найдено", ciZantholder, "3.Не критичный", clYellow},
        {ciIsCSP, ImagePassed, "Установлен", ciIsCSP, "1.Критичный", clBtnFace},
        // While its routine runs, a row names no check: the detail shows check 0.
        {ciSign, ImageRunning, "", ciConnect80, "1.Критичный", clBtnFace},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "check " << c.check << " image " << c.image);
        const TCheckResult result{BuiltInChecks()[c.check], {"Подпись", c.image, c.info}};
        TF_Detail form;
        form.ShowResult(result);
        EXPECT_EQ(form.E_Category.Caption(), "Подпись");
        EXPECT_EQ(form.E_Crytycal.Caption(), c.criticality);
        EXPECT_EQ(form.mmoInfo.Caption(), BuiltInChecks()[c.shown].Description);
        EXPECT_EQ(form.MemoError.Caption(), c.info);
        EXPECT_EQ(form.E_Category.Color(), c.colour);
    }
}

}  // namespace
