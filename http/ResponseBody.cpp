#include "ResponseBody.h"
#include <cstring>

void TResponseBody::Clear() {
    block.Reset();
    size = 0;
}

void TResponseBody::Take(unsigned char* newBlock, int newSize) {
    block.Reset(newBlock);
    size = newBlock != nullptr && newSize > 0 ? newSize : 0;
}

void TResponseBody::SetFileSize(int newSize) {
    block.Reset();
    size = newSize > 0 ? newSize : 0;
}

const void* TResponseBody::Get(bool detach) {
    if (size == 0 || block.IsDetached())
        return nullptr;
    return detach ? block.Detach() : block.Get();
}

const void* TResponseBody::GetWithSize(int* sizeOut) const {
    if (sizeOut != nullptr)
        *sizeOut = size;
    return Text();
}

const char* TResponseBody::Text() const {
    if (block.IsDetached())
        return nullptr;
    return reinterpret_cast<const char*>(block.Get());
}

bool TResponseBody::Equals(const std::string& text) const {
    return Text() != nullptr && std::strcmp(Text(), text.c_str()) == 0;
}

bool TResponseBody::StartsWith(const std::string& text, int n) const {
    return TextStartsWith(Text(), text, n);
}

bool TextStartsWith(const char* text, const std::string& prefix, int n) {
    if (text == nullptr)
        return false;
    return n <= 0 || std::strncmp(text, prefix.c_str(), static_cast<size_t>(n)) == 0;
}
