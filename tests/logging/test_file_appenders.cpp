// Stream, file and rolling-file appenders on real files.
#include "DebugOutputCapture.h"
#include "FileStream.h"
#include "HierLog.h"
#include "LogFiles.h"
#include "RecordingAppender.h"
#include "Text.h"
#include <gtest/gtest.h>
#include <climits>

using namespace HierLog;

namespace {

// The simple layout with a header and a footer of its own.
class TFramedLayout : public TLogSimpleLayout {
public:
    explicit TFramedLayout(std::string header = "H\r\n", std::string footer = "F\r\n")
        : header(std::move(header)), footer(std::move(footer)) {
        Init();
    }
    std::string GetHeader() override { return header; }
    std::string GetFooter() override { return footer; }

private:
    std::string header, footer;
};

void Log(ILogAppender* appender, TLogLevel* level, const std::string& message) {
    TLogEvent event(nullptr, level, message, nullptr, 0);
    appender->Append(&event);
}

}  // namespace

TEST(StreamAppender, WritesTheTextAtTheStreamsPosition) {
    auto* stream = new TMemoryStream;
    stream->WriteBuffer("keep", 4);
    LogRef<ILogAppender> appender(new TLogStreamAppender("mem", stream, new TFramedLayout));
    Log(appender.get(), Info, "Привет");
    appender->Close();
    const std::string bytes(static_cast<const char*>(stream->Memory()), static_cast<size_t>(stream->Size()));
    EXPECT_EQ(bytes, "keepinfo - \xcf\xf0\xe8\xe2\xe5\xf2\r\nF\r\n");  // cp1251, no byte-order mark
    LogRef<ILogAppender> without(new TLogStreamAppender("none", nullptr, nullptr));
    Log(without.get(), Info, "nowhere");  // no stream: nothing, no report
}

TEST(FileAppender, MakesMissingFoldersAndWritesHeaderLinesAndFooter) {
    TAnsiTempFolder folder;
    const std::string name = folder / "a\\b\\c\\app.log";
    {
        LogRef<TLogFileAppender> appender(new TLogFileAppender("file", name, new TFramedLayout, false));
        EXPECT_EQ(appender->FileName(), name);
        EXPECT_EQ(FileBytes(name), "H\r\n");
        Log(appender.get(), Info, "one");
        Log(appender.get(), Error, "Ошибка");
    }  // released: closed, with the footer
    EXPECT_EQ(FileBytes(name), "H\r\ninfo - one\r\nerror - \xce\xf8\xe8\xe1\xea\xe0\r\nF\r\n");
}

TEST(FileAppender, AppendOrTruncate) {
    const struct {
        const char* options;
        bool constructAppend;
        const char* expected;
    } table[] = {
        {"append=false", false, "H\r\ninfo - new\r\nF\r\n"},
        {"append=true", false, "old\r\nH\r\ninfo - new\r\nF\r\n"},
        {"", true, "old\r\nH\r\ninfo - new\r\nF\r\n"},
        {"append=no", true, "H\r\ninfo - new\r\nF\r\n"},
        {"append=unclear", true, "old\r\nH\r\ninfo - new\r\nF\r\n"},
        {"fileName then append=true", false, "H\r\ninfo - new\r\nF\r\n"},  // too late to keep it
    };
    for (const auto& row : table) {
        TAnsiTempFolder folder;
        const std::string name = folder / "app.log";
        WriteFileBytes(name, "old\r\n");
        LogRef<TLogFileAppender> appender = Initialised<TLogFileAppender>();
        appender->SetLayout(new TFramedLayout);
        appender->SetOption("append", row.constructAppend ? "true" : "false");
        const std::string options = row.options;
        if (options.rfind("append=", 0) == 0)
            appender->SetOption("append", options.substr(7));
        appender->SetOption("fileName", name);
        if (options == "fileName then append=true")
            appender->SetOption("append", "true");
        Log(appender.get(), Info, "new");
        appender->Close();
        EXPECT_EQ(FileBytes(name), row.expected) << row.options << " " << row.constructAppend;
    }
}

TEST(FileAppender, OthersMayReadTheOpenFileButNotWriteIt) {
    TAnsiTempFolder folder;
    const std::string name = folder / "shared.log";
    LogRef<ILogAppender> appender(new TLogFileAppender("file", name, nullptr, false));
    Log(appender.get(), Info, "line");
    const std::wstring path = vcl::ToWide(name);
    const struct {
        DWORD access;
        DWORD share;
        bool opens;
    } table[] = {
        {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, true},
        {GENERIC_READ, FILE_SHARE_READ, false},  // we write it
        {GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, false},
    };
    for (const auto& row : table) {
        HANDLE other = CreateFileW(path.c_str(), row.access, row.share, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(other != INVALID_HANDLE_VALUE, row.opens) << row.access << " " << row.share;
        if (other != INVALID_HANDLE_VALUE)
            CloseHandle(other);
        else
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    }
    EXPECT_EQ(FileBytes(name), "info - line\r\n");
}

TEST(FileAppender, ClosedAppenderWarnsAndWritesNothing) {
    TAnsiTempFolder folder;
    const std::string name = folder / "closed.log";
    LogRef<ILogAppender> appender(new TLogFileAppender("file", name, new TFramedLayout, false));
    appender->Close();
    TDebugOutputCapture capture;
    Log(appender.get(), Fatal, "late");
    EXPECT_EQ(capture.Lines(),
              std::vector<std::string>{InternalLine("warn", "Not allowed to write to a closed appender")});
    EXPECT_EQ(FileBytes(name), "H\r\nF\r\n");
}

TEST(FileAppender, FileThatCannotBeMadeRaises) {
    TAnsiTempFolder folder;
    WriteFileBytes(folder / "plain", "x");
    EXPECT_THROW(LogRef<ILogAppender>(new TLogFileAppender("f", folder / "plain\\app.log", nullptr, false)),
                 EFCreateError);
    LogRef<TLogFileAppender> appender = Initialised<TLogFileAppender>();
    EXPECT_THROW(appender->SetOption("fileName", folder / "plain\\x\\app.log"), EFCreateError);
    Log(appender.get(), Info, "no file: nothing");  // the layout is missing too: the handler's line only
}

TEST(RollingFileAppender, SizeAndCountOptions) {
    const struct {
        const char* value;
        int size;
    } sizes[] = {
        {"5KB", 5120},     {"1MB", 1048576},         {"1GB", 1073741824},
        {"100", 100},      {"0", 10485760},          {"abc", 10485760},
        {"5kb", 10485760}, {"KB", 10485760},         {"-5", -5},
        {" 12", 12},       {"12 ", 10485760},        {"$10", 16},
        {"3GB", INT_MAX},  {"2147483648", 10485760},
    };
    for (const auto& row : sizes) {
        LogRef<TLogRollingFileAppender> appender = Initialised<TLogRollingFileAppender>();
        EXPECT_EQ(appender->MaxFileSize(), 10485760);
        EXPECT_EQ(appender->MaxBackupIndex(), 1);
        appender->SetOption("maxFileSize", row.value);
        EXPECT_EQ(appender->MaxFileSize(), row.size) << row.value;
    }
    const struct {
        const char* value;
        int count;
    } counts[] = {{"3", 3}, {"x", 1}, {"0", 0}, {"-2", -2}, {"", 1}};
    for (const auto& row : counts) {
        LogRef<TLogRollingFileAppender> appender = Initialised<TLogRollingFileAppender>();
        appender->SetOption("maxBackupIndex", row.value);
        EXPECT_EQ(appender->MaxBackupIndex(), row.count) << row.value;
    }
}

TEST(RollingFileAppender, RollsOverToNumberedBackups) {
    TAnsiTempFolder folder;
    const std::string name = folder / "app.log";
    LogRef<TLogRollingFileAppender> appender = Initialised<TLogRollingFileAppender>();
    appender->SetLayout(TLogPatternLayout::Create("%m\r\n"));
    appender->SetOption("maxFileSize", "100");
    appender->SetOption("maxBackupIndex", "2");
    appender->SetOption("fileName", name);
    const std::string line(38, 'x');  // 40 bytes with the line break
    for (char tag : std::string("abcdefg"))
        Log(appender.get(), Info, std::string(1, tag) + line.substr(1));
    auto lineOf = [&](char tag) { return std::string(1, tag) + line.substr(1) + "\r\n"; };
    // Each file holds two lines: the third would bring it above 100 bytes.
    EXPECT_EQ(FileBytes(name), lineOf('g'));
    EXPECT_EQ(FileBytes(name + ".1"), lineOf('e') + lineOf('f'));
    EXPECT_EQ(FileBytes(name + ".2"), lineOf('c') + lineOf('d'));
    EXPECT_FALSE(FileExists(name + ".3"));
    EXPECT_EQ(FilesIn(folder.Path()), (std::vector<std::string>{"app.log", "app.log.1", "app.log.2"}));
}

TEST(RollingFileAppender, HeaderLargerThanTheMaximumNeverRecurses) {
    TAnsiTempFolder folder;
    const std::string name = folder / "big.log";
    const std::string header(150, 'h');
    LogRef<TLogRollingFileAppender> appender = Initialised<TLogRollingFileAppender>();
    appender->SetLayout(new TFramedLayout(header, ""));
    appender->SetOption("maxFileSize", "100");
    appender->SetOption("maxBackupIndex", "3");
    appender->SetOption("fileName", name);
    for (const char* message : {"1", "2", "3"})
        Log(appender.get(), Info, message);
    EXPECT_EQ(FileBytes(name), header + "info - 3\r\n");
    EXPECT_EQ(FileBytes(name + ".1"), header + "info - 2\r\n");
    EXPECT_EQ(FileBytes(name + ".2"), header + "info - 1\r\n");
    EXPECT_EQ(FileBytes(name + ".3"), header);
}

TEST(RollingFileAppender, NegativeSizeRollsEveryEventWithoutRecursion) {
    TAnsiTempFolder folder;
    const std::string name = folder / "neg.log";
    LogRef<TLogRollingFileAppender> appender(new TLogRollingFileAppender("r", "", nullptr, false));
    appender->SetOption("maxFileSize", "-5");
    appender->SetOption("maxBackupIndex", "2");
    appender->SetOption("fileName", name);
    for (const char* message : {"a", "b", "c"})
        Log(appender.get(), Info, message);
    EXPECT_EQ(FileBytes(name), "info - c\r\n");
    EXPECT_EQ(FileBytes(name + ".1"), "info - b\r\n");
    EXPECT_EQ(FileBytes(name + ".2"), "info - a\r\n");
}

TEST(RollingFileAppender, WithoutBackupsTheFileKeepsGrowing) {
    TAnsiTempFolder folder;
    const std::string name = folder / "grow.log";
    LogRef<TLogRollingFileAppender> appender = Initialised<TLogRollingFileAppender>();
    appender->SetLayout(TLogSimpleLayout::Create());
    appender->SetOption("maxFileSize", "10");
    appender->SetOption("maxBackupIndex", "0");
    appender->SetOption("fileName", name);
    for (const char* message : {"a", "b", "c"})
        Log(appender.get(), Info, message);
    EXPECT_EQ(FileBytes(name), "info - a\r\ninfo - b\r\ninfo - c\r\n");
    EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"grow.log"});
}

TEST(RollingFileAppender, AppendingToAFileAboveTheMaximumRollsAtTheFirstEvent) {
    TAnsiTempFolder folder;
    const std::string name = folder / "full.log";
    WriteFileBytes(name, std::string(200, 'o'));
    LogRef<TLogRollingFileAppender> appender = Initialised<TLogRollingFileAppender>();
    appender->SetLayout(TLogSimpleLayout::Create());
    appender->SetOption("maxFileSize", "100");
    appender->SetOption("append", "true");
    appender->SetOption("fileName", name);
    Log(appender.get(), Info, "fresh");
    EXPECT_EQ(FileBytes(name), "info - fresh\r\n");
    EXPECT_EQ(FileBytes(name + ".1"), std::string(200, 'o'));
}

TEST(RollingFileAppender, LiveFileThatCannotBeRenamedIsKeptAndAppendedTo) {
    TAnsiTempFolder folder;
    const std::string name = folder / "held.log";
    LogRef<TLogRollingFileAppender> appender = Initialised<TLogRollingFileAppender>();
    appender->SetLayout(new TFramedLayout("H\r\n", ""));
    appender->SetOption("maxFileSize", "20");
    appender->SetOption("fileName", name);
    Log(appender.get(), Info, "first");  // 3 + 13 bytes
    // A reader that does not allow deleting or renaming the file.
    HANDLE reader = CreateFileW(vcl::ToWide(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    TDebugOutputCapture capture;
    Log(appender.get(), Info, "second");
    CloseHandle(reader);
    EXPECT_EQ(FileBytes(name), "H\r\ninfo - first\r\nH\r\ninfo - second\r\n");
    EXPECT_FALSE(FileExists(name + ".1"));
    EXPECT_EQ(capture.Lines(),
              std::vector<std::string>{InternalLine("warn", "Could not rename \"" + name + "\" to \"" + name +
                                                                ".1\" (error 32); appending to it")});
    Log(appender.get(), Info, "third");  // the next roll-over succeeds
    EXPECT_EQ(FileBytes(name), "H\r\ninfo - third\r\n");
    EXPECT_EQ(FileBytes(name + ".1"), "H\r\ninfo - first\r\nH\r\ninfo - second\r\n");
}
