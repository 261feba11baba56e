// A bounded progress value that an HTTP client moves during a download without owning it.
#pragma once

class TProgressRange {
public:
    // Each setter keeps the position within [Min, Max], notifies, and answers false when it
    // had to clamp.
    bool SetPosition(int value);
    bool SetMax(int value);
    bool StepBy(int delta);
    void NotifyChange();

    int Position;
    int Min;
    int Max;
    void (*OnChange)(TProgressRange* progress);
};
