#include "LogFileAppenders.h"
#include "FileStream.h"
#include "LogFormat.h"
#include "LogLibrary.h"
#include "LogText.h"
#include "Text.h"
#include <windows.h>
#include <climits>
#include <cstdint>

namespace HierLog {

HIERLOG_CLASS_INFO(TLogStreamAppender, TLogCustomAppender)
HIERLOG_CLASS_INFO(TLogFileAppender, TLogStreamAppender)
HIERLOG_CLASS_INFO(TLogRollingFileAppender, TLogFileAppender)

namespace {

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Makes the folder with every missing folder above it; failures show when the file is made.
void ForceFolders(const std::wstring& folder) {
    if (folder.empty() || Exists(folder))
        return;
    const size_t slash = folder.find_last_of(L"\\/");
    if (slash != std::wstring::npos && slash > 0 && folder[slash - 1] != L':')
        ForceFolders(folder.substr(0, slash));
    CreateDirectoryW(folder.c_str(), nullptr);
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring Backup(const std::wstring& name, int number) {
    return name + L"." + std::to_wstring(number);
}

// "maxFileSize": a whole number of bytes, or of kilobytes, megabytes or gigabytes.
int ParseFileSize(const std::string& value) {
    int64_t size;
    const std::string unit = value.size() >= 2 ? value.substr(value.size() - 2) : std::string();
    const int64_t factor = unit == "KB" ? 1024 : unit == "MB" ? 1048576 : unit == "GB" ? 1073741824 : 1;
    if (factor > 1)
        size = StrToIntDef(value.substr(0, value.size() - 2), 0) * factor;
    else
        size = StrToIntDef(value, 0);
    if (size == 0)
        return 10485760;
    if (size > INT_MAX)
        return INT_MAX;
    if (size < INT_MIN)
        return INT_MIN;
    return static_cast<int>(size);
}

// Sets a flag for its lifetime and puts the old value back afterwards.
class FlagScope {
public:
    FlagScope(bool& flag, bool value) : flag(flag), old(flag) { flag = value; }
    ~FlagScope() { flag = old; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag;
    bool old;
};

}  // namespace

TLogStreamAppender::TLogStreamAppender(const std::string& name, TStream* stream, ILogLayout* layout) {
    Construct(name, layout);
    FStream = stream;
}

TLogStreamAppender::~TLogStreamAppender() {
    delete FStream;
}

void TLogStreamAppender::DoAppend(const std::string& message) {
    // WriteBuffer's test, made here: one call less between the event and the system's write.
    const int size = static_cast<int>(message.size());
    if (FStream && size != 0 && FStream->Write(message.data(), size) != size)
        throw EWriteError();
}

TLogFileAppender::TLogFileAppender(const std::string& name, const std::string& fileName, ILogLayout* layout,
                                   bool append) {
    ConstructFile(name, fileName, layout, append);
}

void TLogFileAppender::ConstructFile(const std::string& name, const std::string& fileName, ILogLayout* layout,
                                     bool append) {
    Construct(name, layout);
    FAppend = append;
    SetOption("fileName", fileName);
}

void TLogFileAppender::SetOption(const std::string& name, const std::string& value) {
    TLogStreamAppender::SetOption(name, value);
    if (value.empty())
        return;
    TLogGuard guard(FCriticalAppender);
    if (SameText(name, "append"))
        FAppend = StrToBool(value, FAppend);
    else if (SameText(name, "fileName"))
        SetLogFile(value);
}

void TLogFileAppender::CloseLogFile() {
    TLogGuard guard(FCriticalAppender);
    delete FStream;
    FStream = nullptr;
}

void TLogFileAppender::SetLogFile(const std::string& fileName) {
    TLogGuard guard(FCriticalAppender);
    CloseLogFile();
    FFileName = fileName;
    const std::wstring path = vcl::ToWide(fileName);
    if (FAppend && Exists(path)) {
        FStream = new TFileStream(path, fmOpenWrite | fmShareDenyWrite);
        FStream->Seek(0, soEnd);
    } else {
        ForceFolders(FolderOf(path));
        delete new TFileStream(path, fmCreate);
        FStream = new TFileStream(path, fmOpenWrite | fmShareDenyWrite);
    }
    WriteHeader();
}

TLogRollingFileAppender::TLogRollingFileAppender(const std::string& name, const std::string& fileName,
                                                 ILogLayout* layout, bool append) {
    ConstructFile(name, fileName, layout, append);
}

void TLogRollingFileAppender::Init() {
    TLogFileAppender::Init();
    FMaxFileSize = 10485760;
    FMaxBackupIndex = 1;
}

void TLogRollingFileAppender::SetOption(const std::string& name, const std::string& value) {
    TLogFileAppender::SetOption(name, value);
    if (value.empty())
        return;
    TLogGuard guard(FCriticalAppender);
    if (SameText(name, "maxFileSize"))
        FMaxFileSize = ParseFileSize(value);
    else if (SameText(name, "maxBackupIndex"))
        FMaxBackupIndex = StrToIntDef(value, 1);
}

void TLogRollingFileAppender::DoAppend(const std::string& message) {
    if (FStream && FCurrentSize == 0)
        FCurrentSize = static_cast<int>(FStream->Size());
    FCurrentSize += static_cast<int>(message.size());
    if (FStream && !FWritingFrame && FCurrentSize > FMaxFileSize) {
        FCurrentSize = 0;
        RollOver();
        if (FStream && FCurrentSize == 0)
            FCurrentSize = static_cast<int>(FStream->Size());
        FCurrentSize += static_cast<int>(message.size());
    }
    TLogFileAppender::DoAppend(message);
}

void TLogRollingFileAppender::WriteHeader() {
    FlagScope frame(FWritingFrame, true);
    TLogFileAppender::WriteHeader();
}

void TLogRollingFileAppender::WriteFooter() {
    FlagScope frame(FWritingFrame, true);
    TLogFileAppender::WriteFooter();
}

void TLogRollingFileAppender::RollOver() {
    TLogGuard guard(FCriticalAppender);
    if (FMaxBackupIndex <= 0)
        return;
    const std::wstring name = vcl::ToWide(FFileName);
    DeleteFileW(Backup(name, FMaxBackupIndex).c_str());
    for (int i = FMaxBackupIndex - 1; i >= 1; --i)
        if (Exists(Backup(name, i)))
            MoveFileW(Backup(name, i).c_str(), Backup(name, i + 1).c_str());
    CloseLogFile();
    if (MoveFileW(name.c_str(), Backup(name, 1).c_str())) {
        SetLogFile(FFileName);
        return;
    }
    const DWORD error = GetLastError();
    Internal::InternalWarn(LogFormat("Could not rename \"%s\" to \"%s\" (error %d); appending to it",
                                     {FFileName, FFileName + ".1", static_cast<int>(error)}));
    FlagScope appending(FAppend, true);
    SetLogFile(FFileName);
}

}  // namespace HierLog
