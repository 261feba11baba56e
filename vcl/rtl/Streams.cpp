#include "Streams.h"
#include "FileStream.h"
#include <cstring>
#include <limits>

int64_t TStream::Size() {
    const int64_t position = Position();
    const int64_t size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, int count) {
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError();
}

void TStream::WriteBuffer(const void* buffer, int count) {
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError();
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<char> chunk(static_cast<size_t>(std::min<int64_t>(count, 1 << 16)));
    for (int64_t left = count; left > 0;) {
        const int n = static_cast<int>(std::min<int64_t>(left, static_cast<int64_t>(chunk.size())));
        source.ReadBuffer(chunk.data(), n);
        WriteBuffer(chunk.data(), n);
        left -= n;
    }
    return count;
}

int TMemoryStream::Read(void* buffer, int count) {
    if (count <= 0 || position >= static_cast<int64_t>(size))
        return 0;
    const int n = static_cast<int>(std::min<int64_t>(count, static_cast<int64_t>(size) - position));
    std::memcpy(buffer, bytes.data() + position, n);
    position += n;
    return n;
}

int TMemoryStream::Write(const void* buffer, int count) {
    if (count <= 0)
        return 0;
    const int64_t end = position + count;
    if (end > static_cast<int64_t>(size))
        SetSize(end);
    std::memcpy(bytes.data() + position, buffer, count);
    position = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    const int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position : static_cast<int64_t>(size);
    if (base + offset < 0)
        throw EStreamError("Stream seek error");
    position = base + offset;  // past the end is allowed: a later write fills the gap with zeros
    return position;
}

void TMemoryStream::SetSize(int64_t newSize) {
    if (newSize < 0 || newSize > std::numeric_limits<int>::max())
        throw EStreamError("Out of memory while expanding memory stream");
    const size_t wanted = static_cast<size_t>(newSize);
    if (wanted > bytes.size())
        bytes.resize(std::max(wanted, bytes.size() * 2));
    if (wanted > size)
        std::memset(bytes.data() + size, 0, wanted - size);
    size = wanted;
    if (position > newSize)
        position = newSize;
}

void TMemoryStream::Clear() {
    bytes.clear();
    bytes.shrink_to_fit();
    size = 0;
    position = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
    stream.SetPosition(0);
    const int64_t count = stream.Size();
    SetSize(count);
    stream.ReadBuffer(bytes.data(), static_cast<int>(count));
    position = 0;
}

void TMemoryStream::SaveToStream(TStream& stream) {
    stream.WriteBuffer(bytes.data(), static_cast<int>(size));
}

void TMemoryStream::LoadFromFile(const std::wstring& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::wstring& fileName) {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}
