// Streams over a file handle. TFileStream opens or creates its file by name and closes it when
// destroyed; a file that cannot be created or opened raises EFCreateError or EFOpenError with
// the file name and the system's reason.
#pragma once
#include "Streams.h"
#include <windows.h>

class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// "Cannot create file "name". " and the system's text of code.
EFCreateError FileCreateError(const std::wstring& fileName, DWORD code);

// File modes: one access mode or fmCreate, combined with one share mode.
enum : unsigned short {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000,  // as exclusive
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFF00,  // create, or empty an existing file; read and write access
};

class THandleStream : public TStream {
public:
    explicit THandleStream(HANDLE handle) : handle(handle) {}
    HANDLE Handle() const { return handle; }

    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t size) override;

protected:
    HANDLE handle;
};

class TFileStream : public THandleStream {
public:
    TFileStream(const std::wstring& fileName, unsigned short mode);
    ~TFileStream() override;
    const std::wstring& FileName() const { return fileName; }

private:
    std::wstring fileName;
};
