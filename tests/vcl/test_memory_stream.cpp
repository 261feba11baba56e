// TMemoryStream: positions, sizes, gaps and the buffered transfers of TStream.
#include "Streams.h"
#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace {

std::string Content(TMemoryStream& s) {
    return std::string(static_cast<char*>(s.Memory()), static_cast<size_t>(s.Size()));
}

TEST(TMemoryStream, ReadsAndWritesAtItsPosition) {
    TMemoryStream s;
    EXPECT_EQ(s.Write("hello", 5), 5);
    EXPECT_EQ(s.Position(), 5);
    EXPECT_EQ(s.Size(), 5);
    s.SetPosition(1);
    EXPECT_EQ(s.Write("EL", 2), 2);
    EXPECT_EQ(Content(s), "hELlo");

    char buffer[8] = {};
    s.SetPosition(3);
    EXPECT_EQ(s.Read(buffer, 8), 2);  // only what is left
    EXPECT_STREQ(buffer, "lo");
    EXPECT_EQ(s.Read(buffer, 8), 0);
    EXPECT_EQ(s.Read(buffer, -1), 0);
    EXPECT_EQ(s.Write(buffer, 0), 0);
}

TEST(TMemoryStream, SeeksFromEachOrigin) {
    TMemoryStream s;
    s.WriteBuffer("0123456789", 10);
    struct Case {
        int64_t offset;
        TSeekOrigin origin;
        int64_t position;
    };
    for (const Case& c : {Case{3, soBeginning, 3}, Case{2, soCurrent, 5}, Case{-1, soEnd, 9}, Case{-9, soCurrent, 0},
                          Case{4, soEnd, 14}})
        EXPECT_EQ(s.Seek(c.offset, c.origin), c.position);
    EXPECT_THROW(s.Seek(-1, soBeginning), EStreamError);
    EXPECT_THROW(s.Seek(-11, soEnd), EStreamError);
}

TEST(TMemoryStream, AWritePastTheEndFillsTheGapWithZeros) {
    TMemoryStream s;
    s.WriteBuffer("ab", 2);
    s.SetPosition(5);
    s.WriteBuffer("z", 1);
    EXPECT_EQ(Content(s), std::string("ab\0\0\0z", 6));
}

TEST(TMemoryStream, SetSizeCutsAndExtends) {
    TMemoryStream s;
    s.WriteBuffer("abcdef", 6);
    s.SetSize(3);
    EXPECT_EQ(s.Position(), 3);
    EXPECT_EQ(Content(s), "abc");
    s.SetSize(5);
    EXPECT_EQ(Content(s), std::string("abc\0\0", 5));
    EXPECT_THROW(s.SetSize(-1), EStreamError);
    s.Clear();
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.Position(), 0);
}

TEST(TMemoryStream, BufferedTransfersRaiseWhenShort) {
    TMemoryStream s;
    s.WriteBuffer("abc", 3);
    s.SetPosition(1);
    char buffer[4] = {};
    EXPECT_THROW(s.ReadBuffer(buffer, 4), EReadError);
    s.SetPosition(0);
    EXPECT_NO_THROW(s.ReadBuffer(buffer, 3));
    EXPECT_STREQ(buffer, "abc");
}

TEST(TMemoryStream, CopiesFromAnotherStream) {
    TMemoryStream source, target;
    source.WriteBuffer("0123456789", 10);
    source.SetPosition(2);
    EXPECT_EQ(target.CopyFrom(source, 3), 3);
    EXPECT_EQ(Content(target), "234");
    EXPECT_EQ(target.CopyFrom(source, 0), 10);  // 0: the whole source from its start
    EXPECT_EQ(Content(target), "2340123456789");
    EXPECT_THROW(target.CopyFrom(source, 1), EReadError);  // the source is at its end

    TMemoryStream loaded;
    loaded.WriteBuffer("old", 3);
    loaded.LoadFromStream(target);
    EXPECT_EQ(Content(loaded), "2340123456789");
    EXPECT_EQ(loaded.Position(), 0);
}

TEST(TMemoryStream, GrowsToLargeSizesInFewSteps) {
    TMemoryStream s;
    const std::string chunk(1000, 'x');
    for (int i = 0; i < 10000; ++i)
        s.WriteBuffer(chunk.data(), 1000);
    EXPECT_EQ(s.Size(), 10000000);
    EXPECT_EQ(static_cast<char*>(s.Memory())[9999999], 'x');
}

}  // namespace
