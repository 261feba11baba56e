// What a run shows while it walks the checks: the progress, its rows and the verdict.
#pragma once
#include "RunResults.h"
#include <string>

class IRunView {
public:
    virtual ~IRunView() = default;
    virtual void ShowProgress(int max) = 0;  // the strip appears, the bar at 0 of max
    virtual void StepProgress() = 0;
    virtual void HideProgress() = 0;  // the strip disappears, the bar back at 0
    virtual void ClearRows() = 0;
    // Shows the run's row: a new one at the end when row is the number of rows shown.
    virtual void ShowRow(int row, const TCheckResult& result) = 0;
    virtual void ProcessMessages() = 0;
    virtual void ShowVerdict(const std::string& text, unsigned icon) = 0;
};
