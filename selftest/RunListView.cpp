#include "RunListView.h"
#include "Application.h"

void TRunListView::ShowProgress(int max) {
    strip_.SetVisible(true);
    bar_.SetPosition(0);
    bar_.SetMax(max);
}

void TRunListView::HideProgress() {
    strip_.SetVisible(false);
    bar_.SetPosition(0);
}

void TRunListView::ShowRow(int row, const TCheckResult& result) {
    if (row == list_.Count()) {
        list_.AddItem(result.Row.Caption, result.Row.Image);
    } else {
        list_.SetItemImage(row, result.Row.Image);
        list_.SetItemText(row, 0, result.Row.Caption);
    }
    list_.SetItemText(row, 1, result.Row.Info);
    list_.SetItemText(row, 2, result.IdText());
}

void TRunListView::ProcessMessages() {
    Application->ProcessMessages();
}

void TRunListView::ShowVerdict(const std::string& text, unsigned icon) {
    Application->MessageBox(text, "Результаты тестирования", MB_OK | icon);
}
