// The little DER (X.690) that the stand-in objects need: writing the requests they send and
// reading the fields they answer from the replies. Single-byte tags only, definite lengths.
#pragma once
#include <cstddef>
#include <string>

namespace der {

// Tags used here.
enum : unsigned char {
    Boolean = 0x01,
    Integer = 0x02,
    BitString = 0x03,
    OctetString = 0x04,
    Null = 0x05,
    ObjectId = 0x06,
    Enumerated = 0x0A,
    GeneralizedTime = 0x18,
    Sequence = 0x30,
    ContextZero = 0xA0,  // [0], constructed
};

// One element: its tag, its content and the whole encoding.
std::string Element(unsigned char tag, const std::string& content);
// A positive INTEGER of big-endian bytes (a 0 byte is put before a high first bit; leading
// zeros beyond one are dropped).
std::string PositiveInteger(std::string bigEndian);

// An OBJECT IDENTIFIER of dotted text ("1.3.14.3.2.26"); "" when the text is no identifier.
std::string ObjectIdentifier(const std::string& dotted);

// Reads the elements of a content one after the other.
class TReader {
public:
    explicit TReader(const std::string& content) : data(content) {}
    // False at the end or when the element there is malformed (then the reader stays at the end).
    bool Next(unsigned char& tag, std::string& content);
    // Next, which must have the tag.
    bool Expect(unsigned char tag, std::string& content);
    bool AtEnd() const { return position >= data.size(); }

private:
    std::string data;
    size_t position = 0;
};

// The one element that makes up the whole text, with the tag; false otherwise.
bool Whole(const std::string& encoding, unsigned char tag, std::string& content);

}  // namespace der
