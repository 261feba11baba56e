// The class library's automation errors: EOleSysError carries the HRESULT; EOleException is
// what an automation object reported (its source and help as well).
#pragma once
#include "Exception.h"
#include <windows.h>

class EOleError : public Exception {
public:
    using Exception::Exception;
};

class EOleSysError : public EOleError {
public:
    EOleSysError(std::string message, HRESULT errorCode, int helpContext = 0)
        : EOleError(std::move(message)), ErrorCode(errorCode), HelpContext(helpContext) {}
    HRESULT ErrorCode;
    int HelpContext;
};

class EOleException : public EOleSysError {
public:
    EOleException(std::string message, HRESULT errorCode, std::string source, std::string helpFile, int helpContext)
        : EOleSysError(std::move(message), errorCode, helpContext),
          Source(std::move(source)),
          HelpFile(std::move(helpFile)) {}
    std::string Source;
    std::string HelpFile;
};
