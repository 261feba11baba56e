#include "LogAppenders.h"
#include "DebugOutputApi.h"
#include "LogErrorHandlers.h"
#include "LogEvent.h"
#include "LogFormat.h"
#include "LogLayouts.h"
#include "LogLibrary.h"
#include "LogText.h"
#include "Seam.h"
#include "Text.h"
#include <windows.h>
#include <algorithm>
#include <utility>

namespace HierLog {

HIERLOG_CLASS_INFO(TLogCustomAppender, TLogOptionHandlerOf<ILogAppender>)
HIERLOG_CLASS_INFO(TLogNullAppender, TLogCustomAppender)
HIERLOG_CLASS_INFO(TLogODSAppender, TLogCustomAppender)

void TLogCustomAppender::Init() {
    TLogOptionHandlerOf<ILogAppender>::Init();
    FClosed = false;
    FErrorHandler = new TLogOnlyOnceErrorHandler;
    FErrorHandler->Init();
    FFilters.clear();
    FThreshold = All;
}

void TLogCustomAppender::Construct(const std::string& name, ILogLayout* layout) {
    Init();
    FName = name;
    FLayout = layout ? layout : static_cast<ILogLayout*>(TLogSimpleLayout::Create());
}

void TLogCustomAppender::SetOption(const std::string& name, const std::string& value) {
    TLogOptionHandlerOf<ILogAppender>::SetOption(name, value);
    if (SameText(name, "threshold") && !value.empty()) {
        TLogGuard guard(FCriticalAppender);
        FThreshold = TLogLevel::GetLevel(value, All);
    }
}

void TLogCustomAppender::AddFilter(ILogFilter* filter) {
    if (!filter)
        return;
    TLogGuard guard(FCriticalAppender);
    for (const auto& present : FFilters)
        if (present.get() == filter)
            return;
    FFilters.emplace_back(filter);
}

void TLogCustomAppender::RemoveFilter(ILogFilter* filter) {
    TLogGuard guard(FCriticalAppender);
    FFilters.erase(std::remove_if(FFilters.begin(), FFilters.end(),
                                  [filter](const auto& present) { return present.get() == filter; }),
                   FFilters.end());
}

void TLogCustomAppender::RemoveAllFilters() {
    TLogGuard guard(FCriticalAppender);
    FFilters.clear();
}

void TLogCustomAppender::Append(TLogEvent* event) {
    TLogGuard guard(FCriticalAppender);
    if (!isAsSevereAsThreshold(event->Level()))
        return;
    if (!CheckEntryConditions())
        return;
    if (!CheckFilters(event))
        return;
    DoAppend(event);
}

bool TLogCustomAppender::isAsSevereAsThreshold(TLogLevel* level) const {
    return !FThreshold || level->Level() >= FThreshold->Level();
}

bool TLogCustomAppender::CheckEntryConditions() {
    if (FClosed) {
        Internal::InternalWarn("Not allowed to write to a closed appender");
        return false;
    }
    if (FLayout || !RequiresLayout())
        return true;
    if (FErrorHandler)
        FErrorHandler->Error(LogFormat("No layout set for appender named \"%s\"", {FName}));
    return false;
}

bool TLogCustomAppender::CheckFilters(TLogEvent* event) {
    for (size_t i = 0; i < FFilters.size(); ++i) {
        switch (FFilters[i]->Decide(event)) {
        case fdDeny:
            return false;
        case fdAccept:
            return true;
        case fdNeutral:
            break;
        }
    }
    return true;
}

void TLogCustomAppender::DoAppend(TLogEvent* event) {
    if (!FLayout)
        return;
    // The text goes into the buffer kept from the last event, taken out while it is written in
    // case the writer's own logging reaches this appender again.
    std::string text = std::move(FText);
    text.clear();
    FormatEventInto(FLayout.get(), event, text);
    DoAppend(text);
    if (text.capacity() <= KeptTextCapacity)
        FText = std::move(text);
}

void TLogCustomAppender::Close() {
    TLogGuard guard(FCriticalAppender);
    if (FClosed)
        return;
    WriteFooter();
    FClosed = true;
}

void TLogCustomAppender::WriteHeader() {
    if (FLayout)
        DoAppend(FLayout->GetHeader());
}

void TLogCustomAppender::WriteFooter() {
    if (FLayout)
        DoAppend(FLayout->GetFooter());
}

LogRef<ILogErrorHandler> TLogCustomAppender::GetErrorHandler() {
    TLogGuard guard(FCriticalAppender);
    return FErrorHandler;
}

void TLogCustomAppender::SetErrorHandler(ILogErrorHandler* errorHandler) {
    TLogGuard guard(FCriticalAppender);
    if (errorHandler)
        FErrorHandler = errorHandler;
    else
        Internal::InternalWarn("An appender cannot have a nil error handler");
}

LogRef<ILogLayout> TLogCustomAppender::GetLayout() {
    TLogGuard guard(FCriticalAppender);
    return FLayout;
}

void TLogCustomAppender::SetLayout(ILogLayout* layout) {
    TLogGuard guard(FCriticalAppender);
    FLayout = layout;
}

TLogNullAppender::TLogNullAppender(const std::string& name, ILogLayout* layout) {
    Construct(name, layout);
}

TLogODSAppender::TLogODSAppender(const std::string& name, ILogLayout* layout) {
    Construct(name, layout);
}

void TLogODSAppender::DoAppend(const std::string& message) {
    Seam<TDebugOutputApi>().OutputDebugStringW(vcl::ToWide(message).c_str());
}

}  // namespace HierLog
