// Filters' decisions, alone and as an appender's chain.
#include "HierLog.h"
#include "RecordingAppender.h"
#include <gtest/gtest.h>

using namespace HierLog;

namespace {

TLogFilterDecision DecisionFor(ILogFilter* filter, TLogLevel* level, const std::string& message = "m") {
    TLogEvent event(nullptr, level, message, nullptr, 0);
    return filter->Decide(&event);
}

LogRef<ILogFilter> Bare(TObject* made) {
    LogRef<ILogFilter> filter;
    void* found = nullptr;
    if (made->GetInterface(ILogFilter::Id, &found))
        filter.Adopt(static_cast<ILogFilter*>(found));
    filter->Init();
    return filter;
}

}  // namespace

TEST(Filters, LevelMatch) {
    LogRef<ILogFilter> denyInfo(new TLogLevelMatchFilter(Info, false));
    LogRef<ILogFilter> acceptInfo(new TLogLevelMatchFilter(Info, true));
    LogRef<ILogFilter> unset(new TLogLevelMatchFilter(nullptr, true));
    const struct {
        TLogLevel* level;
        TLogFilterDecision deny, accept;
    } table[] = {{Debug, fdNeutral, fdNeutral},
                 {Info, fdDeny, fdAccept},
                 {Warn, fdNeutral, fdNeutral},
                 {All, fdNeutral, fdNeutral}};
    for (const auto& row : table) {
        EXPECT_EQ(DecisionFor(denyInfo.get(), row.level), row.deny) << row.level->Name();
        EXPECT_EQ(DecisionFor(acceptInfo.get(), row.level), row.accept) << row.level->Name();
        EXPECT_EQ(DecisionFor(unset.get(), row.level), fdNeutral);
    }
}

TEST(Filters, LevelRange) {
    LogRef<ILogFilter> range(new TLogLevelRangeFilter(Error, Info, true));
    LogRef<ILogFilter> maxOnly(new TLogLevelRangeFilter(Error, nullptr, true));
    LogRef<ILogFilter> minOnly(new TLogLevelRangeFilter(nullptr, Info, false));
    const struct {
        TLogLevel* level;
        TLogFilterDecision inRange;
    } table[] = {{Debug, fdNeutral}, {Info, fdAccept}, {Warn, fdAccept}, {Error, fdAccept}, {Fatal, fdNeutral}};
    for (const auto& row : table) {
        EXPECT_EQ(DecisionFor(range.get(), row.level), row.inRange) << row.level->Name();
        EXPECT_EQ(DecisionFor(maxOnly.get(), row.level), fdNeutral);
        EXPECT_EQ(DecisionFor(minOnly.get(), row.level), fdNeutral);
    }
}

TEST(Filters, StringMatch) {
    const struct {
        const char* match;
        bool ignoreCase;
        bool accept;
        const char* message;
        TLogFilterDecision decision;
    } table[] = {
        {"Err", true, true, "connection ERROR", fdAccept},
        {"Err", false, true, "connection ERROR", fdNeutral},
        {"ERR", false, false, "connection ERROR", fdDeny},
        {"", false, true, "anything", fdNeutral},
        {"", true, false, "", fdNeutral},
        {"Ошибка", true, true, "ОШИБКА", fdNeutral},  // only A to Z change case
        {"a|b", false, true, "x a|b y", fdAccept},
    };
    for (const auto& row : table) {
        LogRef<ILogFilter> filter(new TLogStringFilter(row.match, row.ignoreCase, row.accept));
        EXPECT_EQ(DecisionFor(filter.get(), Info, row.message), row.decision) << row.match << " / " << row.message;
    }
}

TEST(Filters, DenyAllDeniesWhateverItsAcceptOnMatch) {
    for (bool accept : {false, true}) {
        LogRef<ILogFilter> filter(new TLogDenyAllFilter(accept));
        EXPECT_EQ(DecisionFor(filter.get(), Fatal), fdDeny);
    }
}

TEST(Filters, Options) {
    // Made bare and set up through options, as the configurator does.
    LogRef<ILogFilter> match = Bare(TLogLevelMatchFilter::StaticClass()->NewBare());
    match->SetOption("match", "debug");
    EXPECT_EQ(DecisionFor(match.get(), Debug), fdDeny);  // acceptOnMatch starts false
    match->SetOption("acceptOnMatch", "true");
    EXPECT_EQ(DecisionFor(match.get(), Debug), fdAccept);
    match->SetOption("acceptOnMatch", "no");
    EXPECT_EQ(DecisionFor(match.get(), Debug), fdDeny);
    match->SetOption("acceptOnMatch", "perhaps");
    EXPECT_EQ(DecisionFor(match.get(), Debug), fdAccept);
    match->SetOption("acceptOnMatch", "");
    EXPECT_EQ(DecisionFor(match.get(), Debug), fdAccept);
    match->SetOption("match", "WARN");  // no such level: debug
    EXPECT_EQ(DecisionFor(match.get(), Debug), fdAccept);
    EXPECT_EQ(DecisionFor(match.get(), Warn), fdNeutral);
    EXPECT_EQ(match->GetOption("MATCH"), "WARN");

    LogRef<ILogFilter> range = Bare(TLogLevelRangeFilter::StaticClass()->NewBare());
    range->SetOption("minimum", "info");
    EXPECT_EQ(DecisionFor(range.get(), Info), fdNeutral);
    range->SetOption("maximum", "warn");
    EXPECT_EQ(DecisionFor(range.get(), Info), fdDeny);
    EXPECT_EQ(DecisionFor(range.get(), Error), fdNeutral);

    LogRef<ILogFilter> text = Bare(TLogStringFilter::StaticClass()->NewBare());
    text->SetOption("match", "Disk");
    text->SetOption("acceptOnMatch", "true");
    EXPECT_EQ(DecisionFor(text.get(), Info, "disk full"), fdNeutral);
    text->SetOption("ignoreCase", "yes");
    EXPECT_EQ(DecisionFor(text.get(), Info, "disk full"), fdAccept);
    text->SetOption("ignoreCase", "unclear");  // keeps the current value
    EXPECT_EQ(DecisionFor(text.get(), Info, "disk full"), fdAccept);
    text->SetOption("match", "");
    EXPECT_EQ(DecisionFor(text.get(), Info, "disk full"), fdNeutral);
}

TEST(Filters, ChainOfAnAppender) {
    using Chain = std::vector<LogRef<ILogFilter>>;
    const struct {
        const char* name;
        Chain filters;
        const char* written;
    } table[] = {
        {"none", {}, "debug info warn error"},
        {"accept info then deny all",
         {LogRef<ILogFilter>(new TLogLevelMatchFilter(Info, true)), LogRef<ILogFilter>(new TLogDenyAllFilter(false))},
         "info"},
        {"deny info, the rest neutral",
         {LogRef<ILogFilter>(new TLogLevelMatchFilter(Info, false))},
         "debug warn error"},
        {"first decision wins",
         {LogRef<ILogFilter>(new TLogLevelRangeFilter(Fatal, Warn, false)),
          LogRef<ILogFilter>(new TLogLevelRangeFilter(Fatal, Debug, true)),
          LogRef<ILogFilter>(new TLogDenyAllFilter(false))},
         "debug info"},
        {"neutral strings pass",
         {LogRef<ILogFilter>(new TLogStringFilter("zzz", false, true))},
         "debug info warn error"},
    };
    for (const auto& row : table) {
        LogRef<TRecordingAppender> appender(new TRecordingAppender("chain", TLogPatternLayout::Create("%p ")));
        for (const auto& filter : row.filters)
            appender->AddFilter(filter.get());
        for (TLogLevel* level : {Debug, Info, Warn, Error}) {
            TLogEvent event(nullptr, level, "m", nullptr, 0);
            appender->Append(&event);
        }
        std::string written;
        for (const auto& text : appender->Texts())
            written += text;
        if (!written.empty())
            written.pop_back();
        EXPECT_EQ(written, row.written) << row.name;
    }
}

TEST(Filters, AppenderFilterList) {
    LogRef<TRecordingAppender> appender(new TRecordingAppender);
    LogRef<ILogFilter> one(new TLogDenyAllFilter(false)), two(new TLogLevelMatchFilter(Info, true));
    appender->AddFilter(one.get());
    appender->AddFilter(one.get());
    appender->AddFilter(two.get());
    EXPECT_EQ(appender->GetFilters().size(), 2u);
    appender->RemoveFilter(one.get());
    ASSERT_EQ(appender->GetFilters().size(), 1u);
    EXPECT_EQ(appender->GetFilters()[0], two);
    appender->RemoveAllFilters();
    EXPECT_TRUE(appender->GetFilters().empty());
}
