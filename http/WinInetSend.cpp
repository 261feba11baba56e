// THTTP: sending a request with its recoveries, and the status as the result.
#include "class_http_wininet.h"
#include "ClientStep.h"
#include "CaWebSite.h"
#include "ErrorText.h"
#include "LocalFree.h"
#include "RequestParts.h"
#include "ResponseText.h"
#include "StringHelpers.h"
#include "VyrnLog.h"
#include "Seam.h"
#include "WinInetApi.h"

namespace {
constexpr DWORD DialogFlags = FLAGS_ERROR_UI_FILTER_FOR_ERRORS | FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS |
                              FLAGS_ERROR_UI_FLAGS_GENERATE_DATA;
constexpr int ConnectRetries = 2;
}  // namespace

// 0 once an attempt went through, else the send's result. The certificate recovery is used once
// per send, across start-overs; the connect retries count from each start.
int THTTP::SendAttempts(const std::string& headerText, const void* data, int length, bool& certTried) {
    int connectRetries = 0;
    for (;;) {
        if (Seam<TWinInetApi>().HttpSendRequestA(request.Get(), headerText.c_str(),
                                                 static_cast<DWORD>(headerText.size()), const_cast<void*>(data),
                                                 static_cast<DWORD>(length)))
            return 0;
        const DWORD error = GetLastError();
        VYRNLog("THTTP: HttpSendRequest error: " + std::to_string(error));
        if (error == ERROR_INTERNET_CLIENT_AUTH_CERT_NEEDED) {
            if (!certTried && clientCert && secure) {
                VYRNLog("THTTP: Try to Set INTERNET_OPTION_CLIENT_CERT_CONTEXT");
                Seam<TWinInetApi>().InternetSetOptionA(request.Get(), INTERNET_OPTION_CLIENT_CERT_CONTEXT,
                                                       const_cast<CERT_CONTEXT*>(clientCert.Get()),
                                                       sizeof(CERT_CONTEXT));
                certTried = true;
            } else if (showDialogs && !certTried) {
                VYRNLog("THTTP: OutPut InternetErrorDlg");
                certTried = true;
                if (Seam<TWinInetApi>().InternetErrorDlg(GetDesktopWindow(), request.Get(),
                                                         ERROR_INTERNET_CLIENT_AUTH_CERT_NEEDED, DialogFlags,
                                                         nullptr) != ERROR_SUCCESS) {
                    LogOrStoreError(&errorText, "THTTP: Не установлен сертификат для сессии.");
                    return 2;
                }
            } else if (certTried) {
                LogOrStoreError(&errorText, "THTTP: Требуется клиентская ауrентификация.");
                return 2;
            } else {
                certTried = true;
            }
            continue;
        }
        if (error == ERROR_INTERNET_INVALID_CA) {
            SetLastError(error);
            LogOrStoreError(&errorText,
                            ("THTTP: Ошибка при отправке запроса. Возможно не установлена цепочка сертификатов "
                             "Удостоверяющего Центра.\r\nДля установки цепоwки зайдите по адресу\r\n" +
                             CaCertificatesPageUrl())
                                .c_str(),
                            static_cast<int>(error));
            return 3;
        }
        if (error == ERROR_INTERNET_CANNOT_CONNECT && connectRetries < ConnectRetries) {
            ++connectRetries;
            VYRNLog("THTTP: ERROR_INTERNET_CANNOT_CONNECT - trying again #" + std::to_string(connectRetries) +
                    " from " + std::to_string(ConnectRetries));
            continue;
        }
        SetLastError(error);
        if (error == ERROR_INTERNET_CANNOT_CONNECT) {
            LogOrStoreError(
                &errorText,
                "THTTP: Ошибка при отправке запроса. Возможно имеются проблемы с установкой SSL-соединения.",
                static_cast<int>(error));
            return 12175;
        }
        LogOrStoreError(&errorText, "THTTP: Ошибка при отправке запрnса.", static_cast<int>(error));
        return 3;
    }
}

int THTTP::SendRequest(const void* data, int length) {
    errorText.clear();
    StatusCode = 0;
    if (!request) {
        LogOrStoreError(&errorText, "THTTP: Не открыт запрос.");
        return 1;
    }
    const std::string failure = std::string("THTTP: Неизвестна") + "\x7F" + " ошибка при попытке отсылки запpоса (" +
                                std::to_string(length) + "байт):\r\n";
    const int result = GuardStep(&errorText, failure.c_str(), 5, false, [&] {
        const std::string headerText = RequestHeadersOrDefault(headers);
        bool certTried = false;
        for (;;) {
            VYRNLog(objectPath);
            VYRNLog("THTTP: Try to SendRequest");
            const int sent = SendAttempts(headerText, data, length, certTried);
            if (sent != 0)
                return sent;
            ReadServerCertInfo();
            VYRNLog("THTTP: Try to HttpQueryInfo");
            DWORD status = 0;
            DWORD size = sizeof status;
            const bool read = Seam<TWinInetApi>().HttpQueryInfoA(request.Get(),
                                                                 HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER,
                                                                 &status, &size, nullptr);
            if (!read || !IsReadableStatus(static_cast<long>(status))) {
                if (read)
                    SetLastError(ERROR_HTTP_INVALID_SERVER_RESPONSE);  // a status line WinINet let through unread
                LogOrStoreError(&errorText, "THTTP: Ошибка HttpQueryInfo.");
                return 4;
            }
            StatusCode = static_cast<int>(status);
            bool startOver = false;
            const int mapped = MapStatus(length, startOver);
            if (!startOver)
                return mapped;
        }
    });
    if (result == 5)
        VYRNLog(errorText);
    quiet = false;
    return result;
}

int THTTP::MapStatus(int length, bool& startOver) {
    const int status = StatusCode;
    switch (status) {
    case HTTP_STATUS_OK:
    case HTTP_STATUS_CREATED:
        VYRNLog("THTTP: Successfull");
        CaptureHeaders();
        return 0;
    case HTTP_STATUS_DENIED:
    case HTTP_STATUS_PROXY_AUTH_REQ:
        if (!quiet &&
            Seam<TWinInetApi>().InternetErrorDlg(GetDesktopWindow(), request.Get(), ERROR_INTERNET_INCORRECT_PASSWORD,
                                                 DialogFlags, nullptr) == ERROR_INTERNET_FORCE_RETRY) {
            quiet = true;
            startOver = true;
            return 0;
        }
        VYRNLog("THTTP: InternetErrorDlg ERROR_INTERNET_INCORRECT_PASSWORD");
        if (quiet)
            VYRNLog("THTTP: quiet");
        LogOrStoreError(&errorText, "THTTP: Не установлены имя пользователя и пароль для сессиh.");
        return 2;
    case HTTP_STATUS_NOT_FOUND:
        errorText = "THTTP: Не найден путь на сервеpе " + server + "\r\nОxибка: " + errorText;
        return status;
    case HTTP_STATUS_REQUEST_TOO_LARGE:
        LogOrStoreError(&errorText, ("THTTP: Размер данных переданный серверs слишком велик: " +
                                     std::to_string(length) + "\r\nКод возврата HTTP: " + std::to_string(status))
                                        .c_str());
        return status;
    case HTTP_STATUS_SERVER_ERROR: {
        VYRNLog("THTTP: Try to ReadRequestData");
        ReadRequestData();
        std::string contentType;
        GetHeaderByName("Content-Type", &contentType);
        std::string text;
        if (body.Text() != nullptr) {
            TLocalFree<char> ansi(ResponseTextToAnsi(contentType, body.Text(), body.Size()));
            text = DecodeNumericCharRefs(ansi.Get() != nullptr ? ansi.Get() : body.Text());
        }
        errorText = "THTTP: Nшибка Возвращен неверный код воgврата HTTP: " + std::to_string(status) + ": " + text;
        return status;
    }
    default:
        LogOrStoreError(&errorText,
                        ("THTTP: Ошибка Возвpащен неверный код возврата HTTP: " + std::to_string(status)).c_str());
        return status;
    }
}

void THTTP::ReadServerCertInfo() {
    serverCert.Forget();
    if (!secure)
        return;
    INTERNET_CERTIFICATE_INFO info{};
    DWORD size = sizeof info;
    const bool read = Seam<TWinInetApi>().InternetQueryOptionA(request.Get(),
                                                               INTERNET_OPTION_SECURITY_CERTIFICATE_STRUCT, &info,
                                                               &size) != FALSE;
    serverCert.Keep(info);  // what the query left in the record, read or not
    if (!read)
        LogOrStoreError(nullptr, "THTTP: InternetQueryOption INTERNET_OPTION_SECURITY_CERTIFICATE failed", 0, false,
                        false);
}
