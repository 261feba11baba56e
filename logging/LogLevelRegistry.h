// The library-wide list of levels, largest value first (made at library start, freed at its end).
#pragma once
#include "LogLevel.h"
#include "LogLock.h"
#include <vector>

namespace HierLog {

class TLogLevelRegistry {
public:
    ~TLogLevelRegistry();
    void Register(TLogLevel* level);
    TLogLevel* ByValue(int value, TLogLevel* defaultLevel);
    TLogLevel* ByName(const std::string& name, TLogLevel* defaultLevel);
    std::vector<TLogLevel*> Levels();

    static TLogLevelRegistry* Instance;

private:
    TLogLock lock;
    std::vector<TLogLevel*> levels;
    std::vector<TLogLevel*> retired;  // replaced, kept for those that still point at them
};

}  // namespace HierLog
