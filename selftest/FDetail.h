// The result detail window: one result of a run with the criticality and the description of its
// check, the caption coloured by how badly it failed. Each display is a new instance; the one
// made at start-up is never shown.
#pragma once
#include "Button.h"
#include "Edit.h"
#include "Form.h"
#include "Label.h"
#include "Memo.h"
#include "CheckTable.h"
#include "RunResults.h"

class TF_Detail : public TForm {
public:
    TF_Detail();

    // Fills the window from a result; while its routine runs, the row names no check and the
    // window shows check 0.
    void ShowResult(const TCheckResult& result);

    TLabel Label1;
    TEdit E_Category;
    TLabel Label2;
    TEdit E_Crytycal;
    TLabel lbl1;
    TMemo mmoInfo;
    TLabel lbl2;
    TMemo MemoError;
    TButton B_OK;
};

// The caption's colour by the row's image and its check's criticality: a failed row red (critical),
// yellow (critical for the workstation) or silver (not critical); a warning yellow; any other the
// button face.
TColor CategoryColor(int image, TCriticality level);

extern "C" TF_Detail* F_Detail;
