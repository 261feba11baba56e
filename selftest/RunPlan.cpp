#include "RunPlan.h"
#include "CheckTable.h"
#include "Endpoints.h"
#include "LumClient.h"

Endpoints SelectEndpoints(int tag) {
    Endpoints e{VORSALT_SERVICE_HOST, VORSALT_TRAINING_HOST,   VORSALT_ALTERNATIVE_HOST,        VORSALT_CA_WEB_HOST,
                "aca/rootca3.p7b",    VORSALT_ALT_CA_WEB_HOST, "certificates/ca-velta-test.p7b"};
    if (tag == TagTraining) {
        e.ServiceHost = e.TrainingHost;
    } else if (tag == TagAlternative) {
        e.ServiceHost = e.AlternativeHost;
        e.CaWebHost = e.AltCaWebHost;
        e.ChainPath = e.AltChainPath;
    }
    return e;
}

bool RunsCheck(int index, int tag) {
    return !(index == ciCheckLumWebTK && tag == TagAlternative);
}

CheckTexts TextsOf(int index, const Endpoints& e) {
    const std::string& s = e.ServiceHost;
    const std::string& t = e.TrainingHost;
    // The first letter of "cервером" is a Latin c.
    switch (index) {
    case ciConnect80:
        return {"Проверка соединения с " + s + " по 80 порту", "Соединение с cервером " + s + " по 80 порту",
                "Успешно"};
    case ciConnect443:
        return {"Проверка соединения с " + s + " по 443 порту", "Соединение с cервером " + s + " по 443 порту",
                "Успешно"};
    case ciIsCSP:
        return {"Проверка наличия криптопровайдера КриптоПро CSP", "КриптоПро CSP", "Установлен"};
    case ciCSPWork:
        return {"Проверка функционирования КриптоПро CSP", "Работоспособность КриптоПро CSP", "Успешно"};
    case ciRootInstalled:
        return {"Проверка цепочки корневых сертификатов УЦ", "Цепочка корневых сертификатов УЦ", "Установлена"};
    case ciConnectSSL:
        return {"Проверка SSL соединения с " + s, "SSL соединение с cервером " + s, "Успешно"};
    case ciCheckLumWeb:
        return {"Проверка сервера приложений ЯСК " + s, "Сервер приложений ЯСК " + s, "Работает"};
    case ciCheckLumWebTK:
        return {"Связь с ТК ЯСК " + t, "Связь с ТК ЯСК " + t, "Работает"};
    case ciTSPOCSPProxy:
        return {"Проверка служб ЯСК (TSP)", "Работоспособность служб ЯСК (TSP)", "Успешно"};
    case ciSign:
        return {"Проверка формирования Электронной Подписи", "Проверка формирования Электронной Подписи", nullptr};
    case ciZantholder:
        return {"ПО Зантхолдер", "Проверка работоспособности Зантхолдер", "Успешно"};
    }
    return {"", "", ""};
}

int ApplyRecomendRule(int index, int r, TRecomendMap& map, const std::string& info) {
    switch (index) {
    case ciConnect80:
    case ciConnect443:
        if (r != 0)
            map[rcFailure] = map[rcNetworkAccess] = true;
        break;
    case ciIsCSP:
        if (r == 100)
            map[rcReadDiagnostics] = true;
        else if (r != 0)
            map[rcFailure] = map[rcNoCSP] = true;
        break;
    case ciCSPWork:
        if (r != 0 && !HasRecomend(map, rcNoCSP))
            map[rcFailure] = map[rcReinstallCSP] = true;
        break;
    case ciRootInstalled:
        if (r != 0)
            map[rcReadDiagnostics] = true;
        break;
    case ciConnectSSL:
        if (r != 0) {
            map[rcFailure] = true;
            if ((r < 101 || r > 504) && !HasRecomend(map, rcNoCSP))
                map[rcReinstallCSP] = true;
        }
        break;
    case ciCheckLumWeb:
        if (r != 0)
            map[rcFailure] = true;
        if (r == 502)
            map[rcNetworkAndProxy] = true;
        break;
    case ciCheckLumWebTK:
        if (r == 0) {
            map[rcSuccess] = true;
            map[rcFailure] = false;
        } else {
            r = 100;
        }
        break;
    case ciTSPOCSPProxy:
        if (r != 0)
            map[rcFailure] = true;
        break;
    case ciSign:
        if (r == LumNotAuthenticated) {
            map[rcRunAllChecks] = true;
            if (info.empty())
                r = 100;
        } else if (r != 0 && map[rcSuccess]) {
            map[rcSignatureFailed] = true;
        }
        break;
    }
    return r;
}

RowContent RowFor(const CheckTexts& texts, int r, const std::string& info) {
    if (r == 0)
        return {texts.Running, ImagePassed, texts.Passed ? texts.Passed : info};
    return {texts.Result, r == 100 ? ImageWarning : ImageFailed, info};
}
