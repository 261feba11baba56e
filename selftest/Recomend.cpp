#include "Recomend.h"

const char* GetRecomendText(int value) {
    static const char* const texts[] = {
        "Тестирование сервисов подписи и ЯСК ВАРТО на рабочем месте успешно.",
        "Проверьте сетевые настройки доступа к ЯСК ВАРТО.",
        "Проверьте сетевые настройки и настройки прокси.",
        "Не установлен КриптоПро CSP. Для продолжения работы проведите его установку.",
        "Рекомендуется переустановить КриптоПро CSP.",
        "Тестирование не успешно. рабочее место не готово к работе с ЭП",
        "Выполнить все проверки в полном объеме для более точной диагностики.",
        "Не удалось сформировать тестовую подпись. Проверьте возвращенное описание ошибки напротив строчки "
        "\"Проверка формирования электронной подписи\". Возможно имеются проблемы с учетной записью ЯСК ВАРТО "
        "(для простой расширенной подписи) или с токеном (для усиленной подписи).",
        "Проверьте содержимое диагностических сообщений.",
    };
    return value >= 0 && value < static_cast<int>(std::size(texts)) ? texts[value] : "";
}

bool HasRecomend(const TRecomendMap& map, TRecomend key) {
    return map.count(key) != 0;
}

static bool IsTrue(const TRecomendMap& map, TRecomend key) {
    auto it = map.find(key);
    return it != map.end() && it->second;
}

static bool AnyTrue(const TRecomendMap& map) {
    for (const auto& entry : map)
        if (entry.second)
            return true;
    return false;
}

unsigned ComposeVerdict(TRecomendMap& map, bool signatureFailed, std::string& text) {
    if (!AnyTrue(map)) {
        map[rcSuccess] = true;
        if (signatureFailed)
            map[rcSignatureFailed] = true;
    }
    unsigned icon = VerdictNoIcon;
    bool positive = true;
    if (IsTrue(map, rcSuccess)) {
        icon = VerdictInformation;
        text += GetRecomendText(rcSuccess);
        map[rcSuccess] = false;
        if (HasRecomend(map, rcFailure))
            map[rcFailure] = false;
    } else if (IsTrue(map, rcFailure)) {
        icon = VerdictError;
        text += GetRecomendText(rcFailure);
        map[rcFailure] = false;
        positive = false;
    }

    bool first = true;
    for (const auto& [key, value] : map) {
        if (!value)
            continue;
        if (first) {
            if (!text.empty())
                text += positive ? "\r\nВместе с тем имеются следующие рекомендации:\r\n"
                                 : "\r\nРекомендуется выполнить следующие действия:\r\n";
            first = false;
        }
        if (!text.empty())
            text += "\r\n";
        text += " - ";
        text += GetRecomendText(key);
        if (icon == VerdictInformation && key != rcReadDiagnostics && key != rcRunAllChecks)
            icon = VerdictWarning;
    }
    return icon;
}
