#include "FDetail.h"
#include "ResultWindowIds.h"

TF_Detail* F_Detail = nullptr;

TColor CategoryColor(int image, TCriticality level) {
    if (image == ImageFailed)
        return level == TCriticality::Critical ? clRed : level == TCriticality::ForWorkstation ? clYellow : clSilver;
    return image == ImageWarning ? clYellow : clBtnFace;
}

TF_Detail::TF_Detail()
    : TForm(L"TF_Detail"),
      Label1(this, DetailIds::Label1),
      E_Category(this, DetailIds::E_Category),
      Label2(this, DetailIds::Label2),
      E_Crytycal(this, DetailIds::E_Crytycal),
      lbl1(this, DetailIds::lbl1),
      mmoInfo(this, DetailIds::mmoInfo),
      lbl2(this, DetailIds::lbl2),
      MemoError(this, DetailIds::MemoError),
      B_OK(this, DetailIds::B_OK) {
    Name = "F_Detail";
    SetCaption("Информация");
    SetBorderIcons(biSystemMenu | biMaximize);
    SetClientSize(433, 293);
    SetPosition(TPosition::OwnerFormCenter);

    Label1.SetBounds(8, 4, 417, 14);
    Label1.SetCaption("Категория");
    E_Category.SetBounds(8, 18, 417, 21);
    E_Category.SetAnchors(akLeft | akTop | akRight);
    Label2.SetBounds(8, 42, 417, 14);
    Label2.SetCaption("Критичность");
    E_Crytycal.SetBounds(8, 56, 250, 21);
    lbl1.SetBounds(8, 80, 417, 14);
    lbl1.SetCaption("Описание");
    mmoInfo.SetBounds(8, 94, 417, 63);
    lbl2.SetBounds(8, 160, 417, 14);
    lbl2.SetCaption("Информация");
    MemoError.SetBounds(8, 174, 417, 86);
    MemoError.SetAnchors(akLeft | akTop | akRight | akBottom);
    B_OK.SetBounds(350, 264, 75, 25);
    B_OK.SetAnchors(akRight | akBottom);
    B_OK.SetCaption("ОК");
    B_OK.SetCancel(true);
    B_OK.SetModalResult(mrCancel);

    for (TEdit* edit : {&E_Category, &E_Crytycal}) {
        edit->SetReadOnly(true);
        edit->SetColor(clBtnFace);
    }
    mmoInfo.SetReadOnly(true);
    mmoInfo.SetColor(clInfoBk);
    MemoError.SetReadOnly(true);
    MemoError.SetColor(clBtnFace);
}

void TF_Detail::ShowResult(const TCheckResult& result) {
    const TCheck& check = result.Done() ? result.Check : BuiltInChecks()[ciConnect80];
    E_Category.SetCaption(result.Row.Caption);
    MemoError.SetCaption(result.Row.Info);
    E_Crytycal.SetCaption(CriticalityText(check.Level));
    E_Category.SetColor(CategoryColor(result.Row.Image, check.Level));
    mmoInfo.SetCaption(check.Description);
}
