#include "LogEvent.h"
#include "LogExceptions.h"
#include "LogFormat.h"
#include "LogHierarchy.h"
#include "LogLibrary.h"
#include "LogLogger.h"
#include "LogNDC.h"
#include <cxxabi.h>
#include <windows.h>
#include <cstdint>
#include <cstdlib>
#include <typeinfo>

namespace HierLog {

namespace {

std::string RenderedMessage(TLogLogger* logger, TObject* message) {
    const TClass* type = message ? message->ClassType() : TObject::StaticClass();
    LogRef<ILogRenderer> renderer = logger && logger->Hierarchy() ? logger->Hierarchy()->GetRenderer(type) : nullptr;
    if (!renderer) {
        Internal::InternalError(LogFormat("No renderer found for class %s", {type->Name}));
        throw EAbort();
    }
    return renderer->Render(message);
}

}  // namespace

TLogEvent::TLogEvent(TLogLogger* logger, TLogLevel* level, const std::string& message, const std::exception* error,
                     TDateTime timeStamp)
    : FError(error),
      FLevel(level),
      FLogger(logger),
      FOwnedMessage(message),
      FMessage(&FOwnedMessage),
      FTimeStamp(timeStamp == 0 ? Now() : timeStamp) {}

TLogEvent::TLogEvent(TLogLogger* logger, TLogLevel* level, TObject* message, const std::exception* error,
                     TDateTime timeStamp)
    : TLogEvent(logger, level, RenderedMessage(logger, message), error, timeStamp) {}

TLogEvent::TLogEvent(Borrowed, TLogLogger* logger, TLogLevel* level, const std::string& message,
                     const std::exception* error)
    : FError(error), FLevel(level), FLogger(logger), FMessage(&message), FTimeStamp(Now()) {}

int TLogEvent::ElapsedTime() const {
    // Rounded half away from zero, as llround does, without its library call.
    const double ms = (FTimeStamp - Internal::StartTime) * 86400000.0;
    int64_t rounded = static_cast<int64_t>(ms);
    const double rest = ms - static_cast<double>(rounded);
    if (rest >= 0.5)
        ++rounded;
    else if (rest <= -0.5)
        --rounded;
    return static_cast<int>(rounded);
}

std::string TLogEvent::ErrorClass() const {
    if (!FError)
        return {};
    const char* mangled = typeid(*FError).name();
    int status = 0;
    char* readable = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && readable ? readable : mangled;
    std::free(readable);
    const size_t scope = name.rfind("::");
    return scope == std::string::npos ? name : name.substr(scope + 2);
}

std::string TLogEvent::ErrorMessage() const {
    return FError ? FError->what() : std::string();
}

const std::string& TLogEvent::LoggerName() const {
    static const std::string none;
    return FLogger ? FLogger->Name() : none;
}

std::string TLogEvent::NDC() const {
    return TLogNDC::Peek();
}

int TLogEvent::ThreadId() const {
    return static_cast<int>(GetCurrentThreadId());
}

}  // namespace HierLog
