// The base of renderers, which turn message objects of a class into message text; concrete
// renderers come from the library's users (registered by class, and named in configuration).
#pragma once
#include "LogInterfaces.h"
#include "LogOptionHandler.h"

namespace HierLog {

class HIERLOG_API TLogCustomRenderer : public TLogOptionHandlerOf<ILogRenderer> {
    HIERLOG_CLASS(TLogCustomRenderer)
};

}  // namespace HierLog
