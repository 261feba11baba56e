// Loggers: named entry points for log requests in a hierarchy of dotted names. A logger without a
// level of its own takes its nearest ancestor's; an additive logger hands each event to its own
// appenders and then to its parent's. Lock order: a logger before its ancestors (child towards
// the root), a logger before its appenders.
#pragma once
#include "LogInterfaces.h"
#include "LogLevel.h"
#include "LogLock.h"
#include "LogOptionHandler.h"
#include <atomic>
#include <string>
#include <vector>

namespace HierLog {

class TLogHierarchy;
using TLogAppenderList = std::vector<LogRef<ILogAppender>>;

class HIERLOG_API TLogLogger : public TLogOptionHandler {
    HIERLOG_CLASS(TLogLogger)
    TLogLogger();  // bare
    // Additive, no level, no appenders.
    explicit TLogLogger(const std::string& name);

    virtual void DoLog(TLogLevel* level, const std::string& message, const std::exception* error);
    virtual void DoLog(TLogLevel* level, TObject* message, const std::exception* error);
    // The effective level: the own one, else the nearest ancestor's.
    virtual TLogLevel* GetLevel();
    virtual void Debug(const std::string& message, const std::exception* error = nullptr);
    virtual void Debug(TObject* message, const std::exception* error = nullptr);
    virtual void Error(const std::string& message, const std::exception* error = nullptr);
    virtual void Error(TObject* message, const std::exception* error = nullptr);
    virtual void Fatal(const std::string& message, const std::exception* error = nullptr);
    virtual void Fatal(TObject* message, const std::exception* error = nullptr);
    virtual void Info(const std::string& message, const std::exception* error = nullptr);
    virtual void Info(TObject* message, const std::exception* error = nullptr);
    virtual void Warn(const std::string& message, const std::exception* error = nullptr);
    virtual void Warn(TObject* message, const std::exception* error = nullptr);

    void AddAppender(ILogAppender* appender);
    void RemoveAppender(ILogAppender* appender);
    void RemoveAppender(const std::string& name);
    void RemoveAllAppenders();
    LogRef<ILogAppender> GetAppender(const std::string& name);
    bool IsAppender(ILogAppender* appender);
    // Own appenders, and the parent's while additive.
    int CountAppenders();
    void CloseAllAppenders();
    // The event to this logger's appenders and up the additive chain; when the whole chain has
    // none, the two no-appender lines on the internal logger instead.
    void CallAppenders(TLogEvent* event);

    void Log(TLogLevel* level, const std::string& message, const std::exception* error = nullptr);
    void Log(TLogLevel* level, TObject* message, const std::exception* error = nullptr);
    // Writes at level error when the assertion is false, whatever the levels and threshold.
    void AssertLog(bool assertion, const std::string& message);
    void AssertLog(bool assertion, TObject* message);

    bool IsEnabledFor(TLogLevel* level);
    bool IsDebugEnabled();
    bool IsInfoEnabled();
    bool IsWarnEnabled();
    bool IsErrorEnabled();
    bool IsFatalEnabled();

    void LockLogger() { FCriticalLogger.Enter(); }
    void UnlockLogger() { FCriticalLogger.Leave(); }

    bool Additive() const { return FAdditive; }
    void SetAdditive(bool additive) { FAdditive = additive; }
    TLogAppenderList Appenders();
    TLogHierarchy* Hierarchy() const { return FHierarchy; }
    void SetHierarchy(TLogHierarchy* hierarchy) { FHierarchy = hierarchy; }
    TLogLevel* Level() { return GetLevel(); }
    // Null clears the own level (the logger inherits); the root refuses null.
    virtual void SetLevel(TLogLevel* level) { FLevel = level; }
    const std::string& Name() const { return FName; }
    TLogLogger* Parent() const { return FParent; }

    // The logger of that name (or of that class's name) in the default hierarchy; its root.
    static TLogLogger* GetLogger(const std::string& name, ILogLoggerFactory* factory = nullptr);
    static TLogLogger* GetLogger(const TClass* clazz, ILogLoggerFactory* factory = nullptr);
    static TLogLogger* GetRootLogger();

protected:
    friend class TLogHierarchy;
    // Holds this logger's lock while its appenders and its parent's chain write.
    void AppendToChain(TLogEvent* event);
    // As CountAppenders, reading each list under its logger's lock: a configuration that is
    // replacing a logger's appenders is waited for.
    int CountAppendersLocked();

    std::atomic<bool> FAdditive{false};
    TLogAppenderList FAppenders;
    std::atomic<int> FAppenderCount{0};  // FAppenders.size(), readable without the lock
    TLogHierarchy* FHierarchy = nullptr;
    std::atomic<TLogLevel*> FLevel{nullptr};
    std::string FName;
    std::atomic<TLogLogger*> FParent{nullptr};
    TLogLock FCriticalLogger;
};

// The root logger, named "root"; it always has a level.
class HIERLOG_API TLogRoot : public TLogLogger {
    HIERLOG_CLASS(TLogRoot)
    TLogRoot() = default;
    explicit TLogRoot(TLogLevel* level);
    // Null gives an error on the internal logger and Debug instead.
    void SetLevel(TLogLevel* level) override;
};

// The internal logger: the library's own diagnostics to the debugger output. Debug lines pass
// only while InternalDebugging is on; a line that finds no appender is dropped.
class HIERLOG_API TLogLog : public TLogLogger {
    HIERLOG_CLASS(TLogLog)
    TLogLog();
    void DoLog(TLogLevel* level, const std::string& message, const std::exception* error) override;
    void DoLog(TLogLevel* level, TObject* message, const std::exception* error) override;
    bool InternalDebugging() const { return FInternalDebugging; }
    void SetInternalDebugging(bool on) { FInternalDebugging = on; }

private:
    bool Passes(TLogLevel* level);
    std::atomic<bool> FInternalDebugging{false};
};

class HIERLOG_API TLogDefaultLoggerFactory : public TLogInterfaced<ILogLoggerFactory> {
    HIERLOG_CLASS(TLogDefaultLoggerFactory)
    TLogLogger* MakeNewLoggerInstance(const std::string& name) override;
};

extern ILogLoggerFactory* DefaultLoggerFactory;
extern TLogLog* LogLog;

}  // namespace HierLog
