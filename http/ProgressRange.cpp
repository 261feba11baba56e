#include "ProgressRange.h"
#include <climits>

bool TProgressRange::SetPosition(int value) {
    bool inRange = true;
    if (value < Min) {
        Position = Min;
        inRange = false;
    } else if (value > Max) {
        Position = Max;
        inRange = false;
    } else {
        Position = value;
    }
    NotifyChange();
    return inRange;
}

bool TProgressRange::SetMax(int value) {
    bool accepted = value >= Min;
    Max = accepted ? value : Min;
    if (Position > value) {
        SetPosition(value);
        accepted = false;
    }
    NotifyChange();
    return accepted;
}

bool TProgressRange::StepBy(int delta) {
    const long long target = static_cast<long long>(Position) + delta;
    if (target > INT_MAX || target < INT_MIN) {
        SetPosition(target > INT_MAX ? INT_MAX : INT_MIN);
        return false;
    }
    return SetPosition(static_cast<int>(target));
}

void TProgressRange::NotifyChange() {
    if (OnChange != nullptr)
        OnChange(this);
}
