// Logging levels: a value (larger is more severe) and a name, kept in one registry ordered by
// value. A level made with the value of a registered one takes its place; the replaced level is
// retired, not freed, so whatever still points at it stays valid until the library ends.
#pragma once
#include "LogObject.h"
#include <string>

namespace HierLog {

class HIERLOG_API TLogLevel {
public:
    // Registers the level; the registry owns it from then on.
    TLogLevel(const std::string& name, int level);
    TLogLevel(const TLogLevel&) = delete;
    TLogLevel& operator=(const TLogLevel&) = delete;

    int Level() const { return FLevel; }
    const std::string& Name() const { return FName; }
    bool IsGreaterOrEqual(const TLogLevel* other) const { return FLevel >= other->FLevel; }

    // By value, or by name (letter case included); Debug when no default is given.
    static TLogLevel* GetLevel(int level);
    static TLogLevel* GetLevel(int level, TLogLevel* defaultLevel);
    static TLogLevel* GetLevel(const std::string& name);
    static TLogLevel* GetLevel(const std::string& name, TLogLevel* defaultLevel);

private:
    friend class TLogLevelRegistry;
    ~TLogLevel() = default;

    int FLevel;
    std::string FName;
};

// The standard levels: all, debug, info, warn, error, fatal, off.
extern TLogLevel* All;
extern TLogLevel* Debug;
extern TLogLevel* Info;
extern TLogLevel* Warn;
extern TLogLevel* Error;
extern TLogLevel* Fatal;
extern TLogLevel* Off;

}  // namespace HierLog
