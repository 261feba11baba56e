#include "LogErrorHandlers.h"
#include "LogFormat.h"
#include "LogLibrary.h"
#include "LogLogger.h"

namespace HierLog {

HIERLOG_CLASS_INFO(TLogCustomErrorHandler, TLogOptionHandlerOf<ILogErrorHandler>)
HIERLOG_CLASS_INFO(TLogOnlyOnceErrorHandler, TLogCustomErrorHandler)
HIERLOG_CLASS_INFO(TLogFallbackErrorHandler, TLogCustomErrorHandler)

void TLogCustomErrorHandler::SetAppender(ILogAppender* appender) {
    if (!appender) {
        Internal::InternalWarn("Ignoring a nil appender in error handler");
        return;
    }
    FAppender = appender;
    Internal::InternalDebug(LogFormat("Setting appender \"%s\" in error handler", {appender->GetName()}));
}

void TLogCustomErrorHandler::SetBackupAppender(ILogAppender* appender) {
    if (!appender) {
        Internal::InternalWarn("Ignoring a nil backup appender in error handler");
        return;
    }
    FBackupAppender = appender;
    Internal::InternalDebug(LogFormat("Setting backup appender \"%s\" in error handler", {appender->GetName()}));
}

void TLogCustomErrorHandler::SetLogger(TLogLogger* logger) {
    FLogger = logger;
    Internal::InternalDebug(
        LogFormat("Setting logger \"%s\" in error handler", {logger ? logger->Name() : std::string()}));
}

std::string TLogCustomErrorHandler::Composed(const std::string& message, const std::exception* error, int errorCode) {
    return LogFormat("%s - (%d) %s", {message, errorCode, error ? error->what() : ""});
}

void TLogCustomErrorHandler::Error(const std::string& message, const std::exception* error, int errorCode, TLogEvent*) {
    Error(Composed(message, error, errorCode));
}

void TLogOnlyOnceErrorHandler::Error(const std::string& message) {
    if (FSeenError)
        return;
    Internal::InternalError(message);
    FSeenError = true;
}

void TLogOnlyOnceErrorHandler::Error(const std::string& message, const std::exception* error, int errorCode,
                                     TLogEvent*) {
    if (!FSeenError)
        Error(Composed(message, error, errorCode));
}

void TLogFallbackErrorHandler::SetLogger(TLogLogger* logger) {
    if (!logger)
        return;
    for (TLogLogger* present : FLoggers)
        if (present == logger)
            return;
    FLoggers.push_back(logger);
    Internal::InternalDebug(LogFormat("Adding logger \"%s\" in error handler", {logger->Name()}));
}

void TLogFallbackErrorHandler::Error(const std::string& message) {
    Internal::InternalDebug(LogFormat("Fallback on error %s", {message}));
    // A snapshot: the swap below may reach this handler again through the loggers.
    const std::vector<TLogLogger*> loggers = FLoggers;
    const LogRef<ILogAppender> appender = FAppender;
    const LogRef<ILogAppender> backup = FBackupAppender;
    if (!loggers.empty() && (!appender || !backup)) {
        Internal::InternalWarn("Fallback error handler has no appender or no backup appender to swap");
        return;
    }
    for (TLogLogger* logger : loggers) {
        Internal::InternalDebug(LogFormat("Fallback replacing \"%s\" with \"%s\" in logger \"%s\"",
                                          {appender->GetName(), backup->GetName(), logger->Name()}));
        logger->RemoveAppender(appender.get());
        logger->AddAppender(backup.get());
    }
}

}  // namespace HierLog
