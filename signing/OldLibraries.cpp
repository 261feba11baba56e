#include "OldLibraries.h"
#include <vector>
#include "CertChain.h"
#include "Conversions.h"
#include "ErrorText.h"
#include "OldLibraryEntries.h"
#include "OsVersion.h"
#include "SystemFolders.h"
#include "VyrnLog.h"

namespace {

// The time-stamp library and its entry points, in the order they are looked up.
struct TTspLibrary {
    HMODULE module = nullptr;
    TMakeTimeStamp MakeTimeStamp = nullptr;
    TUncalledEntry formatTSPerror = nullptr;
    TGetTimeStamp GetTimeStamp = nullptr;
    TImportTimeStamp ImportTimeStamp = nullptr;
    TTSACertTimeStamp TSACertTimeStamp = nullptr;
    TGetTimeTimeStamp GetTimeTimeStamp = nullptr;
    TVerifyTS VerifyTS = nullptr;
    TUncalledEntry VerifyCertificateTS = nullptr;
    TGetHashTimeStamp GetHashTimeStamp = nullptr;
    TGetTypeHashTS GetTypeHashTS = nullptr;
} Tsp;

struct TOcspLibrary {
    HMODULE module = nullptr;
    TUncalledEntry GetOCSPCert = nullptr, StatusCertFromOCSP = nullptr, VerifyOCSP = nullptr,
                   VerifyOCSPCertificate = nullptr, DisplayResponse = nullptr, GetProducedAt = nullptr,
                   ImportOCSPResponse = nullptr, GetOCSPResponse = nullptr, FormatCertStatusString = nullptr;
    TMakeOCSP MakeOCSP = nullptr;
    TUncalledEntry formatOCSPerror = nullptr;
} Ocsp;

int OcspVersionCode = 0;  // learnt by the first OCSP load that needs it

template <typename T>
bool Entry(HMODULE module, const char* name, T& entry) {
    entry = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return entry != nullptr;
}

}  // namespace

HMODULE MyLoadLibraryTSP(int* versionCode, std::string* errorText) {
    *versionCode = 0;
    if (!GetOSVersionCode(versionCode, nullptr)) {
        LogOrStoreError(errorText, "MyLoadLibraryTSP. Не удалось получить информацию о версии ОС.");
        return nullptr;
    }
    if (*versionCode >= 500)
        return nullptr;
    if (Tsp.module != nullptr)
        return Tsp.module;
    Tsp.module = LoadLibraryA("TimeStamp.dll");
    if (Tsp.module == nullptr) {
        LogOrStoreError(errorText,
                        "MyLoadLibraryTSP. Не найден файл TimeStamp.dll или ошибки в TSP клиенте. LoadLibrary failed.");
        return nullptr;
    }
    const HMODULE m = Tsp.module;
    if (!Entry(m, "MakeTimeStamp", Tsp.MakeTimeStamp) || !Entry(m, "formatTSPerror", Tsp.formatTSPerror) ||
        !Entry(m, "GetTimeStamp", Tsp.GetTimeStamp) || !Entry(m, "ImportTimeStamp", Tsp.ImportTimeStamp) ||
        !Entry(m, "TSACertTimeStamp", Tsp.TSACertTimeStamp) || !Entry(m, "GetTimeTimeStamp", Tsp.GetTimeTimeStamp) ||
        !Entry(m, "VerifyTS", Tsp.VerifyTS) || !Entry(m, "VerifyCertificateTS", Tsp.VerifyCertificateTS) ||
        !Entry(m, "GetHashTimeStamp", Tsp.GetHashTimeStamp) || !Entry(m, "GetTypeHashTS", Tsp.GetTypeHashTS)) {
        LogOrStoreError(errorText, "MyLoadLibraryTSP. Не найдена точка входа в процедуру создания штампа времени. "
                                   "GetProcAddress failed.");
        MyFreeLibraryTSP();
        return nullptr;
    }
    return Tsp.module;
}

HMODULE MyLoadLibraryOCSP(int* versionCode, std::string* errorText) {
    VYRNLog("MyLoadLibraryOCSP");
    if (OcspVersionCode == 0 && !GetOSVersionCode(&OcspVersionCode, nullptr)) {
        OcspVersionCode = 0;
        LogOrStoreError(errorText, "MyLoadLibraryOCSP.Не удалось получить информацию о версии ОС.");
        return nullptr;
    }
    *versionCode = OcspVersionCode;
    if (OcspVersionCode >= 500)
        return nullptr;
    if (Ocsp.module != nullptr) {
        VYRNLog("MyLoadLibraryOCSP use existed handle");
        return Ocsp.module;
    }
    const char* name = GetOCSPDllName(OcspVersionCode);
    Ocsp.module = LoadLibraryA(name);
    const DWORD loadError = GetLastError();
    if (Ocsp.module == nullptr) {
        const std::string message = std::string("Не найден файл ") + name +
                                    " или ошибки в OCSP клиенте. LoadLibrary failed." + GetOcspViewVersion();
        SetLastError(loadError);  // the load's reason, not what the version lookup left
        LogOrStoreError(errorText, message, static_cast<int>(loadError));
        return nullptr;
    }
    const HMODULE m = Ocsp.module;
    if (!Entry(m, "GetOCSPCert", Ocsp.GetOCSPCert) || !Entry(m, "StatusCertFromOCSP", Ocsp.StatusCertFromOCSP) ||
        !Entry(m, "VerifyOCSP", Ocsp.VerifyOCSP) || !Entry(m, "VerifyOCSPCertificate", Ocsp.VerifyOCSPCertificate) ||
        !Entry(m, "DisplayResponse", Ocsp.DisplayResponse) || !Entry(m, "GetProducedAt", Ocsp.GetProducedAt) ||
        !Entry(m, "ImportOCSPResponse", Ocsp.ImportOCSPResponse) || !Entry(m, "GetOCSPResponse", Ocsp.GetOCSPResponse) ||
        !Entry(m, "FormatCertStatusString", Ocsp.FormatCertStatusString) || !Entry(m, "MakeOCSP", Ocsp.MakeOCSP) ||
        !Entry(m, "formatOCSPerror", Ocsp.formatOCSPerror)) {
        LogOrStoreError(errorText, "MyLoadLibraryOCSP. Не найдена точка входа в процедуру создания OCSP - запроса. "
                                   "GetProcAddress failed.");
        MyFreeLibraryOCSP();
        return nullptr;
    }
    VYRNLog("MyLoadLibraryOCSP use new handle: ok");
    return Ocsp.module;
}

void MyFreeLibraryTSP() {
    const HMODULE module = Tsp.module;
    Tsp = TTspLibrary();
    if (module != nullptr)
        FreeLibrary(module);
}

void MyFreeLibraryOCSP() {
    const HMODULE module = Ocsp.module;
    Ocsp = TOcspLibrary();
    if (module != nullptr)
        FreeLibrary(module);
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
    const std::string viewer = windows.substr(0, 1) + ":\\Program Files\\Common Files\\Crypto Pro\\Shared\\ocspview.exe";
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

int API_TimeStamp(HMODULE library, BSTR address, CRYPT_DATA_BLOB& token, const CRYPT_DATA_BLOB& hash,
                  SYSTEMTIME* stampTime, PCCERT_CONTEXT* tsaCert, bool verify, std::string* errorText) {
    token.pbData = nullptr;
    int versionCode = 0;
    if (library == nullptr)
        library = MyLoadLibraryTSP(&versionCode, errorText);
    CRYPT_DATA_BLOB own{}, stampedHash{};
    int result = 1;
    if (library != nullptr && Tsp.MakeTimeStamp != nullptr) {
        result = Tsp.MakeTimeStamp(address, &hash, &own);
        if (result != 0) {
            AppendErrorText(errorText, FormatErrorText("API_TimeStamp. Ошибка создания штампа времени.", result, false, false) +
                                  " (" + GetSystemErrorMessage(static_cast<unsigned>(result), false) + " )");
        } else {
            ALG_ID algorithm = 0;
            SYSTEMTIME ownTime{};
            PCCERT_CONTEXT ownCert = nullptr;
            if (verify && API_TimeStampInfo(own, &algorithm, stampedHash, stampTime ? stampTime : &ownTime,
                                            tsaCert ? tsaCert : &ownCert, errorText) != 0) {
                VYRNLog("API_TimeStamp. Размер штампа времени: " + std::to_string(own.cbData) + " байт");
                result = 6;
            } else {
                LocalBlobCopy(own.pbData, own.cbData, token);
            }
            if (ownCert)
                CertFreeCertificateContext(ownCert);
        }
    }
    if (versionCode < 510)
        MyFreeLibraryTSP();
    GlobalFree(own.pbData);
    GlobalFree(stampedHash.pbData);
    return result;
}

int API_TimeStampInfo(const CRYPT_DATA_BLOB& token, ALG_ID* algorithm, CRYPT_DATA_BLOB& hash, SYSTEMTIME* stampTime,
                      PCCERT_CONTEXT* tsaCert, std::string* errorText) {
    int versionCode = 0;
    if (MyLoadLibraryTSP(&versionCode, errorText) == nullptr)
        return 1;
    PCCERT_CONTEXT serviceCert = nullptr, root = nullptr;
    int result = 0;
    void* stamp = nullptr;
    int answer = 0, certError = 0;
    if ((answer = Tsp.GetTimeStamp(&stamp)) != 0) {
        LogOrStoreError(errorText, "API_TimeStampInfo. Не удается создать объект CStamp.", answer);
        result = 3;
    } else if ((answer = Tsp.ImportTimeStamp(stamp, &token)) != 0) {
        LogOrStoreError(errorText, "API_TimeStampInfo. Не удается импортировать штамп времени.", answer);
        result = 4;
    } else if ((serviceCert = Tsp.TSACertTimeStamp(stamp, &certError)) == nullptr) {
        LogOrStoreError(errorText, "API_TimeStampInfo. Не удается получить информацию о сертификате службы штампов времени.",
                        certError);
        result = 5;
    } else if ((*tsaCert = CertDuplicateCertificateContext(serviceCert)) == nullptr) {
        LogOrStoreError(errorText, "API_TimeStampInfo. Не удается получить сертификат службы штампов времени.");
        result = 6;
    } else if ((root = MyGetCertIssuer(*tsaCert, true, errorText)) == nullptr) {
        AppendErrorText(errorText, " API_TimeStampInfo. Сертификат TSP.");
        result = 7;
    } else if ((answer = Tsp.GetHashTimeStamp(stamp, &hash)) != 0) {
        LogOrStoreError(errorText, "API_TimeStampInfo. Не удается получить хэш штампа времени.", answer);
        result = 9;
    } else if ((answer = Tsp.GetTypeHashTS(stamp, algorithm)) != 0) {
        LogOrStoreError(errorText, "API_TimeStampInfo. Не удается получить ALG_ID хэша штампа времени.", answer);
        result = 10;
    } else if ((answer = Tsp.VerifyTS(stamp, *tsaCert)) != 0) {
        LogOrStoreError(errorText, "API_TimeStampInfo. ЭП штампа недействительна.", answer);
        result = 11;
    } else if ((answer = Tsp.GetTimeTimeStamp(stamp, stampTime)) != 0) {
        LogOrStoreError(errorText, "API_TimeStampInfo. Не удается получить информацию о времени Штампа.", answer);
        result = 12;
    }
    if (versionCode < 510)
        MyFreeLibraryTSP();
    if (serviceCert)
        CertFreeCertificateContext(serviceCert);
    if (root)
        CertFreeCertificateContext(root);
    return result;
}

int API_OCSP(HMODULE library, BSTR address, CRYPT_DATA_BLOB& response, PCCERT_CONTEXT cert, SYSTEMTIME* producedAt,
             bool send, std::string* errorText) {
    VYRNLog("API_OCSP Start");
    int versionCode = 0;
    if (library == nullptr)
        library = MyLoadLibraryOCSP(&versionCode, errorText);
    CRYPT_DATA_BLOB own{};
    SYSTEMTIME ownTime{};
    int result = 1;
    if (library != nullptr && Ocsp.MakeOCSP != nullptr) {
        const int answer = Ocsp.MakeOCSP(address, cert, &own, producedAt ? producedAt : &ownTime, send);
        if (answer != 0) {
            LogOrStoreError(errorText, "API_OCSP. Ошибка создания OCSP.", answer);
            result = 5;
        } else {
            LocalBlobCopy(own.pbData, own.cbData, response);
            VYRNLog("API_OCSP Ok");
            result = 0;
        }
    }
    LocalFree(own.pbData);
    if (versionCode < 510)
        MyFreeLibraryOCSP();
    if (result != 0)
        VYRNLog("API_OCSP end");
    return result;
}
