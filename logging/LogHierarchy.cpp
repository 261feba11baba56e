#include "LogHierarchy.h"
#include "LogFormat.h"
#include "LogLibrary.h"
#include "LogLogger.h"
#include "LogText.h"
#include <algorithm>
#include <cstring>

namespace HierLog {

TLogHierarchy* DefaultHierarchy = nullptr;

TLogHierarchy::TLogHierarchy(TLogLogger* root) : FRoot(root), FThreshold(All) {
    if (root)
        root->SetHierarchy(this);
}

TLogHierarchy::~TLogHierarchy() {
    Shutdown();
    Clear();
    if (FRoot)
        FRoot->SetHierarchy(nullptr);
}

void TLogHierarchy::AddHierarchyEventListener(ILogHierarchyEventListener* listener) {
    TLogGuard guard(FTablesLock);
    for (const auto& present : FListeners)
        if (present.get() == listener)
            return;
    FListeners.emplace_back(listener);
}

void TLogHierarchy::RemoveHierarchyEventListener(ILogHierarchyEventListener* listener) {
    TLogGuard guard(FTablesLock);
    FListeners.erase(std::remove_if(FListeners.begin(), FListeners.end(),
                                    [listener](const auto& present) { return present.get() == listener; }),
                     FListeners.end());
}

void TLogHierarchy::FireAppenderEvent(bool adding, TLogLogger* logger, ILogAppender* appender) {
    std::vector<LogRef<ILogHierarchyEventListener>> listeners;
    {
        TLogGuard guard(FTablesLock);
        listeners = FListeners;
    }
    for (const auto& listener : listeners) {
        if (adding)
            listener->AppenderAdded(logger, appender);
        else
            listener->AppenderRemoved(logger, appender);
    }
}

void TLogHierarchy::AddRenderer(const TClass* renderedClass, ILogRenderer* renderer) {
    TLogGuard guard(FTablesLock);
    for (size_t i = 0; i < FRenderedClasses.size(); ++i) {
        if (FRenderedClasses[i] == renderedClass) {
            FRenderers[i] = renderer;
            return;
        }
    }
    FRenderedClasses.push_back(renderedClass);
    FRenderers.emplace_back(renderer);
}

LogRef<ILogRenderer> TLogHierarchy::GetRenderer(const TClass* renderedClass) {
    TLogGuard guard(FTablesLock);
    for (const TClass* type = renderedClass; type;) {
        for (size_t i = 0; i < FRenderedClasses.size(); ++i)
            if (FRenderedClasses[i] == type)
                return FRenderers[i];
        type = type->Parent;
        if (type && std::strcmp(type->Name, "TObject") == 0)
            break;
    }
    return nullptr;
}

void TLogHierarchy::Clear() {
    std::vector<LogRef<TLogLogger>> loggers;
    {
        TLogGuard guard(FCriticalHierarchy);
        loggers.swap(FLoggers);
        FLoggerIndex.clear();
    }
    for (const auto& logger : loggers) {
        logger->SetHierarchy(nullptr);
        logger->FParent = nullptr;
    }
}

void TLogHierarchy::EmitNoAppenderWarning(TLogLogger* logger) {
    if (FEmittedNoAppenderWarning.exchange(true))
        return;
    Internal::InternalWarn(LogFormat("No appenders could be found for logger \"%s\"", {logger->Name()}));
    Internal::InternalWarn("Please initialise the HierLog system properly");
}

TLogLogger* TLogHierarchy::Exists(const std::string& name) {
    TLogGuard guard(FCriticalHierarchy);
    auto it = FLoggerIndex.find(AnsiLowerCase(name));
    return it == FLoggerIndex.end() ? nullptr : it->second;
}

void TLogHierarchy::GetCurrentLoggers(TLogStringList& list) {
    TLogGuard guard(FCriticalHierarchy);
    for (const auto& logger : FLoggers)
        list.push_back(logger->Name());
}

TLogLogger* TLogHierarchy::GetLogger(const std::string& name, ILogLoggerFactory* factory) {
    TLogGuard guard(FCriticalHierarchy);
    const std::string key = AnsiLowerCase(name);
    auto it = FLoggerIndex.find(key);
    if (it != FLoggerIndex.end())
        return it->second;
    if (!factory)
        factory = DefaultLoggerFactory;
    TLogLogger* logger = factory ? factory->MakeNewLoggerInstance(name) : new TLogLogger(name);
    logger->SetHierarchy(this);
    FLoggers.emplace_back(logger);
    FLoggerIndex[key] = logger;
    UpdateParent(logger);
    return logger;
}

void TLogHierarchy::ResetConfiguration() {
    TLogGuard guard(FCriticalHierarchy);
    FRoot->SetLevel(Debug);
    SetThresholdProp(All);
    Shutdown();
    for (const auto& logger : FLoggers) {
        logger->SetLevel(nullptr);
        logger->SetAdditive(true);
    }
    TLogGuard tables(FTablesLock);
    FRenderedClasses.clear();
    FRenderers.clear();
}

void TLogHierarchy::SetThreshold(const std::string& name) {
    if (TLogLevel* level = TLogLevel::GetLevel(LowerCaseAscii(name), nullptr))
        SetThresholdProp(level);
    else
        Internal::InternalWarn(LogFormat("Could not convert \"%s\" to level", {name}));
}

void TLogHierarchy::SetThresholdProp(TLogLevel* level) {
    if (level)
        FThreshold = level;
}

void TLogHierarchy::Shutdown() {
    TLogGuard guard(FCriticalHierarchy);
    if (FRoot) {
        FRoot->CloseAllAppenders();
        FRoot->RemoveAllAppenders();
    }
    for (const auto& logger : FLoggers) {
        logger->CloseAllAppenders();
        logger->RemoveAllAppenders();
    }
}

void TLogHierarchy::UpdateParent(TLogLogger* logger) {
    const size_t dot = logger->Name().rfind('.');
    logger->FParent = dot == std::string::npos ? FRoot.get() : GetLogger(logger->Name().substr(0, dot));
}

}  // namespace HierLog
