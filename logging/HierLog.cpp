// Library start and end. Start runs in the program's static initialisation, before the host's
// own static objects; end runs after them. At the end log calls stop first (they do nothing from
// then on), then the default hierarchy goes (closing its appenders), the class registries, the
// contexts and the internal logger, and the levels last, since all of them compare levels.
#include "HierLog.h"
#include "LogLevelRegistry.h"
#include "LogLibrary.h"
#include <atomic>

namespace HierLog {

namespace Internal {

TDateTime StartTime = 0;

namespace {
std::atomic<bool> ended{false};
}

bool Ended() {
    return ended;
}

void InternalDebug(const std::string& message) {
    if (LogLog)
        LogLog->Debug(message);
}

void InternalWarn(const std::string& message) {
    if (LogLog)
        LogLog->Warn(message);
}

void InternalError(const std::string& message) {
    if (LogLog)
        LogLog->Error(message);
}

}  // namespace Internal

namespace {

void LibraryStart() {
    Internal::StartTime = Now();
    Internal::StartNDCLock();
    TLogLevelRegistry::Instance = new TLogLevelRegistry;
    All = new TLogLevel("all", INT32_MIN);
    Debug = new TLogLevel("debug", 10000);
    Info = new TLogLevel("info", 20000);
    Warn = new TLogLevel("warn", 30000);
    Error = new TLogLevel("error", 40000);
    Fatal = new TLogLevel("fatal", 50000);
    Off = new TLogLevel("off", INT32_MAX);
    Internal::StartNDCMap();
    Internal::StartRegistries();
    DefaultLoggerFactory = new TLogDefaultLoggerFactory;
    DefaultLoggerFactory->AddRef();
    DefaultHierarchy = new TLogHierarchy(new TLogRoot(Error));
    LogLog = new TLogLog;
    LogLog->AddRef();
    LogLog->SetHierarchy(DefaultHierarchy);
}

void LibraryEnd() {
    Internal::ended = true;
    DefaultLoggerFactory->Release();
    DefaultLoggerFactory = nullptr;
    LogLog->SetHierarchy(nullptr);
    delete DefaultHierarchy;
    DefaultHierarchy = nullptr;
    Internal::EndRegistries();
    Internal::EndNDCMap();
    TLogLog* internalLogger = LogLog;
    LogLog = nullptr;
    internalLogger->Release();
    Internal::EndNDCLock();
    delete TLogLevelRegistry::Instance;
    TLogLevelRegistry::Instance = nullptr;
    All = Debug = Info = Warn = Error = Fatal = Off = nullptr;
}

struct LibraryLifetime {
    LibraryLifetime() { LibraryStart(); }
    ~LibraryLifetime() { LibraryEnd(); }
};

LibraryLifetime lifetime __attribute__((init_priority(200)));

}  // namespace

}  // namespace HierLog
