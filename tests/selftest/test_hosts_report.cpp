// The hosts-file report over real files written to the Wine prefix's hosts file.
#include "Func_hosts.h"
#include "Endpoints.h"
#include "Exception.h"
#include "HostsFile.h"
#include "TempFiles.h"
#include "TextFileLines.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <sstream>

namespace {

const std::string caHost = "www." VORSALT_CA_DOMAIN;
const std::string caCrlHost = "crl." VORSALT_ALT_CA_DOMAIN;

class HostsFile : public ::testing::Test {
protected:
    void Write(const std::string& bytes) const { hosts.Write(bytes); }

    THostsFile hosts;
    const std::string& path = hosts.Path();
};

TEST_F(HostsFile, ReportLines) {
    struct Case {
        const char* what;
        std::string file;
        std::string report;
    } const cases[] = {
        {"comments, blanks, single tokens", "# comment\r\n\r\n   \t \r\n127.0.0.1\r\n  # 127.1.2.3 x\r\n", ""},
        {"empty file", "", ""},
        {"localhost with a comment", "127.0.0.1 localhost # loopback\r\n", "127.0.0.1\tlocalhost\r\n"},
        {"several names", "127.10.0.1 first second third\r\n", "127.10.0.1\tfirst\r\n"},
        {"tabs", "\t127.10.0.2\t\t" + caHost + "\t\r\n", "* 127.10.0.2\t" + caHost + "\r\n"},
        {"other letter case", "127.10.0.3 WWW." VORSALT_CA_DOMAIN "\n", "127.10.0.3\tWWW." VORSALT_CA_DOMAIN "\r\n"},
        {"any address marked", "0.0.0.0 " + caCrlHost, "* 0.0.0.0\t" + caCrlHost + "\r\n"},
        {"comment glued to a name", "127.10.0.4 name#x\n", "127.10.0.4\tname\r\n"},
        {"LF only", "127.1.1.1 a\n127.2.2.2 b\n\n127.3.3.3 c", "127.1.1.1\ta\r\n127.2.2.2\tb\r\n127.3.3.3\tc\r\n"},
        {"CR LF and CR", "127.1.1.1 a\r\n127.2.2.2 b\r127.3.3.3 c\r\n",
         "127.1.1.1\ta\r\n127.2.2.2\tb\r\n127.3.3.3\tc\r\n"},
        {"non-ASCII bytes separate", "127.1.2.3\xA0host\xFFnext\n\xC0\xC1 x\n", "127.1.2.3\thost\r\n"},
        {"UTF-8 with mark", "\xEF\xBB\xBF# Комментарий\n127.10.1.1 " + caHost + " # Хост\n",
         "* 127.10.1.1\t" + caHost + "\r\n"},
        {"UTF-16 with mark",
         std::string("\xFF\xFE"
                     "1\0"
                     "2\0"
                     "7\0"
                     ".\0"
                     "1\0"
                     ".\0"
                     "2\0"
                     ".\0"
                     "3\0"
                     " \0h\0\r\0\n\0",
                     28),
         "127.1.2.3\th\r\n"},
    };
    for (const Case& c : cases) {
        Write(c.file);
        EXPECT_EQ(GetHostsReport(), c.report) << c.what;
    }
}

TEST_F(HostsFile, BinaryFileGivesNoEntryAndNoFault) {
    std::string bytes;
    for (int round = 0; round < 64; ++round)
        for (int b = 0; b < 256; ++b)
            bytes += static_cast<char>((b * 7 + round) & 0xFF);
    Write(bytes);
    const std::string report = GetHostsReport();
    // Whatever pairs the noise holds, every line is address, tab, name, CR LF.
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);) {
        ASSERT_GE(line.size(), 4u) << line;
        EXPECT_EQ(line.back(), '\r');
        EXPECT_NE(line.find('\t'), std::string::npos) << line;
    }
}

TEST_F(HostsFile, LargeFileIsReadWhole) {
    std::string bytes;
    for (int i = 0; i < 20000; ++i)
        bytes += "127.0." + std::to_string(i / 256) + "." + std::to_string(i % 256) + " host" + std::to_string(i) +
                 "\n";
    Write(bytes);
    const std::string report = GetHostsReport();
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 20000);
    const std::string last = "\n127.0.78.31\thost19999\r\n";
    ASSERT_GT(report.size(), last.size());
    EXPECT_EQ(report.substr(report.size() - last.size()), last);
}

TEST_F(HostsFile, HugeFileIsRefused) {
    {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        LARGE_INTEGER size;
        size.QuadPart = 64ll * 1024 * 1024 + 1;
        EXPECT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN));
        EXPECT_TRUE(SetEndOfFile(file));
        CloseHandle(file);
    }
    try {
        GetHostsReport();
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Cannot read file \"" + path + "\". File too large.");
    }
}

TEST_F(HostsFile, MissingFileRaisesTheFileException) {
    ASSERT_TRUE(hosts.Remove());
    try {
        GetHostsReport();
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message.rfind("Cannot open file \"" + path + "\". ", 0), 0u) << e.Message;
    }
}

// What the hosts report reads from its file: the lines that LoadTextLines gives for each kind of
// text (the mark picks the encoding, every line end ends a line, marked texts come out in the ANSI
// code page, 1251 here).
TEST(LoadTextLines, GivesTheLinesOfEachKindOfText) {
    using Lines = std::vector<std::string>;
    struct Case {
        const char* kind;
        std::string bytes;
        Lines lines;
    } const cases[] = {
        {"empty", "", {}},
        {"ANSI, every line end", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"ANSI, a line end at the end", "a\r\n", {"a"}},
        {"ANSI, LF CR", "a\n\rb\r", {"a", "", "b"}},
        {"ANSI, empty lines", "\r\n\n\r", {"", "", ""}},
        {"ANSI bytes as they are", "\xCE\xF8\xE8\xE1\xEA\xE0\n\xEF\xBB", {"\xCE\xF8\xE8\xE1\xEA\xE0", "\xEF\xBB"}},
        {"ANSI with a NUL", std::string("a\0b\nc", 5), {std::string("a\0b", 3), "c"}},
        {"UTF-8", "\xEF\xBB\xBF\xD0\x9E\xD1\x88\r\n\xE4\xB8\xAD\n", {"\xCE\xF8", "?"}},
        {"UTF-8, the mark alone", "\xEF\xBB\xBF", {}},
        {"UTF-8, a broken sequence",
         "\xEF\xBB\xBF"
         "a\xFF"
         "b",
         {"a?b"}},
        {"UTF-16LE",
         std::string("\xFF\xFE\x1E\x04"
                     "a\0\r\0\n\0b\0\r\0",
                     14),
         {"\xCE"
          "a",
          "b"}},
        {"UTF-16LE with a NUL",
         std::string("\xFF\xFE"
                     "a\0\0\0b\0\n\0",
                     10),
         {std::string("a\0b", 3)}},
        {"UTF-16LE, the mark alone", "\xFF\xFE", {}},
        {"UTF-16BE, an odd last byte", std::string("\xFE\xFF\x04\x1E\0\n\0a\x04", 9), {"\xCE", "a"}},
        {"UTF-16LE, one byte after the mark",
         "\xFF\xFE"
         "a",
         {}},
        {"a mark of UTF-16 cut short", "\xFF", {"\xFF"}},
    };
    const TTempFile file(TempPath("vorsalt-text-lines.txt"), "");
    for (const Case& c : cases) {
        WriteFileBytes(file.Path(), c.bytes);
        EXPECT_EQ(LoadTextLines(file.Path(), 1024), c.lines) << c.kind;
    }
}

TEST(ParseHostsFile, EntriesKeepTheirLineNumbers) {
    std::vector<_HOSTS_INFO> entries = {{"stale", "0.0.0.0", 9}};
    EXPECT_TRUE(ParseHostsFile({"# c", "", "127.1.1.1 a b", "x", "127.2.2.2\tb#c"}, entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].address, "127.1.1.1");
    EXPECT_EQ(entries[0].host, "a");
    EXPECT_EQ(entries[0].line, 2);
    EXPECT_EQ(entries[1].host, "b");
    EXPECT_EQ(entries[1].line, 4);
    EXPECT_FALSE(ParseHostsFile({"#", " "}, entries));
    EXPECT_TRUE(entries.empty());
}

TEST(NextHostsToken, PositionsAreOneBased) {
    struct Case {
        const char* line;
        int from;
        const char* token;
        int after;
    } const cases[] = {
        {"ab cd", 1, "ab", 3}, {"ab cd", 3, "cd", 6}, {"ab cd", 6, "", 6},
        {"  \t", 1, "", 4},    {"", 1, "", 1},        {"\x01x\x7F", 1, "x", 3},
    };
    for (const Case& c : cases) {
        int position = c.from;
        EXPECT_EQ(NextHostsToken(c.line, position), c.token) << c.line << " from " << c.from;
        EXPECT_EQ(position, c.after) << c.line << " from " << c.from;
    }
}

}  // namespace
