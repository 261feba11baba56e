// Configurators. The basic one sends everything to the debugger output in one call; the property
// one builds loggers, appenders (with their layouts, filters, error handlers and options) and
// renderers from "hierlog." keys in name=value lines or a file. A configurator lives for one run:
// the appenders it names are shared by every logger that names them in that run.
#pragma once
#include "LogInterfaces.h"
#include "LogNDC.h"
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace HierLog {

class TLogHierarchy;

// Keeps an appender alive in a configurator's appender registry.
class HIERLOG_API TAppender {
public:
    explicit TAppender(ILogAppender* appender) : Appender(appender) {}
    LogRef<ILogAppender> Appender;
};

class HIERLOG_API TLogBasicConfigurator : public TObject {
    HIERLOG_CLASS(TLogBasicConfigurator)
    TLogBasicConfigurator();
    ~TLogBasicConfigurator() override;
    TLogBasicConfigurator(const TLogBasicConfigurator&) = delete;
    TLogBasicConfigurator& operator=(const TLogBasicConfigurator&) = delete;

    // Adds the appender to the default hierarchy's root; without one, a new debug-output appender
    // "ODS" with the pattern "%r [%t] %p %c %x - %m%n".
    static void Configure(ILogAppender* appender = nullptr);
    static void ResetConfiguration();

    LogRef<ILogAppender> AppenderGet(const std::string& name);
    void AppenderPut(ILogAppender* appender);
    void SetGlobalProps(TLogHierarchy* hierarchy, const std::string& factoryClassName, const std::string& debug,
                        const std::string& threshold);
    void AddRenderer(TLogHierarchy* hierarchy, const std::string& renderedClassName,
                     const std::string& rendererClassName);

protected:
    std::vector<std::pair<std::string, std::unique_ptr<TAppender>>> FRegistry;
    LogRef<ILogLoggerFactory> FLoggerFactory;
};

class HIERLOG_API TLogPropertyConfigurator : public TLogBasicConfigurator {
    HIERLOG_CLASS(TLogPropertyConfigurator)
    // A file that cannot be read or configured from gives two errors on the internal logger;
    // what was configured before stays.
    static void Configure(const std::string& fileName);
    // Exceptions (a log file that cannot be made) reach the caller.
    static void Configure(const TLogStringList& props);

    void DoConfigure(const std::string& fileName, TLogHierarchy* hierarchy);
    void DoConfigure(const TLogStringList& props, TLogHierarchy* hierarchy);

protected:
    void ConfigureRootLogger(const TLogStringList& props, TLogHierarchy* hierarchy);
    void ParseLoggersAndRenderers(const TLogStringList& props, TLogHierarchy* hierarchy);
    void ParseLogger(const TLogStringList& props, TLogLogger* logger, const std::string& value);
    void ParseAdditivityForLogger(const TLogStringList& props, TLogLogger* logger);
    LogRef<ILogAppender> ParseAppender(const TLogStringList& props, const std::string& appenderName);
};

}  // namespace HierLog
