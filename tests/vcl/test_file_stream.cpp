// TFileStream over real files in a folder of the test's own: modes, share modes, errors.
#include "FileStream.h"
#include "TempFiles.h"
#include <gtest/gtest.h>
#include <string>

namespace {

class FileStreamTest : public ::testing::Test {
protected:
    std::wstring Path(const std::wstring& name) const { return folder.File(name); }
    void Make(const std::wstring& name, const std::string& content) {
        TFileStream f(Path(name), fmCreate);
        f.WriteBuffer(content.data(), static_cast<int>(content.size()));
    }
    std::string Read(const std::wstring& name) {
        TFileStream f(Path(name), fmOpenRead | fmShareDenyNone);
        std::string content(static_cast<size_t>(f.Size()), '\0');
        f.ReadBuffer(&content[0], static_cast<int>(content.size()));
        return content;
    }

    TTempFolder folder{L"vorsalt-filestream"};
};

TEST_F(FileStreamTest, CreatesWritesAndReadsBack) {
    {
        TFileStream f(Path(L"a.bin"), fmCreate);
        EXPECT_EQ(f.Write("0123456789", 10), 10);
        EXPECT_EQ(f.Position(), 10);
        EXPECT_EQ(f.Seek(-4, soEnd), 6);
        f.WriteBuffer("XY", 2);
        EXPECT_EQ(f.FileName(), Path(L"a.bin"));
    }
    EXPECT_EQ(Read(L"a.bin"), "012345XY89");

    TFileStream f(Path(L"a.bin"), fmOpenRead);
    char buffer[4] = {};
    f.SetPosition(8);
    EXPECT_EQ(f.Read(buffer, 4), 2);
    EXPECT_EQ(f.Read(buffer, 4), 0);
    EXPECT_EQ(f.Write("no", 2), 0);  // opened for reading only
    EXPECT_THROW(f.WriteBuffer("no", 2), EWriteError);
}

TEST_F(FileStreamTest, CreateEmptiesAnExistingFile) {
    Make(L"b.bin", "a long content");
    TFileStream f(Path(L"b.bin"), fmCreate);
    EXPECT_EQ(f.Size(), 0);
}

TEST_F(FileStreamTest, OpenForWritingKeepsTheContent) {
    Make(L"c.bin", "abcdef");
    {
        TFileStream f(Path(L"c.bin"), fmOpenWrite);
        f.WriteBuffer("XY", 2);
    }
    EXPECT_EQ(Read(L"c.bin"), "XYcdef");
    {
        TFileStream f(Path(L"c.bin"), fmOpenReadWrite);
        f.SetSize(3);
        EXPECT_EQ(f.Size(), 3);
        f.Seek(0, soEnd);
        f.WriteBuffer("!", 1);
    }
    EXPECT_EQ(Read(L"c.bin"), "XYc!");
}

TEST_F(FileStreamTest, ShareModesDecideWhetherASecondOpenSucceeds) {
    struct Case {
        const char* name;
        unsigned short first, second;
        bool opens;
    };
    const Case cases[] = {
        {"read, deny none / read-write", fmOpenRead | fmShareDenyNone, fmOpenReadWrite | fmShareDenyNone, true},
        {"read, deny write / read, deny write", fmOpenRead | fmShareDenyWrite, fmOpenRead | fmShareDenyWrite, true},
        {"read, deny write / write", fmOpenRead | fmShareDenyWrite, fmOpenWrite | fmShareDenyNone, false},
        {"read-write, exclusive / read", fmOpenReadWrite | fmShareExclusive, fmOpenRead | fmShareDenyNone, false},
        {"read, deny read / read", fmOpenRead | fmShareDenyRead, fmOpenRead | fmShareDenyNone, false},
        {"write, deny read / write", fmOpenWrite | fmShareDenyRead, fmOpenWrite | fmShareDenyNone, true},
        {"read, compatible / read", fmOpenRead | fmShareCompat, fmOpenRead | fmShareDenyNone, false},
        {"read, deny none / read, deny write", fmOpenRead | fmShareDenyNone, fmOpenRead | fmShareDenyWrite, true},
        {"read-write / read, deny write", fmOpenReadWrite | fmShareDenyNone, fmOpenRead | fmShareDenyWrite, false},
        {"create, deny write / read", fmCreate | fmShareDenyWrite, fmOpenRead | fmShareDenyNone, true},
        {"create / read", fmCreate, fmOpenRead | fmShareDenyNone, false},
    };
    Make(L"shared.bin", "x");
    for (const Case& c : cases) {
        TFileStream first(Path(L"shared.bin"), c.first);
        if (c.opens) {
            EXPECT_NO_THROW(TFileStream(Path(L"shared.bin"), c.second)) << c.name;
        } else {
            EXPECT_THROW(TFileStream(Path(L"shared.bin"), c.second), EFOpenError) << c.name;
        }
    }
}

TEST_F(FileStreamTest, AFileThatCannotBeOpenedOrCreatedRaisesWithItsName) {
    const std::wstring missing = Path(L"missing.bin");
    try {
        TFileStream f(missing, fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        const std::string start = "Cannot open file \"" + std::string(missing.begin(), missing.end()) + "\". ";
        EXPECT_EQ(e.Message.rfind(start, 0), 0u) << e.Message;
        EXPECT_GT(e.Message.size(), start.size());  // the system's reason follows
    }
    try {
        TFileStream f(Path(L"no-such-folder\\x.bin"), fmCreate);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message.rfind("Cannot create file \"", 0), 0u) << e.Message;
    }
    EXPECT_THROW(TFileStream(folder.Path(), fmOpenRead), EFOpenError);  // a folder is not a file
}

TEST_F(FileStreamTest, NonAsciiFileNames) {
    const std::wstring name = L"\x0444\x0430\x0439\x043B.json";  // файл.json
    Make(name, "data");
    EXPECT_NE(GetFileAttributesW(Path(name).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Read(name), "data");
}

TEST_F(FileStreamTest, MemoryStreamSavesAndLoadsFiles) {
    TMemoryStream out;
    out.WriteBuffer("content", 7);
    out.SetPosition(3);  // the whole stream is saved, whatever the position
    out.SaveToFile(Path(L"m.bin"));
    EXPECT_EQ(Read(L"m.bin"), "content");

    TMemoryStream in;
    in.LoadFromFile(Path(L"m.bin"));
    EXPECT_EQ(in.Size(), 7);
    EXPECT_EQ(std::string(static_cast<char*>(in.Memory()), 7), "content");
    EXPECT_THROW(in.LoadFromFile(Path(L"missing.bin")), EFOpenError);
}

}  // namespace
