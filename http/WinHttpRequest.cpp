// TWinHTTP: opening a request with its security options and proxy credentials, the download
// file, the send with its one retry for a client certificate, and the status mapping.
#include <exception>
#include "CaWebSite.h"
#include "ClientStep.h"
#include "Conversions.h"
#include "MultipartBody.h"
#include "RequestParts.h"
#include "ResponseText.h"
#include "StringHelpers.h"
#include "VyrnLog.h"
#include "Seam.h"
#include "WinHttpApi.h"
#include "class_http_winhttp.h"

namespace {
// Unknown CA, wrong usage, name mismatch, invalid date.
constexpr DWORD RelaxedSecurityFlags = SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_WRONG_USAGE |
                                       SECURITY_FLAG_IGNORE_CERT_CN_INVALID | SECURITY_FLAG_IGNORE_CERT_DATE_INVALID;
const wchar_t* AcceptTypes[] = {L"*/*", nullptr};

std::string AttemptText(bool sent, bool received) {
    return std::string("sent=") + (sent ? "1" : "0") + "recived=" + (received ? "1" : "0");
}

std::string SendFailureMessage(DWORD error) {
    if (error == ERROR_WINHTTP_SECURE_INVALID_CA)
        return "TWinHTTP: Ошибка при отправке запроса. Возможно не установлена цепочка сертификатов УЦ.\r\n"
               "Для установки цепочки зайдите по адресу\r\n" +
               CaCertificatesPageUrl() + "\r\n";
    if (error == ERROR_WINHTTP_SECURE_FAILURE)
        return "TWinHTTP: Ошибка при отправке запроса (SECURE_FAILURE).\r\nПопробуйте заново повторить операцию.\r\n";
    return "TWinHTTP: Ошибка при отправке запроса.\r\n";
}

int SendFailureResult(DWORD error) {
    if (error == ERROR_WINHTTP_SECURE_INVALID_CA)
        return 5;
    if (error == ERROR_WINHTTP_SECURE_FAILURE)
        return 12175;
    return 7;
}
}  // namespace

void TWinHTTP::SetHeaders(std::string headers) {
    requestHeaders = StringToWString(headers);
}

int TWinHTTP::SendForm(std::string object, std::map<std::string, std::string>* fields, int verb) {
    const std::string form = BuildFormBody(fields);
    return Request(object, FormVerb(verb), form.data(), static_cast<int>(form.size()));
}

int TWinHTTP::UploadData(std::string object, const void* data, int length) {
    SetHeaders(MultipartRequestHeaders());
    TMultipartBody upload;
    if (!upload.Build("bin", data, length)) {
        LogOrStoreError(&errorText, "TWinHTTP: Не удается подготовить данные для отправки.");
        return 1;
    }
    return Request(object, VerbPost, upload.Data(), upload.Length());
}

int TWinHTTP::UploadFile(std::string object, const char* path) {
    SetHeaders(MultipartRequestHeaders());
    const std::string fullPath = path != nullptr ? path : "";
    // A path without a backslash is sent as the file name whole (FileNameFromPath gives "" there).
    const std::string fileName = fullPath.find('\\') == std::string::npos ? fullPath : FileNameFromPath(fullPath);
    TMultipartBody upload;
    if (!upload.BuildFromFile(fileName, path)) {
        LogOrStoreError(&errorText, "TWinHTTP: Не удается прочитать файл " + fullPath);
        return 1;
    }
    return Request(object, VerbPost, upload.Data(), upload.Length());
}

int TWinHTTP::OpenRequest(const std::string& objectText, int verb) {
    return GuardStep(&errorText, "TWinHTTP: Неизвестная ошибка при попытке создания запроса.", 3, true, [&] {
        const std::wstring object = StringToWString(objectText);
        clientCertApplied = false;
        CloseRequest();
        if (!handles->Connection) {
            LogOrStoreError(&errorText, "TWinHTTP: Не открыто соединение с сервером.", 0, false, false);
            return 1;
        }
        const char* method = HttpMethodName(verb);
        if (method == nullptr) {
            LogOrStoreError(&errorText, "TWinHTTP: Не задан метод отправки запроса.", 0, false, false);
            return 1;
        }
        const std::wstring methodName = StringToWString(method);
        handles->Request.Reset(WinHttpOpenRequest(handles->Connection.Get(), methodName.c_str(), object.c_str(),
                                                  nullptr, WINHTTP_NO_REFERER, AcceptTypes, requestFlags));
        if (!handles->Request) {
            LogOrStoreError(&errorText, "TWinHTTP: HttpOpenRequest failed.", 0, false, true);
            return 2;
        }
        objectPath = object;
        if (!strictServerCert && SetSecurityFlags(RelaxedSecurityFlags) != 0) {
            LogOrStoreError(&errorText, "TWinHTTP: SetSecurityFlags failed.", 0, false, true);
            return 2;
        }
        if (!useSystemProxy) {
            const struct {
                const std::string& text;
                DWORD option;
                const char* failure;
            } credentials[] = {
                {proxyPassword, WINHTTP_OPTION_PROXY_PASSWORD, "TWinHTTP: WINHTTP_OPTION_PROXY_PASSWORD failed."},
                {proxyUser, WINHTTP_OPTION_PROXY_USERNAME, "TWinHTTP: WINHTTP_OPTION_PROXY_USERNAME failed."},
            };
            for (const auto& credential : credentials) {
                if (credential.text.empty())
                    continue;
                std::wstring wide = StringToWString(credential.text);
                if (!Seam<TWinHttpApi>().WinHttpSetOption(handles->Request.Get(), credential.option, &wide[0],
                                                          static_cast<DWORD>(wide.size()))) {
                    LogOrStoreError(&errorText, credential.failure, 0, false, true);
                    return 2;
                }
            }
        }
        return 0;
    });
}

int TWinHTTP::SetSecurityFlags(unsigned long flags) {
    if (!handles->Request) {
        LogOrStoreError(&errorText, "TWinHTTP: SetSecurityFlags. Соединение с сервером не открыто.", 0, false, false);
        return 1;
    }
    DWORD value = flags;
    if (!Seam<TWinHttpApi>().WinHttpSetOption(handles->Request.Get(), WINHTTP_OPTION_SECURITY_FLAGS, &value,
                                              sizeof value)) {
        LogOrStoreError(&errorText, "TWinHTTP: WINHTTP_OPTION_SECURITY_FLAGS failed.", 0, false, true);
        return 2;
    }
    return 0;
}

int TWinHTTP::OpenDownloadFile() {
    return GuardStep(&errorText, "TWinHTTP: Неизвестная ошибка при скачке файлов (создание).", 3, false, [&] {
        CloseDownloadFile();
        if (!handles->Request) {
            LogOrStoreError(&errorText, "TWinHTTP: Не открыт запрос.", 0, false, false);
            return 1;
        }
        if (downloadPath.empty())
            return 0;
        downloadFile.Reset(CreateFileA(downloadPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!downloadFile) {
            LogOrStoreError(&errorText, "TWinHTTP: CreateFile failed.", 0, false, false);
            return 2;
        }
        return 0;
    });
}

int TWinHTTP::SendRequest(const void* data, int length) {
    try {
        StatusCode = 0;
        clientCertApplied = false;
        const std::wstring headers = StringToWString(RequestHeadersOrDefault(WStringToString(requestHeaders)));
        if (!handles->Request) {
            LogOrStoreError(&errorText, "TWinHTTP: Не открыт запрос.", 0, false, false);
            return 1;
        }
        bool retryFree = true;
        if (sendClientCert) {
            if (ApplyClientCert() != 0)
                return 2;
            clientCertApplied = true;
            retryFree = false;
        }
        for (;;) {
            bool sent = false;
            bool received = false;
            DWORD error = ERROR_INVALID_PARAMETER;
            if (length >= 0 && (data != nullptr || length == 0)) {
                const DWORD size = static_cast<DWORD>(length);
                sent = Seam<TWinHttpApi>().WinHttpSendRequest(handles->Request.Get(), headers.c_str(),
                                                              static_cast<DWORD>(headers.size()),
                                                              length == 0 ? nullptr : const_cast<void*>(data), size,
                                                              size, 0) != FALSE;
                received = sent && WinHttpReceiveResponse(handles->Request.Get(), nullptr) != FALSE;
                error = GetLastError();
            }
            if (received)
                break;
            if (error == ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED) {
                if (!retryFree)
                    break;
                retryFree = false;
                if (ApplyClientCert() != 0)
                    return 4;
                clientCertApplied = true;
                continue;
            }
            LogOrStoreError(&errorText, SendFailureMessage(error) + AttemptText(sent, received),
                            static_cast<int>(error), false, true);
            return SendFailureResult(error);
        }
        ReadServerCertInfo();
        return MapStatus(length);
    } catch (const std::exception& failure) {
        LogOrStoreError(&errorText,
                        "TWinHTTP: Неизвестная ошибка при попытке отсылки запроса (" + std::to_string(length) +
                            "байт): " + failure.what(),
                        0, false, false);
    } catch (...) {
        LogOrStoreError(
            &errorText,
            "TWinHTTP: Неизвестная ошибка при попытке отсылки запроса (" + std::to_string(length) + "байт): ", 0, false,
            false);
    }
    VYRNLog(errorText);
    return 10;
}

void TWinHTTP::ReadServerCertInfo() {
    serverCert.Forget();
    if (!secure)
        return;
    WINHTTP_CERTIFICATE_INFO info{};
    DWORD size = sizeof info;
    if (!WinHttpQueryOption(handles->Request.Get(), WINHTTP_OPTION_SECURITY_CERTIFICATE_STRUCT, &info, &size)) {
        info = WINHTTP_CERTIFICATE_INFO{};
        LogOrStoreError(nullptr, "TWinHTTP: WINHTTP_OPTION_SECURITY_CERTIFICATE_STRUCT failed.", 0, false, true);
    }
    serverCert.Keep(info);
}

int TWinHTTP::MapStatus(int length) {
    wchar_t statusText[64] = {};
    DWORD size = sizeof statusText;
    if (!WinHttpQueryHeaders(handles->Request.Get(), WINHTTP_QUERY_STATUS_CODE, WINHTTP_HEADER_NAME_BY_INDEX,
                             statusText, &size, WINHTTP_NO_HEADER_INDEX)) {
        LogOrStoreError(&errorText, "TWinHTTP: Ошибка WINHTTP_QUERY_STATUS_CODE.", 0, false, true);
        return 8;
    }
    statusText[63] = L'\0';
    const long number = atol(WStringToString(statusText).c_str());
    if (!IsReadableStatus(number)) {
        SetLastError(ERROR_WINHTTP_INVALID_SERVER_RESPONSE);  // a status line WinHTTP let through unread
        LogOrStoreError(&errorText, "TWinHTTP: Ошибка WINHTTP_QUERY_STATUS_CODE.", 0, false, true);
        return 8;
    }
    const int status = static_cast<int>(number);
    StatusCode = status;
    const std::string statusNumber = std::to_string(status);
    if (status == 200 || status == 201) {
        VYRNLog("TWinHTTP: Successfull");
        CaptureHeaders();
        return 0;
    }
    if (status == 404) {
        errorText = "TWinHTTP: Не найден путь на сервере " + WStringToString(server) + "\r\nОшибка: " + errorText;
    } else if (status == 413) {
        LogOrStoreError(&errorText,
                        "TWinHTTP: Размер данных переданный серверу слишком велик: " + std::to_string(length) +
                            "\r\nКод возврата HTTP: " + statusNumber,
                        0, false, false);
    } else if (status == 403 || status == 500) {
        VYRNLog("TWinHTTP: Try to ReadRequestData");
        ReadRequestData();
        std::string contentType;
        GetHeaderByName("Content-Type", &contentType);
        TLocalFree<char> converted(ResponseTextToAnsi(contentType, body.Text(), body.Size()));
        const std::string lead = "TWinHTTP: Ошибка Возвращен неверный код возврата HTTP: " + statusNumber + ": ";
        if (converted.Get() != nullptr)
            errorText = lead + "resp: " + DecodeNumericCharRefs(converted.Get());
        else
            errorText = lead + "raw resp: " + DecodeNumericCharRefs(body.Text() != nullptr ? body.Text() : "");
    } else {
        LogOrStoreError(&errorText, "TWinHTTP: Ошибка Возвращен неверный код возврата HTTP: " + statusNumber, 0, false,
                        false);
    }
    return status;
}
