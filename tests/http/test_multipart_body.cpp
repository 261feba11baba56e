#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "MultipartBody.h"
#include "TempFiles.h"
#include "WireHeads.h"

namespace {
std::string BodyOf(const TMultipartBody& body) {
    return std::string(reinterpret_cast<const char*>(body.Data()), static_cast<size_t>(body.Length()));
}
}  // namespace

TEST(MultipartBody, HeadersNameTheBoundary) {
    EXPECT_EQ(MultipartRequestHeaders(), WireMultipartHeader);
}

TEST(MultipartBody, DataIsFramedByteForByte) {
    const struct {
        const char* name;
        std::string content;
    } cases[] = {
        {"bin", "abc"},
        {"bin", ""},
        {"data.p7s", std::string("\0\r\n--\xFF", 6)},
        {"", "x"},
        {"файл.txt", "содержимое"},
    };
    for (const auto& c : cases) {
        TMultipartBody body;
        ASSERT_TRUE(body.Build(c.name, c.content.data(), static_cast<int>(c.content.size())));
        EXPECT_EQ(BodyOf(body), WireMultipartBody(c.name, c.content)) << c.name;
        EXPECT_EQ(body.Data()[body.Length()], 0);  // zero-filled block, no line break at the end
    }
}

TEST(MultipartBody, ALongFileNameDoesNotOverrunTheBlock) {
    const std::string name(5000, 'n');
    TMultipartBody body;
    ASSERT_TRUE(body.Build(name, "abc", 3));
    EXPECT_EQ(BodyOf(body), WireMultipartBody(name, "abc"));
}

TEST(MultipartBody, BadContentIsRefused) {
    TMultipartBody body;
    EXPECT_FALSE(body.Build("bin", "abc", -1));
    EXPECT_FALSE(body.Build("bin", nullptr, 5));
    EXPECT_EQ(body.Length(), 0);
    EXPECT_TRUE(body.Build("bin", nullptr, 0));
    EXPECT_EQ(BodyOf(body), WireMultipartBody("bin", ""));
}

TEST(MultipartBody, FileContentIsFramedWhole) {
    std::string content(3000, '\0');
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(i * 7);
    TTempFile file("multipart-upload.bin", content);
    TTempFile empty("multipart-empty.bin", "");
    TMultipartBody body;
    ASSERT_TRUE(body.BuildFromFile("data.p7s", file.Path().c_str()));
    EXPECT_EQ(BodyOf(body), WireMultipartBody("data.p7s", content));
    ASSERT_TRUE(body.BuildFromFile("e", empty.Path().c_str()));
    EXPECT_EQ(BodyOf(body), WireMultipartBody("e", ""));
}

TEST(MultipartBody, AFileThatCannotBeReadGivesNoBody) {
    TMultipartBody body;
    ASSERT_TRUE(body.Build("bin", "old", 3));
    EXPECT_FALSE(body.BuildFromFile("x", "no-such-folder\\no-such-file.bin"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(body.Length(), 0);
    EXPECT_EQ(body.Data(), nullptr);
    EXPECT_FALSE(body.BuildFromFile("x", nullptr));
    // Opened by someone without sharing: CreateFile fails with a sharing violation.
    TTempFile locked("multipart-locked.bin", "abc");
    HANDLE holder = CreateFileA(locked.Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(body.BuildFromFile("x", locked.Path().c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(holder);
}
