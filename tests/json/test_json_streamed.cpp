// Streams and files: the exact bytes, odd lengths, files that cannot be made or opened, and a
// failed save that leaves the existing file as it was.
#include "FileStream.h"
#include "Json.h"
#include "TempFiles.h"
#include "TreeText.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <memory>

namespace {

std::string Bytes(TMemoryStream& stream) {
    return std::string(static_cast<char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

// {"a":[1,"ж"]} as UTF-16, low byte first, no byte-order mark.
const char Fixture[] =
    "{\0\"\0a\0\"\0:\0[\0"
    "1\0,\0\"\0\x36\x04\"\0]\0}\0";
const std::string FixtureBytes(Fixture, sizeof Fixture - 1);

TEST(TJsonStreamed, SavesTheCompactTextAsUtf16AtThePosition) {
    std::unique_ptr<TJsonBase> tree(TJson::ParseText(L"{ \"a\" : [ 1 , \"\x0436\" ] }"));
    TMemoryStream stream;
    stream.WriteBuffer("AB", 2);
    TJsonStreamed::SaveToStream(tree.get(), &stream);
    EXPECT_EQ(Bytes(stream), "AB" + FixtureBytes);
    EXPECT_EQ(stream.Position(), stream.Size());

    TMemoryStream untouched;
    TJsonStreamed::SaveToStream(nullptr, &untouched);
    EXPECT_EQ(untouched.Size(), 0);
    TJsonStreamed::SaveToStream(tree.get(), nullptr);
}

TEST(TJsonStreamed, LoadsFromThePositionToTheEnd) {
    TMemoryStream stream;
    stream.WriteBuffer("XYZ", 3);
    stream.WriteBuffer(FixtureBytes.data(), static_cast<int>(FixtureBytes.size()));
    stream.SetPosition(3);
    std::unique_ptr<TJsonBase> tree(TJsonStreamed::LoadFromStream(&stream));
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(Describe(tree.get()), "{\"a\"=[N1.00000000000000e0 S\"\\x{436}\"]}");
    EXPECT_EQ(stream.Position(), stream.Size());

    EXPECT_EQ(TJsonStreamed::LoadFromStream(nullptr), nullptr);
    TMemoryStream empty;
    EXPECT_EQ(TJsonStreamed::LoadFromStream(&empty), nullptr);
    TMemoryStream garbage;
    garbage.WriteBuffer("{\0", 2);
    EXPECT_EQ(TJsonStreamed::LoadFromStream(&garbage), nullptr);
}

TEST(TJsonStreamed, AnOddLastByteIsIgnored) {
    TMemoryStream stream;
    stream.WriteBuffer(
        "[\0"
        "7\0]\0",
        6);
    stream.WriteBuffer("\x5D", 1);
    stream.SetPosition(0);
    std::unique_ptr<TJsonBase> tree(TJsonStreamed::LoadFromStream(&stream));
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(TJson::GenerateText(tree.get()), L"[7]");
    EXPECT_EQ(stream.Position(), 7);

    TMemoryStream one;
    one.WriteBuffer("[", 1);
    one.SetPosition(0);
    EXPECT_EQ(TJsonStreamed::LoadFromStream(&one), nullptr);
}

// A tree with every kind of value and non-ASCII text.
TJsonBase* EveryKind() {
    auto* root = TJsonObject::Generate();
    root->Add(L"number", 1.25);
    root->Add(L"big", TJsonNumber::Generate(1.5e300L));
    root->Add(L"\x0438\x043C\x044F", L"\x0417\x043D\x0430\x0447\x0435\x043D\x0438\x0435 \x20AC \xD83D\xDE00 \x4E2D");
    root->Add(L"escapes", std::wstring(L"\"\\/\b\f\n\r\t\x0001\x0000", 10));
    root->Add(L"true", true);
    root->Add(L"false", false);
    root->Add(L"null", TJsonNull::Generate());
    auto* list = TJsonList::Generate();
    list->Add(-3);
    list->Add(TJsonObject::Generate());
    list->Add(TJsonList::Generate());
    root->Add(L"list", list);
    root->Add(L"list", 0);  // a repeated name
    return root;
}

class JsonFiles : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(CountFiles(folder.Path()), 0) << "files left in the folder"; }
    static std::string Content(const std::wstring& name) {
        TMemoryStream stream;
        stream.LoadFromFile(name);
        return Bytes(stream);
    }
    std::wstring File(const std::wstring& name) const { return folder.File(name); }

    TTempFolder folder{L"vorsalt-json"};
};

TEST_F(JsonFiles, SaveAndLoadKeepEveryKindAndNonAsciiText) {
    std::unique_ptr<TJsonBase> tree(EveryKind());
    const std::wstring name = File(L"\x0434\x0430\x043D\x043D\x044B\x0435.json");
    TJsonStreamed::SaveToFile(tree.get(), name);
    const std::wstring text = TJson::GenerateText(tree.get());
    EXPECT_EQ(Content(name), std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));
    std::unique_ptr<TJsonBase> back(TJsonStreamed::LoadFromFile(name));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(Describe(back.get()), Describe(tree.get()));
    EXPECT_EQ(TJson::GenerateText(back.get()), text);

    // The indented text reads back to the same tree.
    int level = 0;
    std::unique_ptr<TJsonBase> readable(TJson::ParseText(GenerateReadableText(tree.get(), level)));
    ASSERT_NE(readable, nullptr);
    EXPECT_EQ(Describe(readable.get()), Describe(tree.get()));
    DeleteFileW(name.c_str());
}

TEST_F(JsonFiles, SaveReplacesAnExistingFile) {
    const std::wstring name = File(L"a.json");
    {
        TFileStream old(name, fmCreate);
        old.WriteBuffer("a much longer old content than the new one", 42);
    }
    std::unique_ptr<TJsonBase> tree(TJson::ParseText(L"[1]"));
    TJsonStreamed::SaveToFile(tree.get(), name);
    EXPECT_EQ(Content(name), std::string("[\0"
                                         "1\0]\0",
                                         6));
    DeleteFileW(name.c_str());
}

TEST_F(JsonFiles, NullAndMissing) {
    const std::wstring name = File(L"none.json");
    TJsonStreamed::SaveToFile(nullptr, name);
    EXPECT_EQ(GetFileAttributesW(name.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(TJsonStreamed::LoadFromFile(name), nullptr);
    EXPECT_EQ(TJsonStreamed::LoadFromFile(folder.Path()), nullptr);  // a folder is no file
}

TEST_F(JsonFiles, AFileThatCannotBeMadeOrOpenedRaises) {
    std::unique_ptr<TJsonBase> tree(TJson::ParseText(L"[1]"));
    const std::wstring missing = File(L"no-such-folder\\x.json");
    try {
        TJsonStreamed::SaveToFile(tree.get(), missing);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message.rfind("Cannot create file \"" + std::string(missing.begin(), missing.end()) + "\". ", 0),
                  0u)
            << e.Message;
    }

    const std::wstring locked = File(L"locked.json");
    TJsonStreamed::SaveToFile(tree.get(), locked);
    {
        HANDLE exclusive = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
        EXPECT_THROW(TJsonStreamed::LoadFromFile(locked), EFOpenError);
        std::unique_ptr<TJsonBase> other(TJson::ParseText(L"[2]"));
        EXPECT_THROW(TJsonStreamed::SaveToFile(other.get(), locked), EFCreateError);
        CloseHandle(exclusive);
    }
    EXPECT_EQ(Content(locked), std::string("[\0"
                                           "1\0]\0",
                                           6));  // the old text stays whole
    DeleteFileW(locked.c_str());
}

TEST_F(JsonFiles, AFullDiskLeavesTheExistingFileAsItWas) {
    // The sandbox's small disk (64 KiB) cannot take a text of about 200 KB.
    const char* disk = getenv("VORSALT_SMALL_DISK");
    ASSERT_NE(disk, nullptr);
    std::wstring where = L"Z:" + std::wstring(disk, disk + strlen(disk)) + L"/json";
    for (wchar_t& c : where)
        if (c == L'/')
            c = L'\\';
    CreateDirectoryW(where.c_str(), nullptr);
    const std::wstring name = where + L"\\kept.json";
    std::unique_ptr<TJsonBase> small(TJson::ParseText(L"{\"kept\":true}"));
    TJsonStreamed::SaveToFile(small.get(), name);
    const std::string before = Content(name);

    TJsonList big;
    for (int i = 0; i < 20000; ++i)
        big.Add(123456.5 + i);
    EXPECT_THROW(TJsonStreamed::SaveToFile(&big, name), EStreamError);
    EXPECT_EQ(Content(name), before);
    DeleteFileW(name.c_str());
    EXPECT_EQ(CountFiles(where), 0);  // no half-written text left beside it
    RemoveDirectoryW(where.c_str());
}

}  // namespace
