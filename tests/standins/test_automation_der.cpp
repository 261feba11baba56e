// The stand-in automation objects' DER against encodings that openssl and the standards give.
#include "Der.h"
#include <gtest/gtest.h>

namespace {

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (unsigned char b : bytes)
        text += std::string{digits[b >> 4], digits[b & 15]};
    return text;
}

TEST(StandinDer, ElementsAndIntegers) {
    const struct {
        std::string encoded, expected;
    } cases[] = {
        {der::Element(der::Null, ""), "0500"},
        {der::Element(der::OctetString, std::string(127, 'a')).substr(0, 3), "047f61"},
        {der::Element(der::OctetString, std::string(128, 'a')).substr(0, 4), "04818061"},
        {der::Element(der::OctetString, std::string(300, 'a')).substr(0, 5), "0482012c61"},
        {der::PositiveInteger(std::string("\x01", 1)), "020101"},
        {der::PositiveInteger(std::string("\x80", 1)), "02020080"},
        {der::PositiveInteger(std::string("\x00\x00\x7f", 3)), "02017f"},
        {der::PositiveInteger(std::string()), "020100"},
        {der::ObjectIdentifier("1.3.14.3.2.26"), "06052b0e03021a"},
        {der::ObjectIdentifier("2.16.840.1.101.3.4.2.1"), "0609608648016503040201"},
        {der::ObjectIdentifier("1.2.840.113549.1.9.16.1.4"), "060b2a864886f70d0109100104"},
        {der::ObjectIdentifier("1.2.643.2.2.9"), "06062a8503020209"},
        {der::ObjectIdentifier("1.40"), ""},
        {der::ObjectIdentifier("1..2"), ""},
        {der::ObjectIdentifier("abc"), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Hex(c.encoded), c.expected);
}

TEST(StandinDer, TheReaderWalksElementsAndStopsAtMalformedOnes) {
    der::TReader reader(der::Element(der::Integer, "\x05") + der::Element(der::Sequence, std::string(200, 'x')));
    unsigned char tag = 0;
    std::string content;
    ASSERT_TRUE(reader.Next(tag, content));
    EXPECT_EQ(tag, der::Integer);
    EXPECT_EQ(content, "\x05");
    ASSERT_TRUE(reader.Expect(der::Sequence, content));
    EXPECT_EQ(content.size(), 200u);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_FALSE(reader.Next(tag, content));

    for (const std::string& bad : {std::string("\x30\x05\x01", 3), std::string("\x30\x85\x01\x01\x01\x01\x01", 7),
                                  std::string("\x30", 1), std::string("\x1f\x01\x00", 3), std::string("\x30\x80", 2)}) {
        der::TReader broken(bad);
        EXPECT_FALSE(broken.Next(tag, content)) << Hex(bad);
        EXPECT_TRUE(broken.AtEnd());
    }
    std::string inner;
    EXPECT_TRUE(der::Whole(der::Element(der::Sequence, "ab"), der::Sequence, inner));
    EXPECT_FALSE(der::Whole(der::Element(der::Sequence, "ab") + "x", der::Sequence, inner));
    EXPECT_FALSE(der::Whole(der::Element(der::Sequence, "ab"), der::Integer, inner));
}

}  // namespace
