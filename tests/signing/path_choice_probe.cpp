// Runs the path choice of the time stamp and the OCSP response in a process whose Windows version
// Wine sets by this program's name, and prints what happened:
//   path_choice_probe tsp ADDRESS         "tsp <flags> <result> <path>" for the flags 0 to 15
//   path_choice_probe ocsp                "ocsp <flags> <result> <path>" for the flags 0 to 15
//   path_choice_probe tsp-text FLAGS ADDRESS, ocsp-text FLAGS [CERTIFICATE of the CA test PKI]
//                                         the result, a line break and the error text
//   path_choice_probe compare D...        "<result> <text>" of the stamp time 12:00:00 and the OCSP
//                                         time D seconds later, a line each
// The path, from the stand-ins' journal: A the older library, C the automation objects' send, M
// the request posted by hand, "-" none; "v" after it when the stamp was verified, the send
// argument after an OCSP path.
#include <fcntl.h>
#include <io.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include "AutomationStandin.h"
#include "CaPki.h"
#include "Ocsptsp.h"
#include "ScratchStores.h"
#include "SysString.h"
#include "TempFiles.h"

namespace {
std::string Journal() {
    char path[MAX_PATH] = {};
    GetEnvironmentVariableA("VORSALT_AUTOMATION_JOURNAL", path, MAX_PATH);
    return FileBytes(path);
}

void ClearJournal() {
    char path[MAX_PATH] = {};
    GetEnvironmentVariableA("VORSALT_AUTOMATION_JOURNAL", path, MAX_PATH);
    DeleteFileA(path);
}

bool Has(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

std::string StampPath(const std::string& journal) {
    std::string path = Has(journal, "TimeStamp.dll MakeTimeStamp")    ? "A"
                       : Has(journal, "TSPCOM.TSPRequest.Send")       ? "C"
                       : Has(journal, "TSPCOM.TSPRequest.Export")     ? "M"
                                                                      : "-";
    if (Has(journal, "TimeStamp.dll VerifyTS") || Has(journal, "TSPCOM.TSPStamp.VerifyStamp"))
        path += "v";
    return path;
}

std::string OcspPath(const std::string& journal) {
    if (Has(journal, "ocsp_w98.dll MakeOCSP send=0"))
        return "A0";
    if (Has(journal, "ocsp_w98.dll MakeOCSP send=1"))
        return "A1";
    if (Has(journal, "OCSPCOM.OCSPRequest.Send method I4:0"))
        return "C0";
    if (Has(journal, "OCSPCOM.OCSPRequest.Send method I4:1"))
        return "C1";
    return Has(journal, "OCSPCOM.OCSPRequest.Export") ? "M" : "-";
}

const std::string Stamped = "signature value";

int Stamp(int flags, const std::string& url, std::string& text) {
    const std::wstring wide(url.begin(), url.end());
    const TSysString address(SysAllocString(wide.c_str()));
    CRYPT_DATA_BLOB token{}, hash{static_cast<DWORD>(Stamped.size()), reinterpret_cast<BYTE*>(const_cast<char*>(Stamped.data()))};
    SYSTEMTIME time{};
    PCCERT_CONTEXT tsa = nullptr;
    const int result = Create_TimeStamp(address.Get(), token, hash, &time, &tsa, &text, flags);
    LocalFree(token.pbData);
    if (tsa)
        CertFreeCertificateContext(tsa);
    return result;
}

int AskOcsp(int flags, std::string& text, const char* certName = "signer") {
    const TCertContext signer = CaPkiCert(certName);
    CRYPT_DATA_BLOB response{};
    SYSTEMTIME time{};
    const int result = Create_OCSP(nullptr, response, signer.Get(), &time, &text, flags);
    LocalFree(response.pbData);
    return result;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    _setmode(_fileno(stdout), _O_BINARY);  // the texts' CR LF as they are
    const std::string mode = argv[1];
    if (mode == "compare") {
        const SYSTEMTIME stamp = {2025, 3, 0, 14, 12, 0, 0, 0};
        FILETIME file;
        SystemTimeToFileTime(&stamp, &file);
        for (int i = 2; i < argc; ++i) {
            ULARGE_INTEGER ticks{{file.dwLowDateTime, file.dwHighDateTime}};
            ticks.QuadPart += static_cast<ULONGLONG>(std::atoll(argv[i]) * 10000000LL);
            const FILETIME later{ticks.LowPart, ticks.HighPart};
            SYSTEMTIME ocsp;
            FileTimeToSystemTime(&later, &ocsp);
            std::string text;
            const int result = CompareTimes(&stamp, &ocsp, &text);
            std::printf("%d %s\n", result, text.c_str());
        }
        return 0;
    }
    const TComApartment com;
    const TScratchStores stores("path-choice");
    if (!com.Active() || !stores.Active())
        return 3;
    if (mode == "tsp" || mode == "ocsp") {
        for (int flags = 0; flags < 16; ++flags) {
            ClearJournal();
            std::string text;
            const int result = mode == "tsp" ? Stamp(flags, argc > 2 ? argv[2] : "", text) : AskOcsp(flags, text);
            const std::string journal = Journal();
            std::printf("%s %d %d %s\n", mode.c_str(), flags, result,
                        (mode == "tsp" ? StampPath(journal) : OcspPath(journal)).c_str());
        }
        return 0;
    }
    if ((mode == "tsp-text" && argc > 3) || (mode == "ocsp-text" && argc > 2)) {
        std::string text;
        const int flags = std::atoi(argv[2]);
        const int result = mode == "tsp-text" ? Stamp(flags, argv[3], text)
                                              : AskOcsp(flags, text, argc > 3 ? argv[3] : "signer");
        std::printf("%d\n%s", result, text.c_str());
        return 0;
    }
    return 2;
}
