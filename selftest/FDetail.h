// The result detail window: one row of the list with the criticality and the description of its
// check, the caption coloured by how badly it failed. Each display is a new instance; the one
// made at start-up is never shown.
#pragma once
#include "Button.h"
#include "Edit.h"
#include "Form.h"
#include "Label.h"
#include "Memo.h"
#include "ResultsText.h"

class TF_Detail : public TForm {
public:
    TF_Detail();

    // Fills the window from a row; a row without a check index shows check 0.
    void ShowRow(const TResultRow& row);

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

// The caption's colour by the row's image and its check's criticality level: a failed row red
// (level 0), yellow (1) or silver (2); a warning yellow; any other the button face.
TColor CategoryColor(int image, int level);

extern "C" TF_Detail* F_Detail;
