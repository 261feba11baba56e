#include "CheckTable.h"
#include "LumClient.h"
#include "Tests.h"

const char* CriticalityText(TCriticality level) {
    switch (level) {
    case TCriticality::Critical:
        return "1.Критичный";
    case TCriticality::ForWorkstation:
        return "2.Не критичный (для рабочего места)";
    case TCriticality::NotCritical:
        break;
    }
    return "3.Не критичный";
}

bool RunsCheck(const TCheck& check, int tag) {
    return check.InAlternativeRun || tag != TagAlternative;
}

namespace {

// The recommendation rules; r is the routine's result.

int NoRule(int r, TRecomendMap&, const std::string&) {
    return r;
}

int FailsRun(int r, TRecomendMap& map, const std::string&) {
    if (r != 0)
        map[rcFailure] = true;
    return r;
}

int NetworkRule(int r, TRecomendMap& map, const std::string&) {
    if (r != 0)
        map[rcFailure] = map[rcNetworkAccess] = true;
    return r;
}

int ProviderPresentRule(int r, TRecomendMap& map, const std::string&) {
    if (r == 100)
        map[rcReadDiagnostics] = true;
    else if (r != 0)
        map[rcFailure] = map[rcNoCSP] = true;
    return r;
}

int ProviderWorksRule(int r, TRecomendMap& map, const std::string&) {
    if (r != 0 && !HasRecomend(map, rcNoCSP))
        map[rcFailure] = map[rcReinstallCSP] = true;
    return r;
}

int RootChainRule(int r, TRecomendMap& map, const std::string&) {
    if (r != 0)
        map[rcReadDiagnostics] = true;
    return r;
}

// Outside 101 to 504 a failure also recommends reinstalling the provider, unless it is missing.
int SslRule(int r, TRecomendMap& map, const std::string& info) {
    FailsRun(r, map, info);
    if (r != 0 && (r < 101 || r > 504) && !HasRecomend(map, rcNoCSP))
        map[rcReinstallCSP] = true;
    return r;
}

int AppServerRule(int r, TRecomendMap& map, const std::string& info) {
    FailsRun(r, map, info);
    if (r == 502)
        map[rcNetworkAndProxy] = true;
    return r;
}

// The training complex answering makes the run a success; its silence only warns.
int TrainingComplexRule(int r, TRecomendMap& map, const std::string&) {
    if (r != 0)
        return 100;
    map[rcSuccess] = true;
    map[rcFailure] = false;
    return r;
}

int SignatureRule(int r, TRecomendMap& map, const std::string& info) {
    if (r == LumNotAuthenticated) {
        map[rcRunAllChecks] = true;
        return info.empty() ? 100 : r;
    }
    if (r != 0 && map[rcSuccess])
        map[rcSignatureFailed] = true;
    return r;
}

// The two port checks: the service host on the port (the c of "cервером" is Latin, as in the
// captions below).
template <int Port>
CheckTexts PortTexts(const Endpoints& e) {
    const std::string port = std::to_string(Port);
    return {"Проверка соединения с " + e.ServiceHost + " по " + port + " порту",
            "Соединение с cервером " + e.ServiceHost + " по " + port + " порту", "Успешно"};
}

template <int Port>
int ConnectPort(RunContext& c, std::string& info) {
    return CheckConnect(c.Hosts.ServiceHost, Port, info);
}

int RunZantholder(RunContext& context, std::string& info) {
    if (!IsZantholderInstalled()) {
        info = "Не найдено";
        return 100;
    }
    return PingZantholder(context.GatewayClient, info);
}

}  // namespace

const std::vector<TCheck>& BuiltInChecks() {
    // The first letter of "cервером" in the captions is a Latin c.
    static const std::vector<TCheck> table = {
        {ciConnect80, "Connect80", TCriticality::Critical,
         "Проверка возможности соединения с ЯСК ВАРТО по стандартному HTTP порту (80).\r\n"
         "В случае отсутствия связи рекомендуется проверить сетевые настройки и обратиться к системному администратору для предоставления доступа.",
         PortTexts<80>, ConnectPort<80>, NetworkRule, true},
        {ciConnect443, "Connect443", TCriticality::Critical,
         "Проверка возможности соединения с ЯСК ВАРТО по стандартному HTTPs порту (443).\r\n"
         "В случае отсутствия связи рекомендуется проверить сетевые настройки и обратиться к системному администратору для предоставления доступа.",
         PortTexts<443>, ConnectPort<443>, NetworkRule, true},
        {ciIsCSP, "IsCSP", TCriticality::Critical,
         "Проверка наличия Криптопровайдера КриптоПро CSP\r\n"
         "В случае ошибок необходимо убедиться в наличии установленного КриптоПро CSP в списке программ. В случае если КриптоПро ранее было установлено рекомендуется переустановить его с использованием утилиты установки ПО КриптоПро ЯСК ВАРТО.",
         [](const Endpoints&) -> CheckTexts {
             return {"Проверка наличия криптопровайдера КриптоПро CSP", "КриптоПро CSP", "Установлен"};
         },
         [](RunContext&, std::string& info) { return CheckCSPInstalled(info); }, ProviderPresentRule, true},
        {ciCSPWork, "CSPWork", TCriticality::Critical,
         "Проверка работоспособности ПО КриптоПро CSP. Проверяется возможность выполнения базовых криптографических операций.\r\n"
         "В случае ошибок рекомендуется переустановить КриптоПро CSP.",
         [](const Endpoints&) -> CheckTexts {
             return {"Проверка функционирования КриптоПро CSP", "Работоспособность КриптоПро CSP", "Успешно"};
         },
         [](RunContext&, std::string& info) { return CheckCSPWork(info); }, ProviderWorksRule, true},
        {ciRootInstalled, "RootInstalled", TCriticality::NotCritical,
         "Проверка установки корневой цепочки УЦ ЛНЦ (ЦС_3). Осуществляется попытка автоматической установки цепочки корневых сертификатов.\r\n"
         "В случае ошибок рекомендуется загрузить цепочку с сайта УЦ ЛНЦ и установить ее самостоятельно в хранилище \"Доверенные корневые центры сертификации\"",
         [](const Endpoints&) -> CheckTexts {
             return {"Проверка цепочки корневых сертификатов УЦ", "Цепочка корневых сертификатов УЦ", "Установлена"};
         },
         [](RunContext& c, std::string& info) {
             return CheckRootInstalled(c.Hosts.CaWebHost, c.ChainClient, c.Hosts.ChainPath, info);
         },
         RootChainRule, true},
        {ciConnectSSL, "ConnectSSL", TCriticality::Critical,
         "Проверка установки SSL соединения с ЯСК ВАРТО.\r\n"
         "В случае ошибок проверьте, есть ли доступ по 80 и 443 портам к ЯСК ВАРТО. В случае если доступ есть и соответствующие тесты пройдены успешно, рекомендуется переустановить ПО КриптоПро CSP.",
         [](const Endpoints& e) -> CheckTexts {
             return {"Проверка SSL соединения с " + e.ServiceHost, "SSL соединение с cервером " + e.ServiceHost,
                     "Успешно"};
         },
         [](RunContext& c, std::string& info) { return CheckSSL(c.Hosts.ServiceHost, c.ServiceClient, info); }, SslRule,
         true},
        {ciCheckLumWeb, "CheckLumWeb", TCriticality::ForWorkstation,
         "Проверка функционирования ЯСК ВАРТО. Производится автоматизированное тестирование функционирования тслужб ЯСК ВАРТО через диагностические интерфейсы.\r\n"
         "В случае ошибок данного теста, но при наличии связи с ЯСК ВАРТО рекомендуется обратиться в техническую поддержку по вопросам проблем функционирования ЯСК ВАРТО.",
         [](const Endpoints& e) -> CheckTexts {
             return {"Проверка сервера приложений ЯСК " + e.ServiceHost, "Сервер приложений ЯСК " + e.ServiceHost,
                     "Работает"};
         },
         [](RunContext& c, std::string& info) { return PingAppServer(c.Hosts.ServiceHost, c.ServiceClient, info); },
         AppServerRule, true},
        {ciCheckLumWebTK, "CheckLumWebTK", TCriticality::NotCritical,
         "Проверка функционирования тренажерного комплекса ЯСК ВАРТО.",
         [](const Endpoints& e) -> CheckTexts {
             return {"Связь с ТК ЯСК " + e.TrainingHost, "Связь с ТК ЯСК " + e.TrainingHost, "Работает"};
         },
         [](RunContext& c, std::string& info) { return PingAppServer(c.Hosts.TrainingHost, c.ServiceClient, info); },
         TrainingComplexRule, false},
        {ciTSPOCSPProxy, "TSPOCSPProxy", TCriticality::ForWorkstation,
         "Проверка функционирования служб выдачи доказательств времени формирования ЭП ЯСК ВАРТО.\r\n"
         "В случае ошибок данного теста, но при наличии связи с ЯСК ВАРТО рекомендуется обратиться в техническую поддержку по вопросам проблем функционирования ЯСК ВАРТО.",
         [](const Endpoints&) -> CheckTexts {
             return {"Проверка служб ЯСК (TSP)", "Работоспособность служб ЯСК (TSP)", "Успешно"};
         },
         [](RunContext& c, std::string& info) { return CheckTSPOCSPProxy(c.Hosts.ServiceHost, info); }, FailsRun, true},
        {ciSign, "Sign", TCriticality::NotCritical,
         "Проверка подписания в ЯСК ВАРТО с использованием ПРЭП или СКПЭП на ключевом носителе",
         [](const Endpoints&) -> CheckTexts {
             return {"Проверка формирования Электронной Подписи", "Проверка формирования Электронной Подписи", nullptr};
         },
         [](RunContext& c, std::string& info) { return CheckSign(c.Hosts.ServiceHost, c.Request, info); },
         SignatureRule, true},
        {ciZantholder, "Zantholder", TCriticality::NotCritical,
         "Проверка наличия и функционирования ПО Зантхолдер на рабочем месте.\r\n"
         "Ошибка проверки критична только в случае если ПО Зантхолдер должно быть установлено на рабочем месте по требованиям системы, использующей функционал ЯСК ВАРТО.",
         [](const Endpoints&) -> CheckTexts {
             return {"ПО Зантхолдер", "Проверка работоспособности Зантхолдер", "Успешно"};
         },
         RunZantholder, NoRule, true},
    };
    return table;
}
