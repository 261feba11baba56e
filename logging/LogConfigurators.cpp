#include "LogConfigurators.h"
#include "LogAppenders.h"
#include "LogConfigFile.h"
#include "LogFormat.h"
#include "LogHierarchy.h"
#include "LogLayouts.h"
#include "LogLibrary.h"
#include "LogLogger.h"
#include "LogRegistries.h"
#include "LogText.h"

namespace HierLog {

HIERLOG_CLASS_INFO(TLogBasicConfigurator, TObject)
HIERLOG_CLASS_INFO(TLogPropertyConfigurator, TLogBasicConfigurator)

namespace {

const std::string RootLoggerKey = "hierlog.rootLogger";
const std::string LoggerPrefix = "hierlog.logger.";
const std::string AdditivePrefix = "hierlog.additive.";
const std::string RendererPrefix = "hierlog.renderer.";
const std::string AppenderPrefix = "hierlog.appender.";
constexpr size_t MaxNameLength = 255;

// A line's name is everything before its first "="; a line without one has no name.
bool Split(const std::string& line, std::string& name, std::string& value) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos)
        return false;
    name = line.substr(0, equals);
    value = line.substr(equals + 1);
    return true;
}

// The value of the first line with that name, letter case ignored; empty without one.
std::string Value(const TLogStringList& props, const std::string& key) {
    std::string name, value;
    for (const std::string& line : props)
        if (Split(line, name, value) && SameText(name, key))
            return value;
    return {};
}

// Every line whose name begins with prefix (letter case included) sets one option: the name from
// the second character after the prefix on, the value of the first line of that name.
void SetOptions(const TLogStringList& props, ILogOptionHandler* component, const std::string& prefix) {
    std::string name, value;
    for (const std::string& line : props) {
        if (!Split(line, name, value) || !StartsWith(name, prefix))
            continue;
        const std::string option = name.size() > prefix.size() + 1 ? name.substr(prefix.size() + 1, MaxNameLength) : "";
        component->SetOption(option, Value(props, name));
    }
}

// Each "," ends a token; the text after the last one is a token only when it is not empty.
TLogStringList Tokens(const std::string& value) {
    TLogStringList tokens;
    size_t start = 0;
    for (size_t comma; (comma = value.find(',', start)) != std::string::npos; start = comma + 1)
        tokens.push_back(value.substr(start, comma - start));
    if (start < value.size())
        tokens.push_back(value.substr(start));
    return tokens;
}

// Holds a logger's lock while its key is parsed.
class LoggerLock {
public:
    explicit LoggerLock(TLogLogger* logger) : logger(logger) { logger->LockLogger(); }
    ~LoggerLock() { logger->UnlockLogger(); }
    LoggerLock(const LoggerLock&) = delete;
    LoggerLock& operator=(const LoggerLock&) = delete;

private:
    TLogLogger* logger;
};

}  // namespace

TLogBasicConfigurator::TLogBasicConfigurator() : FLoggerFactory(new TLogDefaultLoggerFactory) {}

TLogBasicConfigurator::~TLogBasicConfigurator() = default;

void TLogBasicConfigurator::Configure(ILogAppender* appender) {
    if (!DefaultHierarchy)
        return;
    LogRef<ILogAppender> added(appender);
    if (!added)
        added = new TLogODSAppender("ODS", TLogPatternLayout::Create("%r [%t] %p %c %x - %m%n"));
    DefaultHierarchy->Root()->AddAppender(added.get());
}

void TLogBasicConfigurator::ResetConfiguration() {
    if (DefaultHierarchy)
        DefaultHierarchy->ResetConfiguration();
}

LogRef<ILogAppender> TLogBasicConfigurator::AppenderGet(const std::string& name) {
    for (const auto& entry : FRegistry)
        if (SameText(entry.first, name))
            return entry.second->Appender;
    return nullptr;
}

void TLogBasicConfigurator::AppenderPut(ILogAppender* appender) {
    FRegistry.emplace_back(appender->GetName(), std::make_unique<TAppender>(appender));
}

void TLogBasicConfigurator::SetGlobalProps(TLogHierarchy*, const std::string& factoryClassName,
                                           const std::string& debug, const std::string& threshold) {
    if (!factoryClassName.empty()) {
        FLoggerFactory = FindLoggerFactory(factoryClassName);
        if (FLoggerFactory)
            Internal::InternalDebug(LogFormat("Setting logger factory to \"%s\"", {factoryClassName}));
        else
            FLoggerFactory = new TLogDefaultLoggerFactory;
    }
    if (!debug.empty() && LogLog)
        LogLog->SetInternalDebugging(StrToBool(debug, false));
    if (!threshold.empty() && DefaultHierarchy)
        DefaultHierarchy->SetThresholdProp(TLogLevel::GetLevel(LowerCaseAscii(threshold), Debug));
}

void TLogBasicConfigurator::AddRenderer(TLogHierarchy* hierarchy, const std::string& renderedClassName,
                                        const std::string& rendererClassName) {
    Internal::InternalDebug(
        LogFormat("Rendering class: \"%s\", Rendered class: \"%s\"", {rendererClassName, renderedClassName}));
    const TClass* rendered = FindRendered(renderedClassName);
    LogRef<ILogRenderer> renderer = FindRenderer(rendererClassName);
    if (!rendered)
        Internal::InternalError(LogFormat("Couldn't find rendered class \"%s\"", {renderedClassName}));
    else if (!renderer)
        Internal::InternalError(LogFormat("Couldn't create renderer \"%s\"", {rendererClassName}));
    else
        hierarchy->AddRenderer(rendered, renderer.get());
}

void TLogPropertyConfigurator::Configure(const std::string& fileName) {
    if (!DefaultHierarchy)
        return;
    TLogPropertyConfigurator configurator;
    configurator.DoConfigure(fileName, DefaultHierarchy);
}

void TLogPropertyConfigurator::Configure(const TLogStringList& props) {
    if (!DefaultHierarchy)
        return;
    TLogPropertyConfigurator configurator;
    configurator.DoConfigure(props, DefaultHierarchy);
}

void TLogPropertyConfigurator::DoConfigure(const std::string& fileName, TLogHierarchy* hierarchy) {
    try {
        DoConfigure(LoadConfigurationLines(fileName), hierarchy);
    } catch (const std::exception& error) {
        Internal::InternalError(LogFormat("Couldn't read configuration file \"%s\" - %s", {fileName, error.what()}));
        Internal::InternalError(LogFormat("Ignoring configuration file \"%s\"", {fileName}));
    }
}

void TLogPropertyConfigurator::DoConfigure(const TLogStringList& props, TLogHierarchy* hierarchy) {
    SetGlobalProps(hierarchy, Value(props, "hierlog.loggerFactory"), Value(props, "hierlog.configDebug"),
                   Value(props, "hierlog.threshold"));
    ConfigureRootLogger(props, hierarchy);
    ParseLoggersAndRenderers(props, hierarchy);
    Internal::InternalDebug(LogFormat("Finished configuring with %s", {ClassName()}));
}

void TLogPropertyConfigurator::ConfigureRootLogger(const TLogStringList& props, TLogHierarchy* hierarchy) {
    const std::string value = Value(props, RootLoggerKey);
    if (value.empty()) {
        Internal::InternalDebug("Couldn't find root logger information. Is this OK?");
        return;
    }
    LoggerLock locked(hierarchy->Root());
    ParseLogger(props, hierarchy->Root(), value);
}

void TLogPropertyConfigurator::ParseLoggersAndRenderers(const TLogStringList& props, TLogHierarchy* hierarchy) {
    std::string name, value;
    for (const std::string& line : props) {
        if (!Split(line, name, value))
            continue;
        if (StartsWith(name, LoggerPrefix)) {
            TLogLogger* logger = hierarchy->GetLogger(name.substr(LoggerPrefix.size(), MaxNameLength),
                                                      FLoggerFactory.get());
            LoggerLock locked(logger);
            ParseLogger(props, logger, value);
            ParseAdditivityForLogger(props, logger);
        } else if (StartsWith(name, RendererPrefix)) {
            AddRenderer(hierarchy, name.substr(RendererPrefix.size(), MaxNameLength), value);
        }
    }
}

void TLogPropertyConfigurator::ParseLogger(const TLogStringList& props, TLogLogger* logger, const std::string& value) {
    Internal::InternalDebug(LogFormat("Parsing for logger \"%s\" with value=\"%s\"", {logger->Name(), value}));
    const TLogStringList tokens = Tokens(value);
    if (tokens.empty())
        return;
    if (!tokens[0].empty()) {
        Internal::InternalDebug(LogFormat("Level token is \"%s\"", {tokens[0]}));
        const std::string level = LowerCaseAscii(tokens[0]);
        if (level == "inherited" && logger->Name() != "root")
            logger->SetLevel(nullptr);
        else
            logger->SetLevel(TLogLevel::GetLevel(level, Debug));
        Internal::InternalDebug(
            LogFormat("Logger \"%s\" set to level \"%s\"", {logger->Name(), logger->Level()->Name()}));
    }
    logger->RemoveAllAppenders();
    for (size_t i = 1; i < tokens.size(); ++i) {
        if (tokens[i].empty())
            continue;
        Internal::InternalDebug(LogFormat("Parsing appender named \"%s\"", {tokens[i]}));
        if (LogRef<ILogAppender> appender = ParseAppender(props, tokens[i]))
            logger->AddAppender(appender.get());
    }
}

void TLogPropertyConfigurator::ParseAdditivityForLogger(const TLogStringList& props, TLogLogger* logger) {
    const std::string key = AdditivePrefix + logger->Name();
    const std::string value = Value(props, key);
    Internal::InternalDebug(LogFormat("Handling %s=\"%s\"", {key, value}));
    if (value.empty())
        return;
    logger->SetAdditive(StrToBool(value, true));
    Internal::InternalDebug(
        LogFormat("Setting additivity for \"%s\" to \"%s\"", {logger->Name(), logger->Additive() ? "true" : "false"}));
}

LogRef<ILogAppender> TLogPropertyConfigurator::ParseAppender(const TLogStringList& props,
                                                             const std::string& appenderName) {
    if (LogRef<ILogAppender> parsed = AppenderGet(appenderName)) {
        Internal::InternalDebug(LogFormat("Appender \"%s\" was already parsed", {appenderName}));
        return parsed;
    }
    const std::string prefix = AppenderPrefix + appenderName;
    LogRef<ILogAppender> appender = FindAppender(Value(props, prefix));
    if (!appender) {
        Internal::InternalError(LogFormat("Couldn't create appender named \"%s\"", {appenderName}));
        return nullptr;
    }
    appender->SetName(appenderName);

    const std::string handlerKey = prefix + ".errorHandler";
    if (LogRef<ILogErrorHandler> handler = FindErrorHandler(Value(props, handlerKey))) {
        appender->SetErrorHandler(handler.get());
        Internal::InternalDebug(LogFormat("Parsing error handler options for \"%s\"", {appenderName}));
        SetOptions(props, handler.get(), handlerKey);
        Internal::InternalDebug(LogFormat("End of parsing for \"%s\" error handler", {appenderName}));
    }
    const std::string layoutKey = prefix + ".layout";
    if (LogRef<ILogLayout> layout = FindLayout(Value(props, layoutKey))) {
        appender->SetLayout(layout.get());
        Internal::InternalDebug(LogFormat("Parsing layout options for \"%s\"", {appenderName}));
        SetOptions(props, layout.get(), layoutKey);
        Internal::InternalDebug(LogFormat("End of parsing for \"%s\" layout", {appenderName}));
    }
    if (appender->RequiresLayout() && !appender->GetLayout())
        Internal::InternalError(LogFormat("Appender \"%s\" requires a layout", {appenderName}));

    const std::string filterKey = prefix + ".filter";
    std::string name, value;
    for (const std::string& line : props) {
        if (!Split(line, name, value) || !StartsWith(name, filterKey))
            continue;
        if (name.find('.', filterKey.size()) != std::string::npos)
            continue;
        if (LogRef<ILogFilter> filter = FindFilter(value)) {
            appender->AddFilter(filter.get());
            Internal::InternalDebug(LogFormat("Parsing filter options for \"%s\"", {appenderName}));
            SetOptions(props, filter.get(), name);
            Internal::InternalDebug(LogFormat("End of parsing for \"%s\" filter", {appenderName}));
        }
    }
    SetOptions(props, appender.get(), prefix);
    Internal::InternalDebug(LogFormat("Parsed \"%s\" options", {appenderName}));
    AppenderPut(appender.get());
    return appender;
}

}  // namespace HierLog
