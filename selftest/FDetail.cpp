#include "FDetail.h"

TF_Detail* F_Detail = nullptr;

TF_Detail::TF_Detail() : TForm(L"TF_Detail") {
    Name = "F_Detail";
    SetCaption("Информация");
    SetClientSize(433, 293);
}
