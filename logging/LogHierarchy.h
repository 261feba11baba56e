// The hierarchy of loggers: a map of loggers by dotted name (letter case ignored) under one
// root, a threshold below which every request is disabled, the renderers of message classes and
// the listeners of appender changes. Its lock is taken before any logger's.
#pragma once
#include "LogInterfaces.h"
#include "LogLevel.h"
#include "LogLock.h"
#include "LogNDC.h"
#include <atomic>
#include <map>
#include <string>
#include <vector>

namespace HierLog {

class TLogLogger;

class HIERLOG_API TLogHierarchy {
public:
    // Holds a counted reference to the root.
    explicit TLogHierarchy(TLogLogger* root);
    ~TLogHierarchy();
    TLogHierarchy(const TLogHierarchy&) = delete;
    TLogHierarchy& operator=(const TLogHierarchy&) = delete;

    void AddHierarchyEventListener(ILogHierarchyEventListener* listener);
    void RemoveHierarchyEventListener(ILogHierarchyEventListener* listener);
    void FireAppenderEvent(bool adding, TLogLogger* logger, ILogAppender* appender);

    void AddRenderer(const TClass* renderedClass, ILogRenderer* renderer);
    // The renderer of the class or of its nearest ancestor below TObject (TObject's own only
    // for TObject itself); null when there is none.
    LogRef<ILogRenderer> GetRenderer(const TClass* renderedClass);

    // Gives up the hierarchy's references to its loggers and empties the map; a logger that
    // someone else still holds is left without hierarchy and parent.
    void Clear();
    // The first time only: the two no-appender lines at level warn.
    void EmitNoAppenderWarning(TLogLogger* logger);
    TLogLogger* Exists(const std::string& name);
    // Names in creation order (the root is not among them).
    void GetCurrentLoggers(TLogStringList& list);
    // The logger of that name, made (with its missing ancestors) when there is none.
    TLogLogger* GetLogger(const std::string& name, ILogLoggerFactory* factory = nullptr);
    bool IsDisabled(int level) const { return level < FThreshold.load()->Level(); }
    void ResetConfiguration();
    // By lower-cased name; an unknown name warns and keeps the threshold.
    void SetThreshold(const std::string& name);
    void SetThresholdProp(TLogLevel* level);
    void Shutdown();
    void UpdateParent(TLogLogger* logger);

    TLogLogger* Root() const { return FRoot.get(); }
    TLogLevel* Threshold() const { return FThreshold; }

private:
    std::atomic<bool> FEmittedNoAppenderWarning{false};
    std::vector<LogRef<ILogHierarchyEventListener>> FListeners;
    std::vector<LogRef<TLogLogger>> FLoggers;         // creation order
    std::map<std::string, TLogLogger*> FLoggerIndex;  // by lower-cased name
    std::vector<const TClass*> FRenderedClasses;
    std::vector<LogRef<ILogRenderer>> FRenderers;
    LogRef<TLogLogger> FRoot;
    std::atomic<TLogLevel*> FThreshold;
    TLogLock FCriticalHierarchy;
    TLogLock FTablesLock;  // listeners and renderers; taken last, never held while calling out
};

extern TLogHierarchy* DefaultHierarchy;

}  // namespace HierLog
