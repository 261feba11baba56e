// The support report window: builds the report each time it is shown, lets the user read, select
// and edit it, and saves it as a text file. Each display is a new instance; the one made at
// start-up is never shown.
#pragma once
#include "Button.h"
#include "Form.h"
#include "Memo.h"
#include <string>

class TF_DebugInfo : public TForm {
public:
    TF_DebugInfo();

    TMemo MemoInfo;
    TButton B_Save;
    TButton B_OK;

    // The results text of the last run, set before the window is shown; empty before any run.
    std::wstring ResultsText;

    void FormShow(TComponent* sender);
    void B_OKClick(TComponent*) { SetModalResult(mrOk); }
    void B_SaveClick(TComponent* sender);
    void MemoInfoKeyPress(TComponent* sender, wchar_t& key);
};

// The name a report is saved under: the chosen one, with ".txt" after it unless its extension is
// ".txt" in some letter case.
std::wstring ReportFileName(const std::wstring& chosen);

extern "C" TF_DebugInfo* F_DebugInfo;
