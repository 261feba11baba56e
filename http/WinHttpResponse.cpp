// TWinHTTP: reading the body into memory or the download file, the body and header queries,
// and the composed error text.
#include <climits>
#include <cstdio>
#include "ClientStep.h"
#include "Conversions.h"
#include "ResponseText.h"
#include <winhttp.h>
#include "class_http_winhttp.h"

namespace {
constexpr DWORD ReadChunk = 10240;
}

bool TWinHTTP::ResponseStartsWith(std::string text, int n) {
    if (body.Text() == nullptr)
        return false;
    std::string contentType;
    GetHeaderByName("Content-Type", &contentType);
    TLocalFree<char> converted(ResponseTextToAnsi(contentType, body.Text(), body.Size()));
    return TextStartsWith(converted.Get(), text, n);
}

int TWinHTTP::ReadRequestData() {
    body.Clear();
    TLocalFree<unsigned char> block;
    const int result =
        GuardStep(&errorText, "TWinHTTP: Неизвестная ошибка при попытке чтения ответа от запроса.", 5, true, [&] {
            if (!handles->Request) {
                LogOrStoreError(&errorText, "TWinHTTP: Не открыт запрос.", 0, false, false);
                return 1;
            }
            block.Reset(static_cast<unsigned char*>(LocalAlloc(LPTR, ReadChunk + 1)));
            if (block.Get() == nullptr) {
                LogOrStoreError(&errorText, "TWinHTTP. ReadRequestData. Error LocalAlloc.", 0, false, true);
                return 3;
            }
            DWORD available = 0;
            if (!WinHttpQueryDataAvailable(handles->Request.Get(), &available)) {
                LogOrStoreError(&errorText, "TWinHTTP. Error WinHttpQueryDataAvailable.", 0, false, true);
                return 3;
            }
            int total = 0;
            for (;;) {
                const DWORD offset = downloadFile ? 0 : static_cast<DWORD>(total);
                DWORD read = 0;
                if (!WinHttpReadData(handles->Request.Get(), block.Get() + offset, ReadChunk, &read)) {
                    LogOrStoreError(&errorText, "TWinHTTP: Ошибка получения информации после отправки запроса.", 0,
                                    false, true);
                    return 10;
                }
                if (read == 0)
                    break;
                if (read > ReadChunk || total > INT_MAX - static_cast<int>(ReadChunk) * 2) {
                    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
                    LogOrStoreError(&errorText, "TWinHTTP. ReadRequestData. Error LocalAlloc.", 0, false, true);
                    return 3;
                }
                total += static_cast<int>(read);
                if (downloadFile) {
                    DWORD written = 0;
                    if (!WriteFile(downloadFile.Get(), block.Get(), read, &written, nullptr) || written != read) {
                        LogOrStoreError(&errorText, "TWinHTTP: Ошибка записи в файл", 0, false, false);
                        return 11;
                    }
                    continue;
                }
                void* larger = LocalReAlloc(block.Get(), static_cast<SIZE_T>(total) + ReadChunk + 1,
                                            LMEM_MOVEABLE | LMEM_ZEROINIT);
                if (larger == nullptr) {
                    LogOrStoreError(&errorText, "TWinHTTP. ReadRequestData. Error LocalAlloc.", 0, false, true);
                    return 3;
                }
                block.Detach();  // LocalReAlloc took the old block over
                block.Reset();
                block.Reset(static_cast<unsigned char*>(larger));
            }
            if (downloadFile)
                body.SetFileSize(total);
            else
                body.Take(block.Detach(), total);
            return 0;
        });
    return result;
}

int TWinHTTP::GetHeaderByName(std::string name, std::string* value) {
    std::string found;
    const std::wstring wideName = StringToWString(name);
    DWORD size = 0;
    int result = 0;
    if (!WinHttpQueryHeaders(handles->Request.Get(), WINHTTP_QUERY_CUSTOM, wideName.c_str(), WINHTTP_NO_OUTPUT_BUFFER,
                             &size, WINHTTP_NO_HEADER_INDEX)) {
        const DWORD error = GetLastError();
        if (error == ERROR_WINHTTP_HEADER_NOT_FOUND) {
            size = 0;
        } else if (error != ERROR_INSUFFICIENT_BUFFER) {
            LogOrStoreError(&errorText, "TWinHTTP: Ошибка запроса размера заголовка HTTP", static_cast<int>(error),
                            false, true);
            result = 1;
            size = 0;
        }
    }
    if (size > 0) {
        TLocalFree<wchar_t> block(static_cast<wchar_t*>(LocalAlloc(LPTR, size + sizeof(wchar_t))));
        if (block.Get() == nullptr) {
            LogOrStoreError(&errorText, "TWinHTTP: GetHeaderByName. LocalAlloc failed", 0, false, true);
            result = 4;
        } else if (!WinHttpQueryHeaders(handles->Request.Get(), WINHTTP_QUERY_CUSTOM, wideName.c_str(), block.Get(),
                                        &size, WINHTTP_NO_HEADER_INDEX)) {
            LogOrStoreError(&errorText, "TWinHTTP: Ошибка запроса заголовка HTTP", 0, false, true);
            result = 4;
        } else {
            found = WStringToString(block.Get());
        }
    }
    if (value != nullptr)
        *value = found;
    return result;
}

int TWinHTTP::QuerySecurityFlags(unsigned long* flags) {
    errorText.clear();
    if (!handles->Request) {
        LogOrStoreError(&errorText, "TWinHTTP: Не открыт запрос.", 0, false, false);
        return 1;
    }
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!WinHttpQueryOption(handles->Request.Get(), WINHTTP_OPTION_SECURITY_FLAGS, &value, &size)) {
        LogOrStoreError(&errorText, "TWinHTTP: WinHttpQueryOption WINHTTP_OPTION_SECURITY_FLAGS error.", 0, false,
                        false);
        return 2;
    }
    if (flags != nullptr)
        *flags = value;
    return 0;
}

std::string TWinHTTP::GetLastErrorText() {
    // The held text stays for the next call: the flag query works on a copy.
    const std::string held = errorText;
    std::string text = held + ErrorTextLocation(WStringToString(server), WStringToString(objectPath)) + " so: ";
    unsigned long flags = 0;
    if (QuerySecurityFlags(&flags) == 0) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%lx", flags);
        text += hex;
    } else {
        text += errorText;
    }
    errorText = held;
    return text;
}
