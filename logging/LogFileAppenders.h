// Appenders that write to a stream, a file, and a file that rolls over to numbered backups
// (app.log, app.log.1, app.log.2...) when it grows past a size. Files are opened for writing and
// shared for reading only; texts are written as they are, in the system's ANSI code page.
// Options: "append" and "fileName" (in that order: a file is opened when its name is set),
// "maxFileSize" (a number, or one followed by KB, MB or GB) and "maxBackupIndex".
#pragma once
#include "LogAppenders.h"
#include "Streams.h"
#include <string>

namespace HierLog {

class HIERLOG_API TLogStreamAppender : public TLogCustomAppender {
    HIERLOG_CLASS(TLogStreamAppender)
    TLogStreamAppender() = default;  // bare
    // Owns the stream from then on.
    TLogStreamAppender(const std::string& name, TStream* stream, ILogLayout* layout);
    ~TLogStreamAppender() override;

protected:
    void DoAppend(const std::string& message) override;
    using TLogCustomAppender::DoAppend;

    TStream* FStream = nullptr;
};

class HIERLOG_API TLogFileAppender : public TLogStreamAppender {
    HIERLOG_CLASS(TLogFileAppender)
    TLogFileAppender() = default;  // bare
    TLogFileAppender(const std::string& name, const std::string& fileName, ILogLayout* layout, bool append);
    void SetOption(const std::string& name, const std::string& value) override;
    // Opens the file: appending to an existing one, or made empty (with its missing folders);
    // then writes the layout's header. Raises the stream's file errors.
    void SetLogFile(const std::string& fileName);
    void CloseLogFile();
    const std::string& FileName() const { return FFileName; }
    bool OpenAppend() const { return FAppend; }

protected:
    void ConstructFile(const std::string& name, const std::string& fileName, ILogLayout* layout, bool append);

    bool FAppend = false;
    std::string FFileName;
};

class HIERLOG_API TLogRollingFileAppender : public TLogFileAppender {
    HIERLOG_CLASS(TLogRollingFileAppender)
    TLogRollingFileAppender() = default;  // bare
    TLogRollingFileAppender(const std::string& name, const std::string& fileName, ILogLayout* layout, bool append);
    void Init() override;
    void SetOption(const std::string& name, const std::string& value) override;
    // Shifts the backups up by one (the last is deleted) and starts a new file; a live file that
    // cannot be renamed is kept and appended to, with a warning.
    virtual void RollOver();
    int MaxFileSize() const { return FMaxFileSize; }
    int MaxBackupIndex() const { return FMaxBackupIndex; }

protected:
    // Headers and footers count towards the size but never start a roll-over.
    void DoAppend(const std::string& message) override;
    using TLogFileAppender::DoAppend;
    void WriteHeader() override;
    void WriteFooter() override;

    int FMaxFileSize = 0;
    int FMaxBackupIndex = 0;
    int FCurrentSize = 0;  // characters written to the open file, read from its size when 0

private:
    bool FWritingFrame = false;
};

}  // namespace HierLog
