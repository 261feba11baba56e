#include "RunPlan.h"
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
    return !(index == 7 && tag == TagAlternative);
}

CheckTexts TextsOf(int index, const Endpoints& e) {
    const std::string& s = e.ServiceHost;
    const std::string& t = e.TrainingHost;
    // The first letter of "cервером" is a Latin c.
    switch (index) {
    case 0:
        return {"Проверка соединения с " + s + " по 80 порту", "Соединение с cервером " + s + " по 80 порту",
                "Успешно"};
    case 1:
        return {"Проверка соединения с " + s + " по 443 порту", "Соединение с cервером " + s + " по 443 порту",
                "Успешно"};
    case 2:
        return {"Проверка наличия криптопровайдера КриптоПро CSP", "КриптоПро CSP", "Установлен"};
    case 3:
        return {"Проверка функционирования КриптоПро CSP", "Работоспособность КриптоПро CSP", "Успешно"};
    case 4:
        return {"Проверка цепочки корневых сертификатов УЦ", "Цепочка корневых сертификатов УЦ", "Установлена"};
    case 5:
        return {"Проверка SSL соединения с " + s, "SSL соединение с cервером " + s, "Успешно"};
    case 6:
        return {"Проверка сервера приложений ЯСК " + s, "Сервер приложений ЯСК " + s, "Работает"};
    case 7:
        return {"Связь с ТК ЯСК " + t, "Связь с ТК ЯСК " + t, "Работает"};
    case 8:
        return {"Проверка служб ЯСК (TSP)", "Работоспособность служб ЯСК (TSP)", "Успешно"};
    case 9:
        return {"Проверка формирования Электронной Подписи", "Проверка формирования Электронной Подписи", nullptr};
    case 10:
        return {"ПО Зантхолдер", "Проверка работоспособности Зантхолдер", "Успешно"};
    }
    return {"", "", ""};
}

int ApplyRecomendRule(int index, int r, TRecomendMap& map, const std::string& info) {
    switch (index) {
    case 0:
    case 1:
        if (r != 0)
            map[rcFailure] = map[rcNetworkAccess] = true;
        break;
    case 2:
        if (r == 100)
            map[rcReadDiagnostics] = true;
        else if (r != 0)
            map[rcFailure] = map[rcNoCSP] = true;
        break;
    case 3:
        if (r != 0 && !HasRecomend(map, rcNoCSP))
            map[rcFailure] = map[rcReinstallCSP] = true;
        break;
    case 4:
        if (r != 0)
            map[rcReadDiagnostics] = true;
        break;
    case 5:
        if (r != 0) {
            map[rcFailure] = true;
            if ((r < 101 || r > 504) && !HasRecomend(map, rcNoCSP))
                map[rcReinstallCSP] = true;
        }
        break;
    case 6:
        if (r != 0)
            map[rcFailure] = true;
        if (r == 502)
            map[rcNetworkAndProxy] = true;
        break;
    case 7:
        if (r == 0) {
            map[rcSuccess] = true;
            map[rcFailure] = false;
        } else {
            r = 100;
        }
        break;
    case 8:
        if (r != 0)
            map[rcFailure] = true;
        break;
    case 9:
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
