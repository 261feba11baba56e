#include <gtest/gtest.h>
#include <map>
#include "RequestParts.h"

TEST(BuildFormBody, JoinsFieldsInKeyOrderUnescaped) {
    using Fields = std::map<std::string, std::string>;
    const struct {
        Fields fields;
        const char* body;
    } cases[] = {
        {{{"a", "1"}, {"b", "x y"}}, "a=1&b=x y"}, {{{"b", "2"}, {"a", "1"}}, "a=1&b=2"}, {{{"k", ""}}, "k="},
        {{{"", "v"}, {"z", "&=%"}}, "=v&z=&=%"},   {{{"имя", "Иван"}}, "имя=Иван"},       {{}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildFormBody(&c.fields), c.body);
    EXPECT_EQ(BuildFormBody(nullptr), "");
}

TEST(FormVerb, ZeroMeansPost) {
    EXPECT_EQ(FormVerb(0), 3);
    EXPECT_EQ(FormVerb(2), 2);
    EXPECT_EQ(FormVerb(3), 3);
}

TEST(HttpMethodName, OnlyTheThreeSendableVerbsHaveAMethod) {
    const struct {
        int verb;
        const char* method;
    } cases[] = {
        {0, nullptr}, {1, "PUT"}, {2, "GET"}, {3, "POST"}, {4, nullptr}, {-1, nullptr}, {1 << 30, nullptr},
    };
    for (const auto& c : cases) {
        if (c.method == nullptr)
            EXPECT_EQ(HttpMethodName(c.verb), nullptr) << c.verb;
        else
            EXPECT_STREQ(HttpMethodName(c.verb), c.method) << c.verb;
    }
}

TEST(RequestHeadersOrDefault, TheFormContentTypeUnlessHeadersAreSet) {
    EXPECT_EQ(RequestHeadersOrDefault(""), "Content-Type: application/x-www-form-urlencoded");
    EXPECT_EQ(RequestHeadersOrDefault("X-A: 1\r\nX-B: 2"), "X-A: 1\r\nX-B: 2");
}
