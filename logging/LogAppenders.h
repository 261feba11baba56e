// Appenders: where events leave the library. The base decides under the appender's lock whether
// an event is written (threshold, closed, layout, filters), formats it with the layout and hands
// the text to the concrete writer. Option "threshold" (a level name).
#pragma once
#include "LogInterfaces.h"
#include "LogLevel.h"
#include "LogLock.h"
#include "LogOptionHandler.h"
#include <string>

namespace HierLog {

class HIERLOG_API TLogCustomAppender : public TLogOptionHandlerOf<ILogAppender> {
    HIERLOG_CLASS(TLogCustomAppender)
    void Init() override;
    void SetOption(const std::string& name, const std::string& value) override;

    void AddFilter(ILogFilter* filter) override;
    void Append(TLogEvent* event) override;
    // Writes the footer, once.
    void Close() override;
    LogRef<ILogErrorHandler> GetErrorHandler() override;
    const TLogFilterList& GetFilters() override { return FFilters; }
    LogRef<ILogLayout> GetLayout() override;
    std::string GetName() override { return FName; }
    void RemoveAllFilters() override;
    void RemoveFilter(ILogFilter* filter) override;
    bool RequiresLayout() override { return true; }
    // A null handler is refused with a warning.
    void SetErrorHandler(ILogErrorHandler* errorHandler) override;
    void SetLayout(ILogLayout* layout) override;
    void SetName(const std::string& name) override { FName = name; }

    bool isAsSevereAsThreshold(TLogLevel* level) const;
    TLogLevel* Threshold() const { return FThreshold; }

protected:
    // The construction with a name and a layout (a new simple layout when it is null).
    void Construct(const std::string& name, ILogLayout* layout);
    virtual bool CheckEntryConditions();
    virtual bool CheckFilters(TLogEvent* event);
    virtual void DoAppend(TLogEvent* event);
    virtual void DoAppend(const std::string& message) = 0;
    virtual void WriteFooter();
    virtual void WriteHeader();
    void BeforeDestruction() override { Close(); }

    bool FClosed = false;
    LogRef<ILogErrorHandler> FErrorHandler;
    TLogFilterList FFilters;
    LogRef<ILogLayout> FLayout;
    std::string FName;
    TLogLevel* FThreshold = nullptr;
    TLogLock FCriticalAppender;

private:
    static constexpr size_t KeptTextCapacity = 65536;
    std::string FText;  // the last event's text: its room serves the next one
};

// Discards what it is given.
class HIERLOG_API TLogNullAppender : public TLogCustomAppender {
    HIERLOG_CLASS(TLogNullAppender)
    TLogNullAppender() = default;  // bare
    TLogNullAppender(const std::string& name, ILogLayout* layout);

protected:
    void DoAppend(const std::string&) override {}
    using TLogCustomAppender::DoAppend;
};

// Writes to the debugger output, as UTF-16.
class HIERLOG_API TLogODSAppender : public TLogCustomAppender {
    HIERLOG_CLASS(TLogODSAppender)
    TLogODSAppender() = default;  // bare
    TLogODSAppender(const std::string& name, ILogLayout* layout);

protected:
    void DoAppend(const std::string& message) override;
    using TLogCustomAppender::DoAppend;
};

}  // namespace HierLog
