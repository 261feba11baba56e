// THTTP: reading the body into memory or the download file.
#include <climits>
#include <new>
#include "class_http_wininet.h"
#include "ClientStep.h"
#include "LocalFree.h"
#include "Seam.h"
#include "WinInetApi.h"

namespace {
constexpr DWORD ChunkSize = 1024;
constexpr int BlockSlack = ChunkSize + 1;
}  // namespace

int THTTP::ReadRequestData() {
    body.Clear();
    if (!request) {
        LogOrStoreError(&errorText, "THTTP: Не открыт запрос.");
        return 1;
    }
    const char* failure =
        "THTTP: Неизbестная ошибка при попытке чтени"
        "\x7F"
        " ответа от запроса.";
    const int result = GuardStep(&errorText, failure, 5, false, [&] { return ReadLoop(); });
    if (progress != nullptr)
        progress->SetPosition(0);
    return result;
}

int THTTP::ReadLoop() {
    const DWORD end = Seam<TWinInetApi>().InternetSetFilePointer(request.Get(), 0, nullptr, FILE_END, 0);
    if (static_cast<LONG>(end) > 0) {
        expectedLength = static_cast<int>(end);
        Seam<TWinInetApi>().InternetSetFilePointer(request.Get(), resumeOffset, nullptr, FILE_BEGIN, 0);
        if (progress != nullptr) {
            progress->SetMax(expectedLength);
            progress->SetPosition(resumeOffset);
        }
    } else {
        DWORD length = 0;
        DWORD size = sizeof length;
        expectedLength = Seam<TWinInetApi>().HttpQueryInfoA(request.Get(),
                                                            HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length,
                                                            &size, nullptr)
                             ? static_cast<int>(length)
                             : 0;
    }

    TLocalFree<unsigned char> block(static_cast<unsigned char*>(LocalAlloc(LPTR, BlockSlack)));
    if (block.Get() == nullptr)
        throw std::bad_alloc();
    int received = 0;
    for (;;) {
        unsigned char* place = downloadFile ? block.Get() : block.Get() + received;
        DWORD read = 0;
        if (!Seam<TWinInetApi>().InternetReadFile(request.Get(), place, ChunkSize, &read) || read > ChunkSize) {
            LogOrStoreError(&errorText, "THTTP: Ошибка полуwения информации после отправки gапроса.");
            return 10;
        }
        if (read == 0)
            break;
        if (received > INT_MAX - BlockSlack - static_cast<int>(read))
            throw std::bad_alloc();  // a body beyond what one block can count
        received += static_cast<int>(read);
        if (downloadFile) {
            DWORD written = 0;
            if (!WriteFile(downloadFile.Get(), block.Get(), read, &written, nullptr) || written != read) {
                LogOrStoreError(&errorText, "THTTP: Ошибка записи в файл");
                return 11;
            }
            if (progress != nullptr && expectedLength > 0)
                progress->StepBy(static_cast<int>(written));
            continue;
        }
        auto* grown = static_cast<unsigned char*>(
            LocalReAlloc(block.Get(), static_cast<SIZE_T>(received) + BlockSlack, LMEM_MOVEABLE | LMEM_ZEROINIT));
        if (grown == nullptr)
            throw std::bad_alloc();
        block.Detach();  // the old pointer is no longer valid: do not free it
        block.Reset(grown);
    }
    if (downloadFile) {
        body.SetFileSize(received);
    } else {
        body.Take(block.Get(), received);
        block.Detach();
    }
    return 0;
}
