// One logging request as a logger hands it to its appenders.
#pragma once
#include "LogDateTime.h"
#include "LogObject.h"
#include <exception>
#include <string>

namespace HierLog {

class TLogLevel;
class TLogLogger;

class HIERLOG_API TLogEvent {
public:
    // A time stamp of exactly 0 stands for the current local time.
    TLogEvent(TLogLogger* logger, TLogLevel* level, const std::string& message, const std::exception* error,
              TDateTime timeStamp);
    // The message object's text comes from its class's renderer in the logger's hierarchy; without
    // one the construction is abandoned with EAbort after an error on the internal logger.
    TLogEvent(TLogLogger* logger, TLogLevel* level, TObject* message, const std::exception* error, TDateTime timeStamp);
    TLogEvent(const TLogEvent&) = delete;
    TLogEvent& operator=(const TLogEvent&) = delete;

    // Milliseconds from library start to the time stamp.
    int ElapsedTime() const;
    const std::exception* Error() const { return FError; }
    std::string ErrorClass() const;
    std::string ErrorMessage() const;
    TLogLevel* Level() const { return FLevel; }
    const std::string& LoggerName() const;
    const std::string& Message() const { return *FMessage; }
    // The reading thread's context and identifier.
    std::string NDC() const;
    int ThreadId() const;
    TDateTime TimeStamp() const { return FTimeStamp; }

private:
    friend class TLogLogger;
    struct Borrowed {};
    // A logger's own request: the message is the caller's text, which outlives the event.
    TLogEvent(Borrowed, TLogLogger* logger, TLogLevel* level, const std::string& message, const std::exception* error);

    const std::exception* FError;
    TLogLevel* FLevel;
    TLogLogger* FLogger;
    std::string FOwnedMessage;
    const std::string* FMessage;
    TDateTime FTimeStamp;
};

}  // namespace HierLog
