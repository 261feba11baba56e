#include "LogLogger.h"
#include "LogAppenders.h"
#include "LogEvent.h"
#include "LogFormat.h"
#include "LogHierarchy.h"
#include "LogLibrary.h"

namespace HierLog {

HIERLOG_CLASS_INFO(TLogLogger, TLogOptionHandler)
HIERLOG_CLASS_INFO(TLogRoot, TLogLogger)
HIERLOG_CLASS_INFO(TLogLog, TLogLogger)
HIERLOG_CLASS_INFO(TLogDefaultLoggerFactory, TObject)

ILogLoggerFactory* DefaultLoggerFactory = nullptr;
TLogLog* LogLog = nullptr;

TLogLogger::TLogLogger() = default;

TLogLogger::TLogLogger(const std::string& name) {
    Init();
    FName = name;
    FAdditive = true;
}

void TLogLogger::DoLog(TLogLevel* level, const std::string& message, const std::exception* error) {
    TLogEvent event(TLogEvent::Borrowed(), this, level, message, error);
    CallAppenders(&event);
}

void TLogLogger::DoLog(TLogLevel* level, TObject* message, const std::exception* error) {
    TLogEvent event(this, level, message, error, 0);
    CallAppenders(&event);
}

TLogLevel* TLogLogger::GetLevel() {
    for (TLogLogger* logger = this; logger; logger = logger->FParent)
        if (TLogLevel* level = logger->FLevel)
            return level;
    return HierLog::Off;  // a logger left outside any hierarchy
}

void TLogLogger::Debug(const std::string& message, const std::exception* error) {
    Log(HierLog::Debug, message, error);
}
void TLogLogger::Debug(TObject* message, const std::exception* error) {
    Log(HierLog::Debug, message, error);
}
void TLogLogger::Error(const std::string& message, const std::exception* error) {
    Log(HierLog::Error, message, error);
}
void TLogLogger::Error(TObject* message, const std::exception* error) {
    Log(HierLog::Error, message, error);
}
void TLogLogger::Fatal(const std::string& message, const std::exception* error) {
    Log(HierLog::Fatal, message, error);
}
void TLogLogger::Fatal(TObject* message, const std::exception* error) {
    Log(HierLog::Fatal, message, error);
}
void TLogLogger::Info(const std::string& message, const std::exception* error) {
    Log(HierLog::Info, message, error);
}
void TLogLogger::Info(TObject* message, const std::exception* error) {
    Log(HierLog::Info, message, error);
}
void TLogLogger::Warn(const std::string& message, const std::exception* error) {
    Log(HierLog::Warn, message, error);
}
void TLogLogger::Warn(TObject* message, const std::exception* error) {
    Log(HierLog::Warn, message, error);
}

void TLogLogger::AddAppender(ILogAppender* appender) {
    if (!appender) {
        Internal::InternalWarn(LogFormat("Ignoring a nil appender for logger \"%s\"", {FName}));
        return;
    }
    TLogGuard guard(FCriticalLogger);
    for (const auto& present : FAppenders)
        if (present.get() == appender)
            return;
    FAppenders.emplace_back(appender);
    FAppenderCount = static_cast<int>(FAppenders.size());
    if (FHierarchy)
        FHierarchy->FireAppenderEvent(true, this, appender);
}

void TLogLogger::RemoveAppender(ILogAppender* appender) {
    TLogGuard guard(FCriticalLogger);
    for (auto it = FAppenders.begin(); it != FAppenders.end(); ++it) {
        if (it->get() == appender) {
            FAppenders.erase(it);
            break;
        }
    }
    FAppenderCount = static_cast<int>(FAppenders.size());
    if (FHierarchy)
        FHierarchy->FireAppenderEvent(false, this, appender);
}

void TLogLogger::RemoveAppender(const std::string& name) {
    TLogGuard guard(FCriticalLogger);
    if (LogRef<ILogAppender> appender = GetAppender(name)) {
        for (auto it = FAppenders.begin(); it != FAppenders.end(); ++it) {
            if (*it == appender) {
                FAppenders.erase(it);
                break;
            }
        }
        FAppenderCount = static_cast<int>(FAppenders.size());
    }
}

void TLogLogger::RemoveAllAppenders() {
    TLogAppenderList gone;
    {
        TLogGuard guard(FCriticalLogger);
        gone.swap(FAppenders);
        FAppenderCount = 0;
    }
}

LogRef<ILogAppender> TLogLogger::GetAppender(const std::string& name) {
    TLogGuard guard(FCriticalLogger);
    for (const auto& appender : FAppenders)
        if (appender->GetName() == name)
            return appender;
    return nullptr;
}

bool TLogLogger::IsAppender(ILogAppender* appender) {
    TLogGuard guard(FCriticalLogger);
    for (const auto& present : FAppenders)
        if (present.get() == appender)
            return true;
    return false;
}

int TLogLogger::CountAppenders() {
    int count = FAppenderCount;
    TLogLogger* parent = FParent;
    if (FAdditive && parent)
        count += parent->CountAppenders();
    return count;
}

void TLogLogger::CloseAllAppenders() {
    for (const auto& appender : Appenders())
        appender->Close();
}

int TLogLogger::CountAppendersLocked() {
    TLogGuard guard(FCriticalLogger);
    int count = static_cast<int>(FAppenders.size());
    TLogLogger* parent = FParent;
    if (FAdditive && parent)
        count += parent->CountAppendersLocked();
    return count;
}

void TLogLogger::CallAppenders(TLogEvent* event) {
    if (CountAppenders() == 0 && CountAppendersLocked() == 0) {
        Internal::InternalError(LogFormat("No appenders could be found for logger \"%s\"", {FName}));
        Internal::InternalError("Please initialise the HierLog system properly");
        return;
    }
    AppendToChain(event);
}

void TLogLogger::AppendToChain(TLogEvent* event) {
    // A loop rather than a call for each ancestor: each lock taken stays held until the end, as
    // it would across the parent's call; a chain longer than MostHeld goes on in a second loop.
    constexpr int MostHeld = 16;
    TLogLock* held[MostHeld];
    int count = 0;
    struct Leaving {
        TLogLock** held;
        int& count;
        ~Leaving() {
            while (count > 0)
                held[--count]->Leave();
        }
    } leaving{held, count};
    for (TLogLogger* logger = this; logger;) {
        if (count == MostHeld) {
            logger->AppendToChain(event);
            return;
        }
        logger->FCriticalLogger.Enter();
        held[count++] = &logger->FCriticalLogger;
        // By position: an error handler may change the list while its appender writes.
        for (size_t i = 0; i < logger->FAppenders.size(); ++i) {
            LogRef<ILogAppender> appender = logger->FAppenders[i];
            appender->Append(event);
        }
        TLogLogger* parent = logger->FParent;
        logger = logger->FAdditive && parent ? parent : nullptr;
    }
}

void TLogLogger::Log(TLogLevel* level, const std::string& message, const std::exception* error) {
    if (Internal::Ended() || !level || !FHierarchy)
        return;
    if (FHierarchy->IsDisabled(level->Level()) || !IsEnabledFor(level))
        return;
    DoLog(level, message, error);
}

void TLogLogger::Log(TLogLevel* level, TObject* message, const std::exception* error) {
    if (Internal::Ended() || !level || !FHierarchy)
        return;
    if (FHierarchy->IsDisabled(level->Level()) || !IsEnabledFor(level))
        return;
    DoLog(level, message, error);
}

void TLogLogger::AssertLog(bool assertion, const std::string& message) {
    if (!assertion && !Internal::Ended())
        DoLog(HierLog::Error, message, nullptr);
}

void TLogLogger::AssertLog(bool assertion, TObject* message) {
    if (!assertion && !Internal::Ended())
        DoLog(HierLog::Error, message, nullptr);
}

bool TLogLogger::IsEnabledFor(TLogLevel* level) {
    return level->Level() >= GetLevel()->Level();
}
bool TLogLogger::IsDebugEnabled() {
    return IsEnabledFor(HierLog::Debug);
}
bool TLogLogger::IsInfoEnabled() {
    return IsEnabledFor(HierLog::Info);
}
bool TLogLogger::IsWarnEnabled() {
    return IsEnabledFor(HierLog::Warn);
}
bool TLogLogger::IsErrorEnabled() {
    return IsEnabledFor(HierLog::Error);
}
bool TLogLogger::IsFatalEnabled() {
    return IsEnabledFor(HierLog::Fatal);
}

TLogAppenderList TLogLogger::Appenders() {
    TLogGuard guard(FCriticalLogger);
    return FAppenders;
}

TLogLogger* TLogLogger::GetLogger(const std::string& name, ILogLoggerFactory* factory) {
    return DefaultHierarchy ? DefaultHierarchy->GetLogger(name, factory) : nullptr;
}

TLogLogger* TLogLogger::GetLogger(const TClass* clazz, ILogLoggerFactory* factory) {
    return GetLogger(std::string(clazz->Name), factory);
}

TLogLogger* TLogLogger::GetRootLogger() {
    return DefaultHierarchy ? DefaultHierarchy->Root() : nullptr;
}

TLogRoot::TLogRoot(TLogLevel* level) : TLogLogger("root") {
    SetLevel(level);
}

void TLogRoot::SetLevel(TLogLevel* level) {
    if (!level) {
        Internal::InternalError("The root can't have a nil level");
        level = HierLog::Debug;
    }
    FLevel = level;
}

TLogLog::TLogLog() : TLogLogger("") {
    FLevel = HierLog::Debug;
    AddAppender(new TLogODSAppender("", nullptr));
}

bool TLogLog::Passes(TLogLevel* level) {
    if (level == HierLog::Debug && !FInternalDebugging)
        return false;
    return CountAppenders() > 0;  // its report of a missing appender would be addressed to itself
}

void TLogLog::DoLog(TLogLevel* level, const std::string& message, const std::exception* error) {
    if (Passes(level))
        TLogLogger::DoLog(level, message, error);
}

void TLogLog::DoLog(TLogLevel* level, TObject* message, const std::exception* error) {
    if (Passes(level))
        TLogLogger::DoLog(level, message, error);
}

TLogLogger* TLogDefaultLoggerFactory::MakeNewLoggerInstance(const std::string& name) {
    return new TLogLogger(name);
}

}  // namespace HierLog
