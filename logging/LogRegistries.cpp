#include "LogRegistries.h"
#include "LogAppenders.h"
#include "LogErrorHandlers.h"
#include "LogExceptions.h"
#include "LogFileAppenders.h"
#include "LogFilters.h"
#include "LogFormat.h"
#include "LogLayouts.h"
#include "LogLibrary.h"
#include "LogLogger.h"
#include "LogText.h"
#include <utility>
#include <vector>

namespace HierLog {

namespace {

class Registry {
public:
    Registry(const char* interfaceName, const GUID* iid) : interfaceName(interfaceName), iid(iid) {}

    void Register(const TClass* clazz) {
        if (iid && !clazz->Supports(*iid))
            throw ELogException(LogFormat("%s doesn't implement %s", {clazz->Name, interfaceName}));
        for (auto& entry : classes) {
            if (SameText(entry.first, clazz->Name)) {
                entry = {clazz->Name, clazz};
                return;
            }
        }
        classes.emplace_back(clazz->Name, clazz);
    }

    const TClass* Find(const std::string& name) const {
        for (const auto& entry : classes)
            if (SameText(entry.first, name))
                return entry.second;
        Internal::InternalError(LogFormat("Couldn't find class %s", {name}));
        return nullptr;
    }

    // A bare instance through the registry's interface, after its Init.
    template <class I>
    LogRef<I> Make(const std::string& name) const {
        if (name.empty())
            return nullptr;
        const TClass* clazz = Find(name);
        TObject* made = clazz && clazz->NewBare ? clazz->NewBare() : nullptr;
        if (!made)
            return nullptr;
        LogRef<I> object;
        void* found = nullptr;
        if (!made->GetInterface(I::Id, &found)) {
            delete made;
            return nullptr;
        }
        object.Adopt(static_cast<I*>(found));
        if (LogRef<ILogDynamicCreate> init = object.template As<ILogDynamicCreate>())
            init->Init();
        return object;
    }

private:
    const char* interfaceName;
    const GUID* iid;  // null: any class
    std::vector<std::pair<std::string, const TClass*>> classes;
};

struct Registries {
    Registry appenders{"ILogAppender", &ILogAppender::Id};
    Registry loggerFactories{"ILogLoggerFactory", &ILogLoggerFactory::Id};
    Registry errorHandlers{"ILogErrorHandler", &ILogErrorHandler::Id};
    Registry filters{"ILogFilter", &ILogFilter::Id};
    Registry layouts{"ILogLayout", &ILogLayout::Id};
    Registry rendered{"", nullptr};
    Registry renderers{"ILogRenderer", &ILogRenderer::Id};
};

Registries* registries = nullptr;

}  // namespace

namespace Internal {

void StartRegistries() {
    registries = new Registries;
    RegisterLoggerFactory(TLogDefaultLoggerFactory::StaticClass());
    RegisterErrorHandler(TLogFallbackErrorHandler::StaticClass());
    RegisterErrorHandler(TLogOnlyOnceErrorHandler::StaticClass());
    RegisterLayout(TLogHTMLLayout::StaticClass());
    RegisterLayout(TLogPatternLayout::StaticClass());
    RegisterLayout(TLogSimpleLayout::StaticClass());
    RegisterFilter(TLogDenyAllFilter::StaticClass());
    RegisterFilter(TLogLevelMatchFilter::StaticClass());
    RegisterFilter(TLogLevelRangeFilter::StaticClass());
    RegisterFilter(TLogStringFilter::StaticClass());
    RegisterAppender(TLogFileAppender::StaticClass());
    RegisterAppender(TLogNullAppender::StaticClass());
    RegisterAppender(TLogODSAppender::StaticClass());
    RegisterAppender(TLogStreamAppender::StaticClass());
    RegisterAppender(TLogRollingFileAppender::StaticClass());
}

void EndRegistries() {
    delete registries;
    registries = nullptr;
}

}  // namespace Internal

void RegisterAppender(const TClass* clazz) {
    if (registries)
        registries->appenders.Register(clazz);
}
void RegisterLoggerFactory(const TClass* clazz) {
    if (registries)
        registries->loggerFactories.Register(clazz);
}
void RegisterErrorHandler(const TClass* clazz) {
    if (registries)
        registries->errorHandlers.Register(clazz);
}
void RegisterFilter(const TClass* clazz) {
    if (registries)
        registries->filters.Register(clazz);
}
void RegisterLayout(const TClass* clazz) {
    if (registries)
        registries->layouts.Register(clazz);
}
void RegisterRendered(const TClass* clazz) {
    if (registries)
        registries->rendered.Register(clazz);
}
void RegisterRenderer(const TClass* clazz) {
    if (registries)
        registries->renderers.Register(clazz);
}

LogRef<ILogAppender> FindAppender(const std::string& name) {
    return registries ? registries->appenders.Make<ILogAppender>(name) : nullptr;
}
LogRef<ILogLoggerFactory> FindLoggerFactory(const std::string& name) {
    return registries ? registries->loggerFactories.Make<ILogLoggerFactory>(name) : nullptr;
}
LogRef<ILogErrorHandler> FindErrorHandler(const std::string& name) {
    return registries ? registries->errorHandlers.Make<ILogErrorHandler>(name) : nullptr;
}
LogRef<ILogFilter> FindFilter(const std::string& name) {
    return registries ? registries->filters.Make<ILogFilter>(name) : nullptr;
}
LogRef<ILogLayout> FindLayout(const std::string& name) {
    return registries ? registries->layouts.Make<ILogLayout>(name) : nullptr;
}
LogRef<ILogRenderer> FindRenderer(const std::string& name) {
    return registries ? registries->renderers.Make<ILogRenderer>(name) : nullptr;
}
const TClass* FindRendered(const std::string& name) {
    return registries ? registries->rendered.Find(name) : nullptr;
}

}  // namespace HierLog
