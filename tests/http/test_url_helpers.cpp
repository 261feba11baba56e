#include <gtest/gtest.h>
#include "UrlHelpers.h"

TEST(GetAspPageName, NamesThePageOfAPath) {
    const struct {
        const char* path;
        const char* page;
    } cases[] = {
        {"/path/page.asp", "page"},
        {"/dir/file.html", "file.html"},
        {"page.asp", ""},
        {"//", ""},
        {"", ""},
        {"/", ""},
        {"/a/b.asp?x=/c", "b"},  // the last "/" before ".asp" counts, not the one in the query
        {"/a.asp/b.asp", "b"},
        {"/dir/", ""},
        {"/Сервис/Проверка.asp", "Проверка"},
        {"/x.aspx", "x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetAspPageName(c.path), c.page) << c.path;
}

TEST(SplitUrl, CutsSchemeHostPortAndPath) {
    const struct {
        const char* url;
        bool ok;
        const char* scheme;
        const char* host;
        const char* port;
        const char* path;
    } cases[] = {
        {"http://H/a/b", true, "http:", "H", "-", "a/b"},
        {"http://H:8080/tsp", true, "http:", "H", "8080", "tsp"},
        {"http://H/", true, "http:", "H", "-", ""},
        {"http://H:/x", true, "http:", "H", "", "x"},
        {"https://H", false, "https:", "-", "-", "-"},
        {"H/x", false, "-", "-", "-", "-"},
        {"//H/x", true, "", "H", "-", "x"},
        {"", false, "-", "-", "-", "-"},
        {"http:///x", true, "http:", "", "-", "x"},
    };
    for (const auto& c : cases) {
        std::string scheme = "-", host = "-", port = "-", path = "-";
        EXPECT_EQ(SplitUrl(c.url, &host, &path, &scheme, &port), c.ok) << c.url;
        EXPECT_EQ(scheme, c.scheme) << c.url;
        EXPECT_EQ(host, c.host) << c.url;
        EXPECT_EQ(port, c.port) << c.url;
        EXPECT_EQ(path, c.path) << c.url;
    }
}

TEST(SplitUrl, WithoutPortOutputThePortStaysInTheHost) {
    std::string host, path;
    EXPECT_TRUE(SplitUrl("http://tsp.host:8777/tsp/tsp.srf", &host, &path, nullptr, nullptr));
    EXPECT_EQ(host, "tsp.host:8777");
    EXPECT_EQ(path, "tsp/tsp.srf");
}

TEST(SplitUrl, NullOutputsAreNotProduced) {
    std::string port = "unchanged";
    EXPECT_TRUE(SplitUrl("http://H:1/p", nullptr, nullptr, nullptr, &port));
    EXPECT_EQ(port, "unchanged");  // the port is cut from a host output only
    EXPECT_TRUE(SplitUrl("http://H/p", nullptr, nullptr, nullptr, nullptr));
}
