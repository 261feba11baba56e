// THTTP reading bodies: into memory, into a file with resume and progress, and bad replies.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <fstream>
#include <vector>
#include "TestFiles.h"
#include "WinInetFixture.h"
#include "Wait.h"
#include "TempFiles.h"
#include "WinePaths.h"

namespace {
std::vector<DWORD> ChunksRead;
std::vector<int> PositionsSeen;
int MaxSeen = 0;

BOOL WINAPI RecordingRead(HINTERNET request, LPVOID buffer, DWORD size, LPDWORD read) {
    const BOOL done = RealCalls<TWinInetApi>().InternetReadFile(request, buffer, size, read);
    ChunksRead.push_back(*read);
    return done;
}

BOOL WINAPI FailingRead(HINTERNET, LPVOID, DWORD, LPDWORD read) {
    *read = 0;
    SetLastError(ERROR_INTERNET_CONNECTION_RESET);
    return FALSE;
}

// A file pointer that works, as on Windows: the body's end is 3000, a move lands where asked.
DWORD WINAPI FilePointer(HINTERNET, LONG distance, PVOID, DWORD method, DWORD_PTR) {
    return method == FILE_END ? 3000 : static_cast<DWORD>(distance);
}

void Changed(TProgressRange* progress) {
    PositionsSeen.push_back(progress->Position);
    MaxSeen = progress->Max;
}

std::string Body3000() {
    std::string body;
    for (int i = 0; i < 3000; ++i)
        body += static_cast<char>('a' + i % 26);
    return body;
}

std::string Script() {
    return "{\"/file.bin\": {\"status\": 200, \"body\": \"" + Body3000() + "\"}," +
           R"("/empty.asp": {"status": 200, "body": ""},
              "/short.asp": {"status": 200, "body": "abcdef", "content_length": 3, "close": true},
              "/cut.asp": {"status": 200, "body": "0123456789", "content_length": 100, "truncate": 4},
              "/nolength.asp": {"status": 200, "body": "until close", "content_length": null},
              "/huge.asp": {"status": 200, "body_hex": ")" +
           std::string(2 * 3 * 1024 * 1024, 'f') + "\"}}";
}

class THttpDownload : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(peer.Started());
        ChunksRead.clear();
        PositionsSeen.clear();
        MaxSeen = 0;
    }
    TTestPeer peer{PeerWith("download", Script())};
    TSeamOverride<TWinInetApi> seam;
};
}  // namespace

TEST_F(THttpDownload, BodyIntoMemoryChunkByChunk) {
    auto client = ConnectedClient(peer);
    ASSERT_NE(client, nullptr);
    seam->InternetReadFile = RecordingRead;
    ASSERT_EQ(client->Request("/file.bin", VerbGet, nullptr, 0), 0);
    const std::vector<DWORD> chunks = {1024, 1024, 952, 0};
    EXPECT_EQ(ChunksRead, chunks);
    EXPECT_EQ(client->GetResponseSize(), 3000);
    EXPECT_TRUE(client->ResponseEquals(Body3000()));
    int size = 0;
    EXPECT_EQ(std::string(static_cast<const char*>(client->GetResponseWithSize(&size))), Body3000());
    EXPECT_EQ(size, 3000);

    ASSERT_EQ(client->Request("/empty.asp", VerbGet, nullptr, 0), 0);
    EXPECT_EQ(client->GetResponse(false), nullptr);
    EXPECT_EQ(client->GetResponseSize(), 0);
    EXPECT_TRUE(client->ResponseEquals(""));
}

TEST_F(THttpDownload, DetachedBodyBelongsToTheCaller) {
    auto client = ConnectedClient(peer);
    ASSERT_NE(client, nullptr);
    ASSERT_EQ(client->Request("/file.bin", VerbGet, nullptr, 0), 0);
    void* body = const_cast<void*>(client->GetResponse(true));
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(client->GetResponse(false), nullptr);
    client.reset();  // must not free the caller's block
    EXPECT_EQ(std::string(static_cast<char*>(body)), Body3000());
    EXPECT_EQ(LocalFree(body), nullptr);
}

TEST_F(THttpDownload, FailedReadLeavesNoBody) {
    auto client = ConnectedClient(peer);
    ASSERT_NE(client, nullptr);
    ASSERT_EQ(client->Request("/file.bin", VerbGet, nullptr, 0), 0);
    seam->InternetReadFile = FailingRead;
    EXPECT_EQ(client->Request("/file.bin", VerbGet, nullptr, 0), 10);
    EXPECT_EQ(client->GetLastErrorText().rfind("THTTP: Ошибка полуwения информации после отправки gапроса.", 0), 0u);
    EXPECT_EQ(client->GetResponse(false), nullptr);
    EXPECT_EQ(client->GetResponseWithSize(nullptr), nullptr);
    EXPECT_EQ(client->GetResponseSize(), 0);
}

TEST_F(THttpDownload, FileReplacesAnOlderLongerFile) {
    const std::string path = TempPath("download-fresh.bin");
    WriteFileBytes(path, std::string(5000, 'Z'));
    auto client = ConnectedClient(peer);
    ASSERT_NE(client, nullptr);
    client->SetDownloadFile(path);
    ASSERT_EQ(client->Request("/file.bin", VerbGet, nullptr, 0), 0);
    EXPECT_EQ(client->GetResponseSize(), 3000);
    EXPECT_EQ(client->GetResponse(false), nullptr);  // the body went to the file
    client->SetDownloadFile("");
    EXPECT_EQ(FileBytes(path), Body3000());  // no stale bytes after the body
    ASSERT_EQ(client->Request("/empty.asp", VerbGet, nullptr, 0), 0);
    EXPECT_TRUE(client->ResponseEquals(""));
    EXPECT_EQ(FileBytes(path), Body3000());
    DeleteFileA(path.c_str());
}

TEST_F(THttpDownload, ResumeAppendsOnlyToAFileOfTheOffsetsLength) {
    const std::string path = TempPath("download-resume.bin");
    seam->InternetSetFilePointer = FilePointer;
    TProgressRange progress{0, 0, 1, Changed};
    {
        WriteFileBytes(path, std::string(100, 'H'));
        auto client = ConnectedClient(peer, false, 100);
        ASSERT_NE(client, nullptr);
        client->SetDownloadFile(path);
        client->SetProgress(&progress);
        ASSERT_EQ(client->Request("/file.bin", VerbGet, nullptr, 0), 0);
        client->SetDownloadFile("");
        // The peer sends the whole body (it ignores the offset): it lands after the 100 bytes.
        EXPECT_EQ(FileBytes(path), std::string(100, 'H') + Body3000());
        EXPECT_EQ(MaxSeen, 3000);
        ASSERT_GE(PositionsSeen.size(), 3u);
        EXPECT_NE(std::find(PositionsSeen.begin(), PositionsSeen.end(), 100), PositionsSeen.end());
        EXPECT_EQ(PositionsSeen[PositionsSeen.size() - 2], 3000);  // stepped by the bytes written, clamped
        EXPECT_EQ(PositionsSeen.back(), 0);
    }
    {
        WriteFileBytes(path, std::string(50, 'H'));
        auto client = ConnectedClient(peer, false, 100);
        ASSERT_NE(client, nullptr);
        client->SetDownloadFile(path);
        EXPECT_EQ(client->Request("/file.bin", VerbGet, nullptr, 0), 2);
        EXPECT_EQ(client->GetLastErrorText().rfind("THTTP: SetFilePointer failed!", 0), 0u);
    }
    EXPECT_EQ(FileBytes(path), std::string(50, 'H'));
    DeleteFileA(path.c_str());
}

TEST_F(THttpDownload, FullDiskGivesElevenAndNoBody) {
    // The sandbox's small disk (64 KiB) cannot take the 3 MB body.
    const char* disk = getenv("VORSALT_SMALL_DISK");
    ASSERT_NE(disk, nullptr);
    const std::string path = WindowsPathOf(std::string(disk) + "/huge.bin");
    TProgressRange progress{0, 0, 1, Changed};
    auto client = ConnectedClient(peer);
    ASSERT_NE(client, nullptr);
    client->SetProgress(&progress);
    client->SetDownloadFile(path);
    EXPECT_EQ(client->Request("/huge.asp", VerbGet, nullptr, 0), 11);
    EXPECT_EQ(client->GetLastErrorText().rfind("THTTP: Ошибка записи в файл", 0), 0u) << client->GetLastErrorText();
    EXPECT_EQ(client->GetResponseSize(), 0);
    EXPECT_EQ(client->GetResponseWithSize(nullptr), nullptr);
    EXPECT_EQ(progress.Position, 0);
    client.reset();
    EXPECT_TRUE(DeleteFileA(path.c_str()));  // the client let go of the file
}

TEST_F(THttpDownload, UncreatableFileFailsBeforeSending) {
    auto client = ConnectedClient(peer);
    ASSERT_NE(client, nullptr);
    client->SetDownloadFile(TempPath("no-such-folder\\x.bin"));
    EXPECT_EQ(client->Request("/file.bin", VerbGet, nullptr, 0), 2);
    EXPECT_EQ(client->GetLastErrorText().rfind("THTTP: CreateFile failed.", 0), 0u);
    EXPECT_TRUE(peer.Requests().empty());
}

TEST_F(THttpDownload, BadRepliesEndInAResult) {
    auto client = ConnectedClient(peer);
    ASSERT_NE(client, nullptr);
    ASSERT_TRUE(client->SetTimeouts(1000));
    // A wrong length, none, or a body cut short: a result, and never more than was sent.
    const DWORD start = GetTickCount();
    for (const char* path : {"/short.asp", "/nolength.asp", "/cut.asp"}) {
        const int result = client->Request(path, VerbGet, nullptr, 0);
        EXPECT_TRUE(result == 0 || result == 10) << path << " " << result;
        EXPECT_LE(client->GetResponseSize(), 11) << path;
    }
    EXPECT_EQ(client->Request("/huge.asp", VerbGet, nullptr, 0), 0);
    EXPECT_EQ(client->GetResponseSize(), 3 * 1024 * 1024);
    EXPECT_LT(GetTickCount() - start, Scaled(30000));
}
