#include "DebugInfo.h"
#include "ResultWindowIds.h"
#include "SaveDialog.h"
#include "SupportReport.h"
#include "Text.h"
#include "TextFileLines.h"
#include "TextLines.h"

TF_DebugInfo* F_DebugInfo = nullptr;

namespace {

// From the last dot after the last folder or drive separator; "" when there is none.
std::wstring FileExtension(const std::wstring& name) {
    const size_t dot = name.find_last_of(L".\\/:");
    return dot != std::wstring::npos && name[dot] == L'.' ? name.substr(dot) : std::wstring();
}

}  // namespace

std::wstring ReportFileName(const std::wstring& chosen) {
    const std::wstring extension = FileExtension(chosen);
    const bool isText = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, extension.c_str(),
                                       static_cast<int>(extension.size()), L".txt", 4) == CSTR_EQUAL;
    return isText ? chosen : chosen + L".txt";
}

TF_DebugInfo::TF_DebugInfo()
    : TForm(L"TF_DebugInfo"),
      MemoInfo(this, DebugInfoIds::MemoInfo),
      B_Save(this, DebugInfoIds::B_Save),
      B_OK(this, DebugInfoIds::B_OK) {
    Name = "F_DebugInfo";
    SetCaption("Информация для службы технической поддержки");
    SetClientSize(639, 505);
    SetPosition(TPosition::OwnerFormCenter);

    MemoInfo.SetBounds(0, 0, 639, 464);
    MemoInfo.SetAnchors(akLeft | akTop | akRight | akBottom);
    B_Save.SetBounds(8, 472, 97, 25);
    B_Save.SetAnchors(akLeft | akBottom);
    B_Save.SetCaption("Сохранить");
    B_OK.SetBounds(556, 472, 75, 25);
    B_OK.SetAnchors(akRight | akBottom);
    B_OK.SetCaption("OK");
    B_OK.SetDefault(true);

    OnShow = [this](TComponent* s) { FormShow(s); };
    B_Save.OnClick = [this](TComponent* s) { B_SaveClick(s); };
    B_OK.OnClick = [this](TComponent* s) { B_OKClick(s); };
    MemoInfo.OnKeyPress = [this](TComponent* s, wchar_t& key) { MemoInfoKeyPress(s, key); };
}

void TF_DebugInfo::FormShow(TComponent*) {
    MemoInfo.SetCaption(BuildSupportReport(vcl::ToAnsi(ResultsText)));
}

void TF_DebugInfo::B_SaveClick(TComponent*) {
    TSaveDialog dialog(*this);
    dialog.Filter = "*.txt|*.txt";  // a description and its pattern
    dialog.FileName = vcl::ToWide("Результаты тестирования.txt");
    if (dialog.Execute())
        SaveTextLines(ReportFileName(dialog.FileName), vcl::SplitLines(MemoInfo.Caption()));
}

void TF_DebugInfo::MemoInfoKeyPress(TComponent*, wchar_t& key) {
    if (key == 1) {  // Ctrl+A
        MemoInfo.SelectAll();
        key = 0;
    }
}
