// A run's window as a record (IRunView): the rows, the progress and the verdicts a run shows, so
// that the walk is judged without a window. Link selftest.
#pragma once
#include "TestRun.h"
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

struct RecordedRow {
    std::string caption;
    int image;
    std::string info, id;
    bool operator==(const RecordedRow& o) const {
        return caption == o.caption && image == o.image && info == o.info && id == o.id;
    }
};

inline std::ostream& operator<<(std::ostream& os, const RecordedRow& r) {
    return os << "{" << r.caption << ", " << r.image << ", " << r.info << ", " << r.id << "}";
}

class RecordingView : public IRunView {
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
    int AddRow(const std::string& caption, int image) override {
        rows.push_back({caption, image, "", ""});
        return static_cast<int>(rows.size()) - 1;
    }
    void SetRow(int row, const RowContent& c) override {
        rows[row].caption = c.Caption;
        rows[row].image = c.Image;
        rows[row].info = c.Info;
    }
    void SetRowFailed(int row, const std::string& message) override {
        rows[row].image = 1;
        rows[row].info = message;
    }
    void SetRowId(int row, int index) override { rows[row].id = std::to_string(index); }
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
    std::vector<RecordedRow> rows;
    std::vector<int> positionsSeen;
    std::vector<std::pair<std::string, unsigned>> verdicts;
    std::function<void()> onPump;
};
