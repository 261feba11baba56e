#include "DebugInfo.h"

TF_DebugInfo* F_DebugInfo = nullptr;

TF_DebugInfo::TF_DebugInfo() : TForm(L"TF_DebugInfo") {
    Name = "F_DebugInfo";
    SetCaption("Информация для службы технической поддержки");
    SetClientSize(639, 505);
}
