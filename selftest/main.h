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
#include "ResultsText.h"
#include "TestRun.h"

class TF_MainTest : public TForm, private IRunView {
public:
    TF_MainTest();

    // What the last run left: the request record, the identifier buffer and the verdict text.
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

    TAction A_MakeTest;
    TAction A_DebugInfo;

    TMainMenu MainMenu1;
    TMenuItem mni_N18, N1, N2, N6, N8;

    void A_MakeTestExecute(TComponent* sender);
    void mni_N18Click(TComponent* sender) { A_MakeTestExecute(sender); }
    void N1Click(TComponent* sender) { A_MakeTestExecute(sender); }
    void N2Click(TComponent* sender) { A_MakeTestExecute(sender); }
    void B_ExitClick(TComponent*) { Close(); }
    // The detail of the selected row, and the support report with the results text of the list.
    void LV_StatDblClick(TComponent* sender);
    void A_DebugInfoExecute(TComponent* sender);

private:
    TResultRow Row(int index) const;

    void ShowProgress(int max) override;
    void StepProgress() override { PB1.SetPosition(PB1.Position() + 1); }
    void HideProgress() override;
    void ClearRows() override { LV_Stat.Clear(); }
    int AddRow(const std::string& caption, int image) override { return LV_Stat.AddItem(caption, image); }
    void SetRow(int row, const RowContent& content) override;
    void SetRowFailed(int row, const std::string& message) override;
    void SetRowId(int row, int index) override { LV_Stat.SetItemText(row, 2, std::to_string(index)); }
    void ProcessMessages() override;
    void ShowVerdict(const std::string& text, unsigned icon) override;
};

extern "C" TF_MainTest* F_MainTest;
