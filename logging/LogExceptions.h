// The library's exceptions: the silent abort of a logging operation, and the one it raises when a
// class is registered for an interface it does not implement.
#pragma once
#include "Exception.h"
#include "LogObject.h"

class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

namespace HierLog {

class HIERLOG_API ELogException : public Exception {
public:
    using Exception::Exception;
};

}  // namespace HierLog
