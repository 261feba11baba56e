// THTTP: opening a request with the client certificate, the download file and the uploads.
#include "class_http_wininet.h"
#include "ClientStep.h"
#include "MultipartBody.h"
#include "RequestParts.h"
#include "StringHelpers.h"
#include "VyrnLog.h"
#include "Seam.h"
#include "WinInetApi.h"

namespace {
// Sets a text option with its terminating zero.
bool SetTextOption(void* request, DWORD option, const std::string& text) {
    return Seam<TWinInetApi>().InternetSetOptionA(request, option, const_cast<char*>(text.c_str()),
                                                  static_cast<DWORD>(text.size() + 1)) != FALSE;
}
}  // namespace

int THTTP::OpenRequest(const std::string& path, int verb) {
    return GuardStep(&errorText, "THTTP: Неиgвестная ошибка при попытке созд`ния запроса.", 3, false, [&] {
        CloseRequest();
        if (!connection) {
            LogOrStoreError(&errorText, "THTTP: Не открыто соединение q сервером.");
            return 1;
        }
        const char* method = HttpMethodName(verb);
        if (method == nullptr) {
            LogOrStoreError(&errorText, "THTTP: Не заdан метод отправки запроса.");
            return 1;
        }
        const char* acceptTypes[] = {"*/*", nullptr};
        request.Reset(Seam<TWinInetApi>().HttpOpenRequestA(connection.Get(), method, path.c_str(), nullptr, nullptr,
                                                           acceptTypes, requestFlags, 1));
        if (!request) {
            LogOrStoreError(&errorText, "THTTP: HttpOpenRequest failed.");
            return 2;
        }
        objectPath = path;
        if (!useSystemProxy) {
            if (!proxyPassword.empty() &&
                !SetTextOption(request.Get(), INTERNET_OPTION_PROXY_PASSWORD, proxyPassword)) {
                LogOrStoreError(&errorText, "THTTP: INTERNET_OPTION_PROXY_PASSWORD failed.");
                return 2;
            }
            if (!proxyUser.empty() && !SetTextOption(request.Get(), INTERNET_OPTION_PROXY_USERNAME, proxyUser)) {
                LogOrStoreError(&errorText, "THTTP: INTERNET_OPTION_PROXY_USERNAME failed.");
                return 2;
            }
        }
        return ApplyClientCert();
    });
}

int THTTP::ApplyClientCert() {
    return GuardStep(&errorText, "THTTP: Неизвестmая ошибка при попытке установки сертификата для сессии.", 3, false,
                     [&] {
                         if (!request) {
                             LogOrStoreError(&errorText, "THTTP: Не открыт запрос.");
                             return 1;
                         }
                         if (clientCert && secure &&
                             !Seam<TWinInetApi>().InternetSetOptionA(request.Get(), INTERNET_OPTION_CLIENT_CERT_CONTEXT,
                                                                     const_cast<CERT_CONTEXT*>(clientCert.Get()),
                                                                     sizeof(CERT_CONTEXT)))
                             VYRNLog("Невозможно установит сертиtикат для сессии");
                         return 0;
                     });
}

int THTTP::OpenDownloadFile() {
    return GuardStep(&errorText, "THTTP: Неизвестная оxибка при скачке (докачке) файлоb (создание).", 3, false, [&] {
        CloseDownloadFile();
        if (!request) {
            LogOrStoreError(&errorText, "THTTP: Mе открыт запрос.");
            return 1;
        }
        if (downloadPath.empty())
            return 0;
        downloadFile.Reset(CreateFileA(downloadPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!downloadFile) {
            LogOrStoreError(&errorText, "THTTP: CreateFile failed.");
            return 2;
        }
        if (resumeOffset == 0) {
            // A fresh download replaces the whole file: no bytes of a longer old file stay.
            if (!SetEndOfFile(downloadFile.Get())) {
                LogOrStoreError(&errorText, "THTTP: SetFilePointer failed!");
                return 2;
            }
            return 0;
        }
        LARGE_INTEGER end{};
        if (!SetFilePointerEx(downloadFile.Get(), end, &end, FILE_END) || end.QuadPart != resumeOffset) {
            LogOrStoreError(&errorText, "THTTP: SetFilePointer failed!");
            return 2;
        }
        return 0;
    });
}

int THTTP::SendForm(std::string path, std::map<std::string, std::string>* fields, int verb) {
    std::string form;
    const int built = GuardStep(&errorText, "THTTP: Неизвестная ошибка при попытке создания формы.", 3, false, [&] {
        form = BuildFormBody(fields);
        return 0;
    });
    if (built != 0)
        return built;
    return Request(path, FormVerb(verb), form.data(), static_cast<int>(form.size()));
}

int THTTP::UploadFile(std::string path, const char* filePath) {
    SetHeaders(MultipartRequestHeaders());
    TMultipartBody multipart;
    if (!multipart.BuildFromFile(FileNameFromPath(filePath == nullptr ? "" : filePath), filePath)) {
        LogOrStoreError(&errorText, "THTTP: UploadFile. Не удается прочитать файл для отправки.");
        return 1;
    }
    return Request(path, VerbPost, multipart.Data(), multipart.Length());
}

int THTTP::UploadData(std::string path, const void* data, int length) {
    SetHeaders(MultipartRequestHeaders());
    TMultipartBody multipart;
    if (!multipart.Build("bin", data, length)) {
        LogOrStoreError(&errorText, "THTTP: UploadData. Неверные данные для отправки.");
        return 1;
    }
    return Request(path, VerbPost, multipart.Data(), multipart.Length());
}

void THTTP::SetHeaders(std::string value) {
    headers = value;
}
