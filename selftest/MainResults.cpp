// The main window's windows on what a run left: the detail of a row and the support report.
#include "main.h"
#include "DebugInfo.h"
#include "FDetail.h"
#include "Text.h"
#include <memory>

TResultRow TF_MainTest::Row(int index) const {
    return {LV_Stat.ItemText(index, 0), LV_Stat.ItemImage(index), LV_Stat.ItemText(index, 1),
            LV_Stat.ItemText(index, 2)};
}

void TF_MainTest::LV_StatDblClick(TComponent*) {
    const int selected = LV_Stat.Selected();
    if (selected < 0)
        return;
    const auto detail = std::make_unique<TF_Detail>();
    detail->ShowRow(Row(selected));
    detail->ShowModal();
}

void TF_MainTest::A_DebugInfoExecute(TComponent*) {
    const auto report = std::make_unique<TF_DebugInfo>();
    std::vector<TResultRow> rows;
    for (int i = 0; i < LV_Stat.Count(); ++i)
        rows.push_back(Row(i));
    report->ResultsText = vcl::ToWide(
        ResultsText(rows, Run.Request != nullptr, Run.SignerIdentifier(), Run.RecomendText));
    report->ShowModal();
}
