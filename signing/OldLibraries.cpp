#include "OldLibraries.h"
#include <vector>
#include "CertChain.h"
#include "Conversions.h"
#include "ErrorText.h"
#include "CryptOwned.h"
#include "LocalFree.h"
#include "OsVersion.h"
#include "SystemFolders.h"
#include "VyrnLog.h"

namespace {
// A block that the time-stamp library hands out from the global heap.
struct TGlobalBlockTraits : TOwnedTraits<HGLOBAL, HGLOBAL, nullptr> {
    static HGLOBAL Close(Handle handle) { return GlobalFree(handle); }
};
using TGlobalBlock = TOwned<TGlobalBlockTraits>;

template <typename T>
bool Entry(HMODULE module, const char* name, T& entry) {
    entry = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return entry != nullptr;
}

// An entry point that must be there although the program never calls it.
bool Present(HMODULE module, const char* name) {
    return GetProcAddress(module, name) != nullptr;
}
}  // namespace

bool TTspLibrary::Load(int* versionCode, std::string* errorText) {
    *versionCode = 0;
    if (!GetOSVersionCode(versionCode, nullptr)) {
        LogOrStoreError(errorText, "MyLoadLibraryTSP. Не удалось получить информацию о версии ОС.");
        return false;
    }
    if (*versionCode >= 500)
        return false;
    module.Reset(LoadLibraryA("TimeStamp.dll"));
    if (!module) {
        LogOrStoreError(errorText,
                        "MyLoadLibraryTSP. Не найден файл TimeStamp.dll или ошибки в TSP клиенте. LoadLibrary failed.");
        return false;
    }
    const HMODULE m = module.Get();
    if (!Entry(m, "MakeTimeStamp", MakeTimeStamp) || !Present(m, "formatTSPerror") ||
        !Entry(m, "GetTimeStamp", GetTimeStamp) || !Entry(m, "ImportTimeStamp", ImportTimeStamp) ||
        !Entry(m, "TSACertTimeStamp", TSACertTimeStamp) || !Entry(m, "GetTimeTimeStamp", GetTimeTimeStamp) ||
        !Entry(m, "VerifyTS", VerifyTS) || !Present(m, "VerifyCertificateTS") ||
        !Entry(m, "GetHashTimeStamp", GetHashTimeStamp) || !Entry(m, "GetTypeHashTS", GetTypeHashTS)) {
        LogOrStoreError(errorText,
                        "MyLoadLibraryTSP. Не найдена точка входа в процедуру создания штампа времени. "
                        "GetProcAddress failed.");
        *this = TTspLibrary();
        return false;
    }
    return true;
}

bool TOcspLibrary::Load(int* versionCode, std::string* errorText) {
    static int processVersionCode = 0;  // learnt by the first load that needs it
    VYRNLog("MyLoadLibraryOCSP");
    if (processVersionCode == 0 && !GetOSVersionCode(&processVersionCode, nullptr)) {
        processVersionCode = 0;
        LogOrStoreError(errorText, "MyLoadLibraryOCSP.Не удалось получить информацию о версии ОС.");
        return false;
    }
    *versionCode = processVersionCode;
    if (processVersionCode >= 500)
        return false;
    const char* name = GetOCSPDllName(processVersionCode);
    module.Reset(LoadLibraryA(name));
    const DWORD loadError = GetLastError();
    if (!module) {
        const std::string message = std::string("Не найден файл ") + name +
                                    " или ошибки в OCSP клиенте. LoadLibrary failed." + GetOcspViewVersion();
        SetLastError(loadError);  // the load's reason, not what the version lookup left
        LogOrStoreError(errorText, message, static_cast<int>(loadError));
        return false;
    }
    const HMODULE m = module.Get();
    if (!Present(m, "GetOCSPCert") || !Present(m, "StatusCertFromOCSP") || !Present(m, "VerifyOCSP") ||
        !Present(m, "VerifyOCSPCertificate") || !Present(m, "DisplayResponse") || !Present(m, "GetProducedAt") ||
        !Present(m, "ImportOCSPResponse") || !Present(m, "GetOCSPResponse") || !Present(m, "FormatCertStatusString") ||
        !Entry(m, "MakeOCSP", MakeOCSP) || !Present(m, "formatOCSPerror")) {
        LogOrStoreError(errorText,
                        "MyLoadLibraryOCSP. Не найдена точка входа в процедуру создания OCSP - запроса. "
                        "GetProcAddress failed.");
        *this = TOcspLibrary();
        return false;
    }
    VYRNLog("MyLoadLibraryOCSP use new handle: ok");
    return true;
}

const char* GetOCSPDllName(int) {
    return "ocsp_w98.dll";
}

std::string GetOcspViewVersion() {
    int code = 0;
    if (!GetOSVersionCode(&code, nullptr))
        return "Не удалось получить информацию о версии ОС.";
    const std::string windows = GetWindowsDir();
    if (windows.empty())
        return " Не удается получить CommonFilesDir.";
    const std::string viewer = windows.substr(0, 1) +
                               ":\\Program Files\\Common Files\\Crypto Pro\\Shared\\ocspview.exe";
    WORD numbers[4];
    if (!GetFileVersionNumber(viewer.c_str(), numbers))
        return " Не удается получить версию файла";
    return " " + std::to_string(numbers[0]) + "." + std::to_string(numbers[1]) + "." + std::to_string(numbers[2]) +
           "." + std::to_string(numbers[3]);
}

bool GetFileVersionNumber(const char* path, WORD numbers[4]) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (size == 0)
        return false;
    std::vector<BYTE> block(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoA(path, 0, size, block.data()) ||
        !VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &length) || info == nullptr)
        return false;
    numbers[0] = HIWORD(info->dwFileVersionMS);
    numbers[1] = LOWORD(info->dwFileVersionMS);
    numbers[2] = HIWORD(info->dwFileVersionLS);
    numbers[3] = LOWORD(info->dwFileVersionLS);
    return true;
}

int API_TimeStamp(const TTspLibrary& library, BSTR address, CRYPT_DATA_BLOB& token, const CRYPT_DATA_BLOB& hash,
                  SYSTEMTIME* stampTime, PCCERT_CONTEXT* tsaCert, bool verify, std::string* errorText) {
    token.pbData = nullptr;
    if (!library.Loaded())
        return 1;
    CRYPT_DATA_BLOB own{};
    const int result = library.MakeTimeStamp(address, &hash, &own);
    const TGlobalBlock ownBlock(own.pbData);
    if (result != 0) {
        AppendErrorText(errorText,
                        FormatErrorText("API_TimeStamp. Ошибка создания штампа времени.", result, false, false) + " (" +
                            GetSystemErrorMessage(static_cast<unsigned>(result), false) + " )");
        return result;
    }
    if (verify) {
        ALG_ID algorithm = 0;
        SYSTEMTIME ownTime{};
        TCertContext ownCert;
        CRYPT_DATA_BLOB stampedHash{};
        const int read = API_TimeStampInfo(library, own, &algorithm, stampedHash, stampTime ? stampTime : &ownTime,
                                           tsaCert ? tsaCert : ownCert.Receive(), errorText);
        const TGlobalBlock stampedHashBlock(stampedHash.pbData);
        if (read != 0) {
            VYRNLog("API_TimeStamp. Размер штампа времени: " + std::to_string(own.cbData) + " байт");
            return 6;
        }
    }
    LocalBlobCopy(own.pbData, own.cbData, token);
    return 0;
}

int API_TimeStampInfo(const TTspLibrary& library, const CRYPT_DATA_BLOB& token, ALG_ID* algorithm,
                      CRYPT_DATA_BLOB& hash, SYSTEMTIME* stampTime, PCCERT_CONTEXT* tsaCert, std::string* errorText) {
    if (!library.Loaded())
        return 1;
    TCertContext serviceCert, root;
    void* stamp = nullptr;
    int answer = 0, certError = 0;
    if ((answer = library.GetTimeStamp(&stamp)) != 0) {
        LogOrStoreError(errorText, "API_TimeStampInfo. Не удается создать объект CStamp.", answer);
        return 3;
    }
    if ((answer = library.ImportTimeStamp(stamp, &token)) != 0) {
        LogOrStoreError(errorText, "API_TimeStampInfo. Не удается импортировать штамп времени.", answer);
        return 4;
    }
    serviceCert.Reset(library.TSACertTimeStamp(stamp, &certError));
    if (!serviceCert) {
        LogOrStoreError(errorText,
                        "API_TimeStampInfo. Не удается получить информацию о сертификате службы штампов времени.",
                        certError);
        return 5;
    }
    if ((*tsaCert = CertDuplicateCertificateContext(serviceCert.Get())) == nullptr) {
        LogOrStoreError(errorText, "API_TimeStampInfo. Не удается получить сертификат службы штампов времени.");
        return 6;
    }
    root.Reset(MyGetCertIssuer(*tsaCert, true, errorText));
    if (!root) {
        AppendErrorText(errorText, " API_TimeStampInfo. Сертификат TSP.");
        return 7;
    }
    if ((answer = library.GetHashTimeStamp(stamp, &hash)) != 0) {
        LogOrStoreError(errorText, "API_TimeStampInfo. Не удается получить хэш штампа времени.", answer);
        return 9;
    }
    if ((answer = library.GetTypeHashTS(stamp, algorithm)) != 0) {
        LogOrStoreError(errorText, "API_TimeStampInfo. Не удается получить ALG_ID хэша штампа времени.", answer);
        return 10;
    }
    if ((answer = library.VerifyTS(stamp, *tsaCert)) != 0) {
        LogOrStoreError(errorText, "API_TimeStampInfo. ЭП штампа недействительна.", answer);
        return 11;
    }
    if ((answer = library.GetTimeTimeStamp(stamp, stampTime)) != 0) {
        LogOrStoreError(errorText, "API_TimeStampInfo. Не удается получить информацию о времени Штампа.", answer);
        return 12;
    }
    return 0;
}

int API_OCSP(const TOcspLibrary& library, BSTR address, CRYPT_DATA_BLOB& response, PCCERT_CONTEXT cert,
             SYSTEMTIME* producedAt, bool send, std::string* errorText) {
    VYRNLog("API_OCSP Start");
    int result = 1;
    if (library.Loaded()) {
        CRYPT_DATA_BLOB own{};
        SYSTEMTIME ownTime{};
        const int answer = library.MakeOCSP(address, cert, &own, producedAt ? producedAt : &ownTime, send);
        const TLocalFree<BYTE> ownBlock(own.pbData);
        if (answer != 0) {
            LogOrStoreError(errorText, "API_OCSP. Ошибка создания OCSP.", answer);
            result = 5;
        } else {
            LocalBlobCopy(own.pbData, own.cbData, response);
            VYRNLog("API_OCSP Ok");
            result = 0;
        }
    }
    if (result != 0)
        VYRNLog("API_OCSP end");
    return result;
}
