#include "LogLevel.h"
#include "LogLevelRegistry.h"
#include <algorithm>

namespace HierLog {

TLogLevel* All = nullptr;
TLogLevel* Debug = nullptr;
TLogLevel* Info = nullptr;
TLogLevel* Warn = nullptr;
TLogLevel* Error = nullptr;
TLogLevel* Fatal = nullptr;
TLogLevel* Off = nullptr;

TLogLevelRegistry* TLogLevelRegistry::Instance = nullptr;

TLogLevelRegistry::~TLogLevelRegistry() {
    for (TLogLevel* level : levels)
        delete level;
    for (TLogLevel* level : retired)
        delete level;
}

void TLogLevelRegistry::Register(TLogLevel* level) {
    TLogGuard guard(lock);
    if (std::find(levels.begin(), levels.end(), level) != levels.end())
        return;
    for (auto it = levels.begin(); it != levels.end(); ++it) {
        if ((*it)->Level() < level->Level()) {
            levels.insert(it, level);
            return;
        }
        if ((*it)->Level() == level->Level()) {
            retired.push_back(*it);
            *it = level;
            return;
        }
    }
    levels.push_back(level);
}

TLogLevel* TLogLevelRegistry::ByValue(int value, TLogLevel* defaultLevel) {
    TLogGuard guard(lock);
    for (TLogLevel* level : levels) {
        if (level->Level() == value)
            return level;
        if (level->Level() < value)
            break;
    }
    return defaultLevel;
}

TLogLevel* TLogLevelRegistry::ByName(const std::string& name, TLogLevel* defaultLevel) {
    TLogGuard guard(lock);
    for (TLogLevel* level : levels)
        if (level->Name() == name)
            return level;
    return defaultLevel;
}

std::vector<TLogLevel*> TLogLevelRegistry::Levels() {
    TLogGuard guard(lock);
    return levels;
}

TLogLevel::TLogLevel(const std::string& name, int level) : FLevel(level), FName(name) {
    if (TLogLevelRegistry::Instance)
        TLogLevelRegistry::Instance->Register(this);
}

TLogLevel* TLogLevel::GetLevel(int level) {
    return GetLevel(level, Debug);
}

TLogLevel* TLogLevel::GetLevel(int level, TLogLevel* defaultLevel) {
    return TLogLevelRegistry::Instance ? TLogLevelRegistry::Instance->ByValue(level, defaultLevel) : defaultLevel;
}

TLogLevel* TLogLevel::GetLevel(const std::string& name) {
    return GetLevel(name, Debug);
}

TLogLevel* TLogLevel::GetLevel(const std::string& name, TLogLevel* defaultLevel) {
    return TLogLevelRegistry::Instance ? TLogLevelRegistry::Instance->ByName(name, defaultLevel) : defaultLevel;
}

}  // namespace HierLog
