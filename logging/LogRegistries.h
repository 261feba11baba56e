// Class registries: class names (letter case ignored) mapped to classes, so that configuration
// text can name components. Registering a class for an interface it lacks raises ELogException;
// a class registered again under a name it already has replaces the earlier one. Finding makes a
// bare instance of the class and runs its Init; a name that is not registered gives null and an
// error on the internal logger ("Couldn't find class %s"); an empty name gives null silently.
#pragma once
#include "LogInterfaces.h"
#include <string>

namespace HierLog {

HIERLOG_API void RegisterAppender(const TClass* clazz);
HIERLOG_API void RegisterLoggerFactory(const TClass* clazz);
HIERLOG_API void RegisterErrorHandler(const TClass* clazz);
HIERLOG_API void RegisterFilter(const TClass* clazz);
HIERLOG_API void RegisterLayout(const TClass* clazz);
HIERLOG_API void RegisterRendered(const TClass* clazz);
HIERLOG_API void RegisterRenderer(const TClass* clazz);

HIERLOG_API LogRef<ILogAppender> FindAppender(const std::string& name);
HIERLOG_API LogRef<ILogLoggerFactory> FindLoggerFactory(const std::string& name);
HIERLOG_API LogRef<ILogErrorHandler> FindErrorHandler(const std::string& name);
HIERLOG_API LogRef<ILogFilter> FindFilter(const std::string& name);
HIERLOG_API LogRef<ILogLayout> FindLayout(const std::string& name);
HIERLOG_API LogRef<ILogRenderer> FindRenderer(const std::string& name);
// The class itself; also the empty name gives the error.
HIERLOG_API const TClass* FindRendered(const std::string& name);

namespace Internal {
void StartRegistries();
void EndRegistries();
}  // namespace Internal

}  // namespace HierLog
