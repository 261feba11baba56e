// The multipart form upload of both HTTP clients: one part named "file" with the content.
#pragma once
#include <string>
#include "LocalFree.h"

extern const char MultipartBoundary[];  // "---------------------------7d93c227108c8"
// The request headers of an upload; they stay the client's headers afterwards.
std::string MultipartRequestHeaders();

// The body in one zero-filled local-heap block: opening boundary, the two part header lines
// with the file name, an empty line, the content, CR LF and the closing boundary, with no line
// break after it.
class TMultipartBody {
public:
    // False for a negative length, null content with a length, or a body that cannot be made.
    bool Build(const std::string& fileName, const void* content, int length);
    // The whole file as the content. False, with the platform's error as the thread's last
    // error, when the file cannot be opened or read whole or is too large.
    bool BuildFromFile(const std::string& fileName, const char* path);

    const unsigned char* Data() const { return block.Get(); }
    int Length() const { return length; }

private:
    unsigned char* Allocate(const std::string& fileName, int contentLength);
    void Finish(int contentLength);

    TLocalFree<unsigned char> block;
    int length = 0;
    int headLength = 0;
};
