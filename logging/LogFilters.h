// Filters: each votes to deny an event, accept it, or leave it to the next filter.
#pragma once
#include "LogInterfaces.h"
#include "LogLevel.h"
#include "LogOptionHandler.h"
#include <string>

namespace HierLog {

// On a match: accept when AcceptOnMatch is true, deny when false; no match: neutral.
// Option "acceptOnMatch" (an empty or unknown value gives true).
class HIERLOG_API TLogCustomFilter : public TLogOptionHandlerOf<ILogFilter> {
    HIERLOG_CLASS(TLogCustomFilter)
    TLogCustomFilter() = default;  // bare
    explicit TLogCustomFilter(bool acceptOnMatch);
    void SetOption(const std::string& name, const std::string& value) override;
    bool AcceptOnMatch() const { return FAcceptOnMatch; }
    void SetAcceptOnMatch(bool accept) { FAcceptOnMatch = accept; }

protected:
    TLogFilterDecision OnMatch(bool matches) const;
    bool FAcceptOnMatch = false;
};

class HIERLOG_API TLogDenyAllFilter : public TLogCustomFilter {
    HIERLOG_CLASS(TLogDenyAllFilter)
    TLogDenyAllFilter() = default;
    explicit TLogDenyAllFilter(bool acceptOnMatch);
    TLogFilterDecision Decide(TLogEvent* event) override;
};

// Matches an event whose level has the value of MatchLevel. Option "match" (a level name).
class HIERLOG_API TLogLevelMatchFilter : public TLogCustomFilter {
    HIERLOG_CLASS(TLogLevelMatchFilter)
    TLogLevelMatchFilter() = default;
    TLogLevelMatchFilter(TLogLevel* matchLevel, bool acceptOnMatch);
    TLogFilterDecision Decide(TLogEvent* event) override;
    void SetOption(const std::string& name, const std::string& value) override;
    TLogLevel* MatchLevel() const { return FMatchLevel; }
    void SetMatchLevel(TLogLevel* level) { FMatchLevel = level; }

private:
    TLogLevel* FMatchLevel = nullptr;
};

// Matches levels from MinLevel to MaxLevel, both set. Options "maximum" and "minimum".
class HIERLOG_API TLogLevelRangeFilter : public TLogCustomFilter {
    HIERLOG_CLASS(TLogLevelRangeFilter)
    TLogLevelRangeFilter() = default;
    TLogLevelRangeFilter(TLogLevel* maxLevel, TLogLevel* minLevel, bool acceptOnMatch);
    TLogFilterDecision Decide(TLogEvent* event) override;
    void SetOption(const std::string& name, const std::string& value) override;
    TLogLevel* MaxLevel() const { return FMaxLevel; }
    TLogLevel* MinLevel() const { return FMinLevel; }
    void SetMaxLevel(TLogLevel* level) { FMaxLevel = level; }
    void SetMinLevel(TLogLevel* level) { FMinLevel = level; }

private:
    TLogLevel* FMaxLevel = nullptr;
    TLogLevel* FMinLevel = nullptr;
};

// Matches a message that contains Match (an empty Match never matches); with IgnoreCase both
// are lower-cased in ASCII first. Options "match" and "ignoreCase".
class HIERLOG_API TLogStringFilter : public TLogCustomFilter {
    HIERLOG_CLASS(TLogStringFilter)
    TLogStringFilter() = default;
    TLogStringFilter(const std::string& match, bool ignoreCase, bool acceptOnMatch);
    TLogFilterDecision Decide(TLogEvent* event) override;
    void SetOption(const std::string& name, const std::string& value) override;
    bool IgnoreCase() const { return FIgnoreCase; }
    const std::string& Match() const { return FMatch; }
    void SetIgnoreCase(bool ignore) { FIgnoreCase = ignore; }
    void SetMatch(const std::string& match) { FMatch = match; }

private:
    bool FIgnoreCase = false;
    std::string FMatch;
};

}  // namespace HierLog
