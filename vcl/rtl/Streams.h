// The class library's streams: a byte sequence with a position. Read and Write move the
// position by what they transfer and return that count; ReadBuffer and WriteBuffer transfer all
// or raise. TMemoryStream keeps its bytes in memory; THandleStream and TFileStream are in
// FileStream.h.
#pragma once
#include "Exception.h"
#include <cstdint>
#include <string>
#include <vector>

class EStreamError : public Exception {
public:
    using Exception::Exception;
};
class EReadError : public EStreamError {
public:
    EReadError() : EStreamError("Stream read error") {}
};
class EWriteError : public EStreamError {
public:
    EWriteError() : EStreamError("Stream write error") {}
};

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;
    virtual ~TStream() = default;

    virtual int Read(void* buffer, int count) = 0;
    virtual int Write(const void* buffer, int count) = 0;
    // The new position; a position before the start raises EStreamError.
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
    virtual int64_t Size();
    virtual void SetSize(int64_t size) = 0;

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t position) { Seek(position, soBeginning); }
    void ReadBuffer(void* buffer, int count);
    void WriteBuffer(const void* buffer, int count);
    // Copies count bytes from source's position (all that remains when count is 0).
    int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
public:
    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(size); }
    void SetSize(int64_t size) override;

    void* Memory() { return bytes.data(); }
    void Clear();
    void LoadFromStream(TStream& stream);  // the whole stream, position 0 afterwards
    void SaveToStream(TStream& stream);    // every byte, whatever the position
    void LoadFromFile(const std::wstring& fileName);
    void SaveToFile(const std::wstring& fileName);

private:
    std::vector<char> bytes;  // grows geometrically; its first size bytes are the stream's
    size_t size = 0;
    int64_t position = 0;
};
