#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <new>
#include "CapturedHeaders.h"
#include "ClientStep.h"
#include "Exception.h"
#include "ResponseBody.h"

namespace {
// A local-heap block holding the text with the zero byte after it, as the clients read bodies.
unsigned char* Block(const std::string& text) {
    auto* block = static_cast<unsigned char*>(LocalAlloc(LPTR, text.size() + 1));
    std::memcpy(block, text.data(), text.size());
    return block;
}
}  // namespace

TEST(ResponseBody, EmptyBodyHasABlockButNoPointer) {
    TResponseBody body;
    EXPECT_EQ(body.GetWithSize(nullptr), nullptr);
    EXPECT_FALSE(body.Equals(""));
    body.Take(Block(""), 0);
    int size = -1;
    EXPECT_NE(body.GetWithSize(&size), nullptr);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(body.Get(false), nullptr);
    EXPECT_TRUE(body.Equals(""));
}

TEST(ResponseBody, ComparesAsNulTerminatedText) {
    TResponseBody body;
    EXPECT_FALSE(body.StartsWith("OK", 2));
    body.Take(Block("OK\r\nrest"), 8);
    const struct {
        const char* text;
        int n;
        bool starts;
    } cases[] = {
        {"OK", 2, true},  {"OK", 3, false}, {"OK\r\nrest", 100, true}, {"OKAY", 2, true},
        {"NO", 2, false}, {"", 0, true},    {"X", -5, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(body.StartsWith(c.text, c.n), c.starts) << c.text << " " << c.n;
    EXPECT_TRUE(body.Equals("OK\r\nrest"));
    EXPECT_FALSE(body.Equals("OK"));
    body.Take(Block("OK"), 2);
    EXPECT_FALSE(body.StartsWith("OK\r\n", 4));  // a short body matches only a text as short
}

TEST(ResponseBody, DetachedBlockIsTheCallersAndNoLongerRead) {
    TResponseBody body;
    body.Take(Block("abc"), 3);
    auto* handed = static_cast<const char*>(body.Get(true));
    ASSERT_NE(handed, nullptr);
    EXPECT_EQ(body.Size(), 3);
    EXPECT_EQ(body.Get(false), nullptr);
    EXPECT_FALSE(body.Equals("abc"));
    body.Take(Block("next"), 4);  // the handed-over block is not freed here
    EXPECT_STREQ(handed, "abc");
    EXPECT_EQ(LocalFree(const_cast<char*>(handed)), nullptr);
}

TEST(ResponseBody, FileDownloadKeepsOnlyTheCount) {
    TResponseBody body;
    body.Take(Block("old"), 3);
    body.SetFileSize(5000);
    EXPECT_EQ(body.Size(), 5000);
    EXPECT_EQ(body.Get(false), nullptr);
    EXPECT_FALSE(body.StartsWith("", 0));
    body.Clear();
    EXPECT_EQ(body.Size(), 0);
}

TEST(TextStartsWith, NullTextNeverMatches) {
    EXPECT_FALSE(TextStartsWith(nullptr, "", 0));
    EXPECT_TRUE(TextStartsWith("abc", "abd", 2));
}

TEST(CapturedHeaders, NamesRegisterAndRefreshInOrder) {
    TCapturedHeaders headers;
    EXPECT_EQ(headers.Get("X"), "");
    EXPECT_EQ(headers.Get("A"), "");
    std::string asked;
    headers.Refresh([&](const std::string& name) {
        asked += name;
        return name == "X" ? std::string("5") : std::string();
    });
    EXPECT_EQ(asked, "AX");
    EXPECT_EQ(headers.Get("X"), "5");
    EXPECT_EQ(headers.Get(""), "");
    asked.clear();
    headers.Refresh([&](const std::string& name) {
        asked += name;
        return std::string("v");
    });
    EXPECT_EQ(asked, "");
    EXPECT_EQ(headers.Get("X"), "");
}

TEST(GuardStep, NoExceptionLeavesAStep) {
    std::string errorText = "before";
    EXPECT_EQ(GuardStep(&errorText, "TTest: failed.", 3, false, [] { return 7; }), 7);
    EXPECT_EQ(errorText, "before");

    const auto throwers = {
        +[]() -> int { throw Exception("library"); },
        +[]() -> int { throw std::bad_alloc(); },
        +[]() -> int { throw 42; },
    };
    for (auto thrower : throwers) {
        errorText.clear();
        SetLastError(0);
        EXPECT_EQ(GuardStep(&errorText, "TTest: Неизвестная ошибка.", 5, true, thrower), 5);
        EXPECT_EQ(errorText, "TTest: Неизвестная ошибка.");
    }
}

TEST(ErrorTextLocation, NamesServerAndPage) {
    EXPECT_EQ(ErrorTextLocation("host", "/dir/page.asp"), " (host:page)");
    EXPECT_EQ(ErrorTextLocation("", ""), " (:)");
}
