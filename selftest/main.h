// The main window: the list of checks, the progress strip, and the commands that start a run,
// open the support report or end the program.
#pragma once
#include "Action.h"
#include "Bind.h"
#include "Button.h"
#include "Form.h"
#include "ImageList.h"
#include "Label.h"
#include "ListView.h"
#include "Menu.h"
#include "Panel.h"
#include "ProgressBar.h"
#include "RunListView.h"
#include "TestRun.h"

class TF_MainTest : public TForm {
public:
    TF_MainTest();

    // What the last run left: its results, the request record, the identifier buffer and the
    // verdict text.
    TRunState Run;

    TFont ButtonFont{L"MS Sans Serif", 11};
    TFont BoldButtonFont{L"MS Sans Serif", 11, true};

    TPanel Panel1;
    TLabel Label2;
    TProgressBar PB1;
    TPanel pnl1;
    TButton Button_Send;
    TButton Button_Check;
    TButton B_Exit;
    TListView LV_Stat;  // made after the panels, so it fills the space they leave
    TImageList Im_16;
    TRunListView RunView{Panel1, PB1, LV_Stat};

    TAction A_MakeTest;
    TAction A_DebugInfo;

    TMainMenu MainMenu1;
    TMenuItem mni_N18, N1, N2, N6, N8;

    void A_MakeTestExecute(TComponent* sender);
    void mni_N18Click(TComponent* sender) { A_MakeTestExecute(sender); }
    void N1Click(TComponent* sender) { A_MakeTestExecute(sender); }
    void N2Click(TComponent* sender) { A_MakeTestExecute(sender); }
    void B_ExitClick(TComponent*) { Close(); }
    // The detail of the selected row, and the support report with the results text of the run.
    void LV_StatDblClick(TComponent* sender);
    void A_DebugInfoExecute(TComponent* sender);
};

extern "C" TF_MainTest* F_MainTest;
