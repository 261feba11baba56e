// The main window's controls as the view of a run: the progress strip with its bar, the list of
// results and the verdict's message box.
#pragma once
#include "ListView.h"
#include "Panel.h"
#include "ProgressBar.h"
#include "RunView.h"

class TRunListView : public IRunView {
public:
    TRunListView(TPanel& strip, TProgressBar& bar, TListView& list) : strip_(strip), bar_(bar), list_(list) {}

    void ShowProgress(int max) override;
    void StepProgress() override { bar_.SetPosition(bar_.Position() + 1); }
    void HideProgress() override;
    void ClearRows() override { list_.Clear(); }
    // The caption and image, the information text and the ID column.
    void ShowRow(int row, const TCheckResult& result) override;
    void ProcessMessages() override;
    void ShowVerdict(const std::string& text, unsigned icon) override;

private:
    TPanel& strip_;
    TProgressBar& bar_;
    TListView& list_;
};
