#include "Tspcomlib.h"
#include "Capicomlib.h"
#include "CertChain.h"
#include "Conversions.h"
#include "CryptOwned.h"
#include "ErrorText.h"
#include "LocalFree.h"
#include "ManualPost.h"
#include "ServicePaths.h"
#include "TimeHelpers.h"
#include "TimeStampAnswer.h"
#include "VyrnLog.h"

namespace {
const TManualPost TspPost = {"application/timestamp-query", "Try to send TSP Request manualy", "Ошибка отправки TSP ",
                             L"TSPCOM.TSPStamp"};

// The steps of COM_TimeStamp that may raise; the result of a step that fails without raising.
int StampSteps(BSTR address, CRYPT_DATA_BLOB& output, const CRYPT_DATA_BLOB& input, SYSTEMTIME* stampTime,
               PCCERT_CONTEXT* tsaCert, bool verify, bool postManually, std::string* errorText, DWORD start) {
    TVAR_ARGS args;
    TMyComPtr hashed;
    hashed.CreateDispatchObject(L"CAPICOM.HashedData");
    args.Clear();
    args.Add(Variant(0));  // CAPICOM_HASH_ALGORITHM_SHA1
    hashed.PutDispatchProperty(L"Algorithm", args);
    args.Clear();
    args.Add(BytesToVariant(input.pbData, input.cbData));
    hashed.CallDispatchMethod(L"hash", &args);

    TMyComPtr request;
    request.CreateDispatchObject(L"TSPCOM.TSPRequest");
    if (address != nullptr) {
        args.Clear();
        args.Add(Variant::FromBstr(SysAllocStringLen(address, SysStringLen(address))));
        request.PutDispatchProperty(L"TSAAddress", args);
    }
    args.Clear();
    args.Add(Variant(hashed.Get()));
    request.PutRefDispatchProperty(L"Hash", args);

    TMyComPtr stamp;
    std::string answer, reply;
    if (postManually && address != nullptr &&
        PostManually(address, VariantBytes(request.CallDispatchFunction(L"Export")), TspPost, reply)) {
        // The service answers a TimeStampResp: what is handed out and imported is the token
        // inside it, as the object's own send gives it.
        std::string why;
        if (ReadTimeStampAnswer(reply, answer, &why) != TTimeStampAnswer::Granted) {
            AppendErrorText(errorText, FormatErrorText("COM_TimeStamp. " + why, 0, false, false));
            return 6;
        }
        stamp.CreateDispatchObject(TspPost.answerProgId);
        VYRNLog("Ticks for manual TSP Send: " + TicksSince(start));
    } else {
        SendByObject(request, Variant(false), stamp);
        VYRNLog("Ticks for TSP Send: " + TicksSince(start));
        const int status = request.GetDispatchProperty(L"HTTPStatus").AsInteger();
        if (status != 200) {
            AppendErrorText(errorText, FormatErrorText("COM_TimeStamp. Ошибки при отправке запроса на штамп времени.",
                                                       status, true, false));
            return 3;
        }
        answer = VariantBytes(stamp.CallDispatchFunction(L"Export"));
    }

    if (!LocalBlobCopy(answer.data(), answer.size(), output)) {
        AppendErrorText(errorText, FormatErrorText("COM_TimeStamp. Ошибка выделения памяти", 0, false, false));
        return 5;
    }
    ImportBytes(stamp, answer);
    VYRNLog("Ticks for TSP befor verify: " + TicksSince(start));

    if (!verify)
        return 0;
    TMyComPtr certificate;
    const Variant tsa = stamp.GetDispatchProperty(L"TSACertificate");
    certificate.AttachDispatch(tsa);
    std::string text;
    if (VerifyStamp(stamp, tsa, &text) != 0) {
        VYRNLog("COM_TimeStamp. Размер штампа времени: " + std::to_string(output.cbData) + " байт");
        StoreErrorText(errorText, "COM_TimeStamp. " + text);
        return 4;
    }
    *tsaCert = ExportCapicomCertificate(certificate, errorText);
    if (*tsaCert == nullptr)
        return 7;
    if (GetStampTime(stamp, stampTime, errorText) != 0)
        return 8;
    text.clear();
    if (CheckCertChainAtTime(*tsaCert, stampTime, 0, &text) != 0) {
        StoreErrorText(errorText, "COM_TimeStamp." + text);
        return 4;
    }
    return 0;
}
}  // namespace

int IsTSPCOM(std::string* errorText) {
    return ProbeComObject({L"TSPCOM.TSPRequest", "Неизвестная ошибка создания TSP COM", true, false}, errorText);
}

int COM_TimeStamp(BSTR address, CRYPT_DATA_BLOB& output, const CRYPT_DATA_BLOB& input, SYSTEMTIME* stampTime,
                  PCCERT_CONTEXT* tsaCert, bool verify, bool postManually, std::string* errorText) {
    const DWORD start = GetTickCount();
    SYSTEMTIME ownTime{};
    TCertContext ownCert;  // the certificate when the caller wants none
    if (stampTime == nullptr)
        stampTime = &ownTime;
    if (tsaCert == nullptr)
        tsaCert = ownCert.Receive();
    const PCCERT_CONTEXT given = *tsaCert;
    output.cbData = 0;
    output.pbData = nullptr;
    int result;
    try {
        result = StampSteps(address, output, input, stampTime, tsaCert, verify, postManually, errorText, start);
    } catch (const TError& e) {
        result = e.code;
        AppendErrorText(errorText,
                        FormatErrorText("COM_TimeStamp. Ошибка работы со штампом времени.\r\nДоп. инфо: " + e.str(),
                                        e.code, true, false));
    } catch (...) {
        result = 11;
        AppendErrorText(errorText, FormatErrorText("COM_TimeStamp. Неизвестная ошибка формирования штампа времени.", 0,
                                                   true, false));
    }
    if (result != 0) {
        const TLocalFree<BYTE> dropped(output.pbData);
        // The certificate exported here, not what the slot held before.
        const TCertContext droppedCert(*tsaCert != given ? *tsaCert : nullptr);
        output.pbData = nullptr;
        *tsaCert = nullptr;
    }
    VYRNLog("Ticks for TSP all: " + TicksSince(start));
    return result;
}

int VerifyStamp(TMyComPtr& stamp, const Variant& certificate, std::string* errorText) {
    TVAR_ARGS args;
    args.Add(certificate);
    if (stamp.CallDispatchFunction(L"VerifyStamp", &args).AsInteger() == 0)
        return 0;
    LogOrStoreError(errorText, "VerifyStamp. ЭЦП штампа не действительна.", 0, true);
    return 1;
}

int GetStampTime(TMyComPtr& stamp, SYSTEMTIME* time, std::string* errorText) {
    const Variant value = stamp.GetDispatchProperty(L"Time");
    SYSTEMTIME local{};
    if (value.Type() != VT_DATE || !VariantTimeToSystemTime(value.Data().date, &local)) {
        LogOrStoreError(errorText, "Ошибка получения времени штампа времени");
        return 1;
    }
    return LocalTimeToUtc(local, *time, errorText) == 0 ? 0 : 2;
}
