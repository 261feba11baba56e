// Error handlers: what an appender does with its complaints. The once-only handler reports the
// first on the internal logger; the fallback handler swaps the failing appender for a backup in
// each of its loggers, on every complaint.
#pragma once
#include "LogInterfaces.h"
#include "LogOptionHandler.h"
#include <string>
#include <vector>

namespace HierLog {

class HIERLOG_API TLogCustomErrorHandler : public TLogOptionHandlerOf<ILogErrorHandler> {
    HIERLOG_CLASS(TLogCustomErrorHandler)
    // A null appender or backup is refused with a warning.
    void SetAppender(ILogAppender* appender) override;
    void SetBackupAppender(ILogAppender* appender) override;
    void SetLogger(TLogLogger* logger) override;
    void Error(const std::string& message) override = 0;
    // The message made of "%s - (%d) %s": message, code, the exception's message (empty without one).
    void Error(const std::string& message, const std::exception* error, int errorCode, TLogEvent* event) override;

protected:
    static std::string Composed(const std::string& message, const std::exception* error, int errorCode);

    LogRef<ILogAppender> FAppender;
    LogRef<ILogAppender> FBackupAppender;
    TLogLogger* FLogger = nullptr;
};

class HIERLOG_API TLogOnlyOnceErrorHandler : public TLogCustomErrorHandler {
    HIERLOG_CLASS(TLogOnlyOnceErrorHandler)
    void Error(const std::string& message) override;
    void Error(const std::string& message, const std::exception* error, int errorCode, TLogEvent* event) override;

private:
    bool FSeenError = false;
};

class HIERLOG_API TLogFallbackErrorHandler : public TLogCustomErrorHandler {
    HIERLOG_CLASS(TLogFallbackErrorHandler)
    // Adds the logger to those in which the appender is replaced.
    void SetLogger(TLogLogger* logger) override;
    void Error(const std::string& message) override;
    using TLogCustomErrorHandler::Error;

private:
    std::vector<TLogLogger*> FLoggers;
};

}  // namespace HierLog
