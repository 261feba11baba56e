#include "LogFilters.h"
#include "LogEvent.h"
#include "LogText.h"

namespace HierLog {

HIERLOG_CLASS_INFO(TLogCustomFilter, TLogOptionHandlerOf<ILogFilter>)
HIERLOG_CLASS_INFO(TLogDenyAllFilter, TLogCustomFilter)
HIERLOG_CLASS_INFO(TLogLevelMatchFilter, TLogCustomFilter)
HIERLOG_CLASS_INFO(TLogLevelRangeFilter, TLogCustomFilter)
HIERLOG_CLASS_INFO(TLogStringFilter, TLogCustomFilter)

TLogCustomFilter::TLogCustomFilter(bool acceptOnMatch) {
    Init();
    FAcceptOnMatch = acceptOnMatch;
}

void TLogCustomFilter::SetOption(const std::string& name, const std::string& value) {
    TLogOptionHandlerOf<ILogFilter>::SetOption(name, value);
    if (SameText(name, "acceptOnMatch"))
        FAcceptOnMatch = StrToBool(value, true);
}

TLogFilterDecision TLogCustomFilter::OnMatch(bool matches) const {
    if (!matches)
        return fdNeutral;
    return FAcceptOnMatch ? fdAccept : fdDeny;
}

TLogDenyAllFilter::TLogDenyAllFilter(bool acceptOnMatch) {
    Init();
    FAcceptOnMatch = acceptOnMatch;
}

TLogFilterDecision TLogDenyAllFilter::Decide(TLogEvent*) {
    return fdDeny;
}

TLogLevelMatchFilter::TLogLevelMatchFilter(TLogLevel* matchLevel, bool acceptOnMatch) {
    Init();
    FMatchLevel = matchLevel;
    FAcceptOnMatch = acceptOnMatch;
}

TLogFilterDecision TLogLevelMatchFilter::Decide(TLogEvent* event) {
    return OnMatch(FMatchLevel && FMatchLevel->Level() == event->Level()->Level());
}

void TLogLevelMatchFilter::SetOption(const std::string& name, const std::string& value) {
    TLogCustomFilter::SetOption(name, value);
    if (SameText(name, "match"))
        FMatchLevel = TLogLevel::GetLevel(value);
}

TLogLevelRangeFilter::TLogLevelRangeFilter(TLogLevel* maxLevel, TLogLevel* minLevel, bool acceptOnMatch) {
    Init();
    FMaxLevel = maxLevel;
    FMinLevel = minLevel;
    FAcceptOnMatch = acceptOnMatch;
}

TLogFilterDecision TLogLevelRangeFilter::Decide(TLogEvent* event) {
    const int level = event->Level()->Level();
    return OnMatch(FMaxLevel && FMinLevel && FMinLevel->Level() <= level && level <= FMaxLevel->Level());
}

void TLogLevelRangeFilter::SetOption(const std::string& name, const std::string& value) {
    TLogCustomFilter::SetOption(name, value);
    if (SameText(name, "maximum"))
        FMaxLevel = TLogLevel::GetLevel(value);
    else if (SameText(name, "minimum"))
        FMinLevel = TLogLevel::GetLevel(value);
}

TLogStringFilter::TLogStringFilter(const std::string& match, bool ignoreCase, bool acceptOnMatch) {
    Init();
    FMatch = match;
    FIgnoreCase = ignoreCase;
    FAcceptOnMatch = acceptOnMatch;
}

TLogFilterDecision TLogStringFilter::Decide(TLogEvent* event) {
    if (FMatch.empty())
        return fdNeutral;
    const bool matches = FIgnoreCase
                             ? LowerCaseAscii(event->Message()).find(LowerCaseAscii(FMatch)) != std::string::npos
                             : event->Message().find(FMatch) != std::string::npos;
    return OnMatch(matches);
}

void TLogStringFilter::SetOption(const std::string& name, const std::string& value) {
    TLogCustomFilter::SetOption(name, value);
    if (SameText(name, "match"))
        FMatch = value;
    else if (SameText(name, "ignoreCase"))
        FIgnoreCase = StrToBool(value, FIgnoreCase);
}

}  // namespace HierLog
