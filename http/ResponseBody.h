// The body of the last response that a client read: one local-heap block with a zero byte
// after the body, and its byte count.
#pragma once
#include <string>
#include "LocalFree.h"

class TResponseBody {
public:
    // Frees the block unless it was handed over; no block, size 0.
    void Clear();
    // Takes a block of at least size + 1 bytes whose byte at size is 0.
    void Take(unsigned char* block, int size);
    // A body that went to a file: only its byte count is kept, no block.
    void SetFileSize(int size);

    // Null when the size is 0; detached, the block becomes the caller's.
    const void* Get(bool detach);
    // Stores the size when the pointer is set; the block, also when the size is 0.
    const void* GetWithSize(int* size) const;
    int Size() const { return size; }
    // Null when no block is held (and after it was handed over).
    const char* Text() const;
    // The body read as a NUL-terminated text; false without a block.
    bool Equals(const std::string& text) const;
    bool StartsWith(const std::string& text, int n) const;

private:
    TLocalFree<unsigned char> block;
    int size = 0;
};

// Whether the texts agree in their first n characters (a shorter text takes part whole); the
// body operations of both clients compare this way. False for a null text.
bool TextStartsWith(const char* text, const std::string& prefix, int n);
