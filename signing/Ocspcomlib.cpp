#include "Ocspcomlib.h"
#include "Capicomlib.h"
#include "Conversions.h"
#include "ErrorText.h"
#include "ManualPost.h"
#include "OleException.h"
#include "ServicePaths.h"
#include "TimeHelpers.h"
#include "VyrnLog.h"

namespace {
const TManualPost OcspPost = {"application/ocsp-request", "Try to send OCSP Request manualy", "Ошибка отправки OCSP ",
                              L"OCSPCOM.OCSPResponse"};

int OcspSteps(BSTR address, CRYPT_DATA_BLOB& output, PCCERT_CONTEXT cert, SYSTEMTIME* producedAt, int send,
              bool postManually, std::string* errorText, DWORD start) {
    TVAR_ARGS args;
    TMyComPtr request, certificate;
    request.CreateDispatchObject(L"OCSPCOM.OCSPRequest");
    certificate.CreateDispatchObject(L"CAPICOM.Certificate");
    if (address != nullptr) {
        args.Clear();
        args.Add(Variant::FromBstr(SysAllocStringLen(address, SysStringLen(address))));
        request.PutDispatchProperty(L"OCSPAddress", args);
    }
    if (ImportCertToCapicom(cert, certificate, errorText) != 0)
        return 1;
    args.Clear();
    args.Add(Variant(certificate.Get()));
    request.CallDispatchMethod(L"AddSingleRequest", &args);

    TMyComPtr response;
    std::string answer;
    if (postManually && address != nullptr && PostAndImport(request, address, OcspPost, response, answer)) {
        VYRNLog("Ticks for manual OCSP Send: " + TicksSince(start));
    } else {
        SendByObject(request, Variant(send), response);
        const int status = request.GetDispatchProperty(L"HTTPStatus").AsInteger();
        if (status != 200) {
            AppendErrorText(errorText,
                            FormatErrorText("COM_OCSP. Ошибки при отправке OCSP запроса.", status, true, false));
            return 2;
        }
        answer = VariantBytes(response.CallDispatchFunction(L"Export"));
    }

    if (!LocalBlobCopy(answer.data(), answer.size(), output)) {
        AppendErrorText(errorText, FormatErrorText("COM_OCSP. Ошибка выделения памяти", 0, false, false));
        return 5;
    }
    return GetOCSPProducedAt(response, producedAt, errorText) == 0 ? 0 : 3;
}
}  // namespace

int IsOCSPCOM(std::string* errorText) {
    return ProbeComObject({L"OCSPCOM.OCSPRequest", "IsOCSPCOM. Неизвестная ошибка.", false, true}, errorText);
}

int COM_OCSP(BSTR address, CRYPT_DATA_BLOB& output, PCCERT_CONTEXT cert, SYSTEMTIME* producedAt, int send,
             bool postManually, std::string* errorText) {
    VYRNLog("COM_OCSP Start");
    const DWORD start = GetTickCount();
    SYSTEMTIME ownTime{};
    int result;
    try {
        result = OcspSteps(address, output, cert, producedAt ? producedAt : &ownTime, send, postManually, errorText,
                           start);
    } catch (const TError& e) {
        result = 10;
        AppendErrorText(errorText,
                        FormatErrorText("Ошибка работы с ocsp: \r\nДоп. инфо: " + e.str(), e.code, true, false));
    } catch (const Exception& e) {
        result = 11;
        AppendErrorText(errorText, FormatErrorText("COM_OCSP. Неизвестная ошибка формирования ocsp: " + e.Message, 0,
                                                   true, false));
    }
    VYRNLog("COM_OCSP finished");
    return result;
}

int GetOCSPProducedAt(TMyComPtr& response, SYSTEMTIME* time, std::string* errorText) {
    const Variant value = response.GetDispatchProperty(L"ProducedAt");
    SYSTEMTIME local{};
    if (value.Type() != VT_DATE || !VariantTimeToSystemTime(value.Data().date, &local)) {
        LogOrStoreError(errorText, "Ошибка получения времени OCSP ответа");
        return 1;
    }
    return LocalTimeToUtcByBiasNow(local, *time, errorText);
}
