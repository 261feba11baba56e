// The file writer against real files; the replacement question is the real message box,
// watched for while the writer runs and answered from another thread.
#include "FileWriter.h"
#include "MessageBoxAnswerer.h"
#include "TempFiles.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <string>

namespace {
const char* const QuestionCaption = "Файл с таким именем уже существует";

void Put(const std::string& path, const std::string& content) {
    DeleteFileA(path.c_str());
    std::string error;
    ASSERT_EQ(WriteDataToFile(path.c_str(), content.data(), static_cast<DWORD>(content.size()), &error), content.size())
        << error;
}
}  // namespace

TEST(WriteDataToFile, NewFileIsWrittenWithoutQuestion) {
    const std::string path = TempPath("vorsalt_writer_new.bin");
    DeleteFileA(path.c_str());
    const std::string data("signed\0data\r\n", 13);
    std::string error = "untouched";
    TMessageBoxAnswerer answerer(QuestionCaption, IDCANCEL);
    EXPECT_EQ(WriteDataToFile(path.c_str(), data.data(), static_cast<DWORD>(data.size()), &error), data.size());
    answerer.Stop();
    EXPECT_FALSE(answerer.Seen());
    EXPECT_EQ(FileBytes(path), data);
    EXPECT_EQ(error, "untouched");
    DeleteFileA(path.c_str());
}

TEST(WriteDataToFile, ExistingFileIsReplacedOnlyAfterOk) {
    const std::string path = TempPath("vorsalt_writer_existing.bin");
    const struct {
        int answer;
        DWORD result;
        const char* content;
    } cases[] = {
        {IDCANCEL, 0, "old content, longer than the new"},
        {IDOK, 3, "new"},
    };
    for (const auto& c : cases) {
        Put(path, "old content, longer than the new");
        std::string error;
        TMessageBoxAnswerer answerer(QuestionCaption, c.answer);
        EXPECT_EQ(WriteDataToFile(path.c_str(), "new", 3, &error), c.result) << c.answer;
        answerer.Stop();
        EXPECT_TRUE(answerer.Seen()) << c.answer;
        EXPECT_EQ(answerer.Text(), "Переписать файл\n" + path) << c.answer;
        EXPECT_EQ(FileBytes(path), c.content) << c.answer;
        EXPECT_EQ(error.empty(), c.answer == IDOK) << error;
    }
    DeleteFileA(path.c_str());
}

TEST(CreateFileForWrite, DeclinedQuestionGivesTheCancelValue) {
    const std::string path = TempPath("vorsalt_writer_declined.bin");
    Put(path, "keep");
    TMessageBoxAnswerer answerer(QuestionCaption, IDCANCEL);
    EXPECT_EQ(CreateFileForWrite(path.c_str()), INVALID_HANDLE_VALUE);
    answerer.Stop();
    EXPECT_TRUE(answerer.Seen());
    EXPECT_EQ(FileBytes(path), "keep");
    DeleteFileA(path.c_str());
}

TEST(WriteDataToFile, UncreatableFilesAndBadArguments) {
    const std::string missingFolder = TempPath("vorsalt_no_such_folder\\file.bin");
    std::string error;
    EXPECT_EQ(WriteDataToFile(missingFolder.c_str(), "x", 1, &error), 0u);
    EXPECT_EQ(error.rfind("Не удается создать файл. " + missingFolder + "\r\nОшибка LE № 0x3: ", 0), 0u) << error;
    EXPECT_EQ(CreateFileForWrite(missingFolder.c_str()), nullptr);

    const std::string folder = TempPath("vorsalt_writer_folder");
    CreateDirectoryA(folder.c_str(), nullptr);
    TMessageBoxAnswerer answerer(QuestionCaption, IDCANCEL);
    EXPECT_EQ(WriteDataToFile(folder.c_str(), "x", 1, &error), 0u);
    answerer.Stop();
    EXPECT_FALSE(answerer.Seen());
    EXPECT_EQ(error.rfind("Не удается создать файл. " + folder, 0), 0u) << error;
    RemoveDirectoryA(folder.c_str());

    // Null data must not cost an existing file its content.
    const std::string path = TempPath("vorsalt_writer_null.bin");
    Put(path, "keep");
    EXPECT_EQ(WriteDataToFile(path.c_str(), nullptr, 5, &error), 0u);
    EXPECT_EQ(error.rfind("Ошибка записи файла на диск.", 0), 0u) << error;
    EXPECT_EQ(FileBytes(path), "keep");
    DeleteFileA(path.c_str());

    EXPECT_EQ(WriteDataToFile(nullptr, "x", 1, &error), 0u);
    EXPECT_EQ(error.rfind("Не удается создать файл. ", 0), 0u) << error;
    EXPECT_EQ(WriteDataToFile(missingFolder.c_str(), "x", 1, nullptr), 0u);
}
