// The library's interfaces, each with its fixed identifier and the interface it derives from;
// operations in slot order. Texts are ANSI (cp1251).
#pragma once
#include "LogObject.h"
#include "LogRef.h"
#include <exception>
#include <string>
#include <vector>

namespace HierLog {

class TLogEvent;
class TLogLogger;
struct ILogAppender;
struct ILogFilter;
struct ILogErrorHandler;
struct ILogLayout;

// Second construction step: a registry makes an object bare, then calls Init.
struct ILogDynamicCreate : IUnknown {
    using Inherited = IUnknown;
    static constexpr GUID Id = {0x287DAA34, 0x3A9F, 0x45C6, {0x94, 0x17, 0x1B, 0x0D, 0x4D, 0xFA, 0xC8, 0x6C}};
    virtual void Init() = 0;
};

// Components configured through name=value options.
struct ILogOptionHandler : ILogDynamicCreate {
    using Inherited = ILogDynamicCreate;
    static constexpr GUID Id = {0xAC1C0E30, 0x2DBF, 0x4C55, {0x9C, 0x2E, 0x9A, 0x0F, 0x1A, 0x3E, 0x4F, 0x58}};
    virtual std::string GetOption(const std::string& name) = 0;
    virtual void SetOption(const std::string& name, const std::string& value) = 0;
};

struct ILogLoggerFactory : IUnknown {
    using Inherited = IUnknown;
    static constexpr GUID Id = {0xAEE5E86C, 0xB708, 0x45B2, {0xBE, 0xAD, 0xB3, 0x70, 0xD7, 0x1C, 0xAA, 0x2F}};
    // A new logger with no reference held yet.
    virtual TLogLogger* MakeNewLoggerInstance(const std::string& name) = 0;
};

// Hears of appenders added to and removed from the loggers of a hierarchy.
struct ILogHierarchyEventListener : IUnknown {
    using Inherited = IUnknown;
    static constexpr GUID Id = {0xA216D50F, 0xB9A5, 0x4871, {0x8E, 0xE3, 0xCB, 0x55, 0xC4, 0x1E, 0x13, 0x8B}};
    virtual void AppenderAdded(TLogLogger* logger, ILogAppender* appender) = 0;
    virtual void AppenderRemoved(TLogLogger* logger, ILogAppender* appender) = 0;
};

struct ILogLayout : ILogOptionHandler {
    using Inherited = ILogOptionHandler;
    static constexpr GUID Id = {0x87FDD680, 0x96D7, 0x45A0, {0xA1, 0x35, 0xCB, 0x88, 0xAB, 0xAD, 0x55, 0x19}};
    virtual std::string Format(TLogEvent* event) = 0;
    virtual std::string GetContentType() = 0;
    virtual std::string GetFooter() = 0;
    virtual std::string GetHeader() = 0;
    virtual bool IgnoresException() = 0;
};

// Turns a message object into message text.
struct ILogRenderer : ILogOptionHandler {
    using Inherited = ILogOptionHandler;
    static constexpr GUID Id = {0x169B03C6, 0xE2C7, 0x4F62, {0xAD, 0x19, 0x17, 0x40, 0x8A, 0xB3, 0x06, 0x81}};
    virtual std::string Render(TObject* message) = 0;
};

enum TLogFilterDecision { fdDeny, fdNeutral, fdAccept };

struct ILogFilter : ILogOptionHandler {
    using Inherited = ILogOptionHandler;
    static constexpr GUID Id = {0xB28213D7, 0xACE2, 0x4C44, {0xB8, 0x20, 0xD9, 0x43, 0x7D, 0x44, 0xF8, 0xDA}};
    virtual TLogFilterDecision Decide(TLogEvent* event) = 0;
};

struct ILogErrorHandler : ILogOptionHandler {
    using Inherited = ILogOptionHandler;
    static constexpr GUID Id = {0xB902C52A, 0x5E4E, 0x47A8, {0xB2, 0x91, 0xBE, 0x8E, 0x76, 0x60, 0xF7, 0x54}};
    virtual void SetAppender(ILogAppender* appender) = 0;
    virtual void SetBackupAppender(ILogAppender* appender) = 0;
    virtual void SetLogger(TLogLogger* logger) = 0;
    virtual void Error(const std::string& message) = 0;
    virtual void Error(const std::string& message, const std::exception* error, int errorCode, TLogEvent* event) = 0;
};

using TLogFilterList = std::vector<LogRef<ILogFilter>>;

struct ILogAppender : ILogOptionHandler {
    using Inherited = ILogOptionHandler;
    static constexpr GUID Id = {0xE1A06EA7, 0x34CA, 0x4DA4, {0x9A, 0x8A, 0xC7, 0x6C, 0xF3, 0x42, 0x57, 0xAC}};
    virtual void AddFilter(ILogFilter* filter) = 0;
    virtual void Append(TLogEvent* event) = 0;
    virtual void Close() = 0;
    virtual LogRef<ILogErrorHandler> GetErrorHandler() = 0;
    virtual const TLogFilterList& GetFilters() = 0;
    virtual LogRef<ILogLayout> GetLayout() = 0;
    virtual std::string GetName() = 0;
    virtual void RemoveAllFilters() = 0;
    virtual void RemoveFilter(ILogFilter* filter) = 0;
    virtual bool RequiresLayout() = 0;
    virtual void SetErrorHandler(ILogErrorHandler* errorHandler) = 0;
    virtual void SetLayout(ILogLayout* layout) = 0;
    virtual void SetName(const std::string& name) = 0;
};

}  // namespace HierLog
