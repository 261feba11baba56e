// A run's window as a record (IRunView): the rows, the progress and the verdicts a run shows, so
// that the walk is judged without a window. Link selftest.
#pragma once
#include "RunView.h"
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

struct TRecordedRow {
    std::string caption;
    int image;
    std::string info, id;
    bool operator==(const TRecordedRow& o) const {
        return caption == o.caption && image == o.image && info == o.info && id == o.id;
    }
};

inline std::ostream& operator<<(std::ostream& os, const TRecordedRow& r) {
    return os << "{" << r.caption << ", " << r.image << ", " << r.info << ", " << r.id << "}";
}

class TRecordingView : public IRunView {
public:
    void ShowProgress(int max) override {
        visible = true;
        position = 0;
        this->max = max;
    }
    void StepProgress() override { ++position; }
    void HideProgress() override {
        visible = false;
        position = 0;
    }
    void ClearRows() override { rows.clear(); }
    void ShowRow(int row, const TCheckResult& result) override {
        const TRecordedRow shown{result.Row.Caption, result.Row.Image, result.Row.Info, result.IdText()};
        if (row == static_cast<int>(rows.size()))
            rows.push_back(shown);
        else
            rows.at(row) = shown;
    }
    void ProcessMessages() override {
        positionsSeen.push_back(position);
        if (onPump)
            onPump();
    }
    void ShowVerdict(const std::string& text, unsigned icon) override {
        verdicts.push_back({text, icon});
        visibleAtVerdict = visible;
    }

    bool visible = false, visibleAtVerdict = false;
    int position = 0, max = 0;
    std::vector<TRecordedRow> rows;
    std::vector<int> positionsSeen;
    std::vector<std::pair<std::string, unsigned>> verdicts;
    std::function<void()> onPump;
};
