// The run's logic that needs no window: the check table, endpoints by tag, row texts,
// recommendation rules, verdict.
#include "CheckTable.h"
#include "Endpoints.h"
#include "Recomend.h"
#include "RunPlan.h"
#include <gtest/gtest.h>

namespace {

CheckTexts TextsOf(int index, const Endpoints& hosts) {
    return BuiltInChecks()[index].Texts(hosts);
}

const std::string S = VORSALT_SERVICE_HOST, T = VORSALT_TRAINING_HOST, A = VORSALT_ALTERNATIVE_HOST;

TEST(Literals, AreCp1251Bytes) {
    const std::string text = "Ошибка";
    EXPECT_EQ(text, "\xce\xf8\xe8\xe1\xea\xe0");
    // The Latin c of "cервером" stays Latin.
    EXPECT_EQ(TextsOf(0, SelectEndpoints(0)).Result.substr(0, 14), "Соединение с c");
}

TEST(SelectEndpoints, ByTag) {
    struct Case {
        int tag;
        std::string service, caWeb, chain;
    } const cases[] = {
        {0, S, VORSALT_CA_WEB_HOST, "aca/rootca3.p7b"},
        {1, T, VORSALT_CA_WEB_HOST, "aca/rootca3.p7b"},
        {2, A, VORSALT_ALT_CA_WEB_HOST, "certificates/ca-velta-test.p7b"},
        {7, S, VORSALT_CA_WEB_HOST, "aca/rootca3.p7b"},
        {-1, S, VORSALT_CA_WEB_HOST, "aca/rootca3.p7b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        Endpoints e = SelectEndpoints(c.tag);
        EXPECT_EQ(e.ServiceHost, c.service);
        EXPECT_EQ(e.TrainingHost, T);
        EXPECT_EQ(e.CaWebHost, c.caWeb);
        EXPECT_EQ(e.ChainPath, c.chain);
    }
}

TEST(RunsCheck, TrainingComplexLeftOutOfAlternativeRun) {
    for (int tag : {0, 1, 2, 5})
        for (int i = 0; i < CheckCount; ++i)
            EXPECT_EQ(RunsCheck(BuiltInChecks()[i], tag), !(i == 7 && tag == 2)) << tag << " " << i;
}

TEST(TextsOf, TrainingRunAimsServiceChecksAtTrainingHost) {
    Endpoints e = SelectEndpoints(TagTraining);
    EXPECT_EQ(TextsOf(0, e).Running, "Проверка соединения с " + T + " по 80 порту");
    EXPECT_EQ(TextsOf(1, e).Result, "Соединение с cервером " + T + " по 443 порту");
    EXPECT_EQ(TextsOf(5, e).Running, "Проверка SSL соединения с " + T);
    EXPECT_EQ(TextsOf(6, e).Result, "Сервер приложений ЯСК " + T);
    EXPECT_EQ(TextsOf(7, e).Running, "Связь с ТК ЯСК " + T);
}

TEST(TextsOf, EveryCheck) {
    Endpoints e = SelectEndpoints(TagRegular);
    struct Case {
        int i;
        std::string running, result;
        const char* passed;
    } const cases[] = {
        {0, "Проверка соединения с " + S + " по 80 порту", "Соединение с cервером " + S + " по 80 порту", "Успешно"},
        {1, "Проверка соединения с " + S + " по 443 порту", "Соединение с cервером " + S + " по 443 порту", "Успешно"},
        {2, "Проверка наличия криптопровайдера КриптоПро CSP", "КриптоПро CSP", "Установлен"},
        {3, "Проверка функционирования КриптоПро CSP", "Работоспособность КриптоПро CSP", "Успешно"},
        {4, "Проверка цепочки корневых сертификатов УЦ", "Цепочка корневых сертификатов УЦ", "Установлена"},
        {5, "Проверка SSL соединения с " + S, "SSL соединение с cервером " + S, "Успешно"},
        {6, "Проверка сервера приложений ЯСК " + S, "Сервер приложений ЯСК " + S, "Работает"},
        {7, "Связь с ТК ЯСК " + T, "Связь с ТК ЯСК " + T, "Работает"},
        {8, "Проверка служб ЯСК (TSP)", "Работоспособность служб ЯСК (TSP)", "Успешно"},
        {9, "Проверка формирования Электронной Подписи", "Проверка формирования Электронной Подписи", nullptr},
        {10, "ПО Зантхолдер", "Проверка работоспособности Зантхолдер", "Успешно"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.i);
        CheckTexts t = TextsOf(c.i, e);
        EXPECT_EQ(t.Running, c.running);
        EXPECT_EQ(t.Result, c.result);
        if (c.passed)
            EXPECT_STREQ(t.Passed, c.passed);
        else
            EXPECT_EQ(t.Passed, nullptr);
    }
}

TEST(RowFor, ResultToImageCaptionAndInfo) {
    const CheckTexts texts{"running", "result", "passed"};
    struct Case {
        int r;
        std::string caption;
        int image;
        std::string info;
    } const cases[] = {
        {0, "running", ImagePassed, "passed"}, {100, "result", ImageWarning, "words"},
        {1, "result", ImageFailed, "words"},   {3, "result", ImageFailed, "words"},
        {-1, "result", ImageFailed, "words"},  {101, "result", ImageFailed, "words"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.r);
        RowContent row = RowFor(texts, c.r, "words");
        EXPECT_EQ(row.Caption, c.caption);
        EXPECT_EQ(row.Image, c.image);
        EXPECT_EQ(row.Info, c.info);
    }
    // The signature check shows its own words when it passes.
    EXPECT_EQ(RowFor(TextsOf(9, SelectEndpoints(0)), 0, "kind").Info, "kind");
}

using Entries = std::vector<std::pair<TRecomend, bool>>;

Entries EntriesOf(const TRecomendMap& map) {
    return Entries(map.begin(), map.end());
}

TEST(RecomendRule, EachCheck) {
    constexpr int NotAuthenticated = static_cast<int>(0x8000000A);
    struct Case {
        int i;
        int r;
        Entries before;
        std::string info;
        int shown;
        Entries after;
    } const cases[] = {
        {0, 0, {}, "", 0, {}},
        {0, 3, {}, "", 3, {{rcNetworkAccess, true}, {rcFailure, true}}},
        {1, 100, {}, "", 100, {{rcNetworkAccess, true}, {rcFailure, true}}},
        {2, 100, {}, "", 100, {{rcReadDiagnostics, true}}},
        {2, 1, {}, "", 1, {{rcNoCSP, true}, {rcFailure, true}}},
        {3, 2, {}, "", 2, {{rcReinstallCSP, true}, {rcFailure, true}}},
        {3, 2, {{rcNoCSP, false}}, "", 2, {{rcNoCSP, false}}},
        {4, 5, {}, "", 5, {{rcReadDiagnostics, true}}},
        {5, 1, {}, "", 1, {{rcReinstallCSP, true}, {rcFailure, true}}},
        {5, 100, {}, "", 100, {{rcReinstallCSP, true}, {rcFailure, true}}},
        {5, 101, {}, "", 101, {{rcFailure, true}}},
        {5, 504, {}, "", 504, {{rcFailure, true}}},
        {5, 505, {}, "", 505, {{rcReinstallCSP, true}, {rcFailure, true}}},
        {5, 1, {{rcNoCSP, true}}, "", 1, {{rcNoCSP, true}, {rcFailure, true}}},
        {6, 7, {}, "", 7, {{rcFailure, true}}},
        {6, 502, {}, "", 502, {{rcNetworkAndProxy, true}, {rcFailure, true}}},
        {7, 0, {{rcFailure, true}}, "", 0, {{rcSuccess, true}, {rcFailure, false}}},
        {7, 0, {}, "", 0, {{rcSuccess, true}, {rcFailure, false}}},
        {7, 9, {{rcFailure, true}}, "", 100, {{rcFailure, true}}},
        {8, 4, {}, "", 4, {{rcFailure, true}}},
        {9, NotAuthenticated, {}, "", 100, {{rcRunAllChecks, true}}},
        {9, NotAuthenticated, {}, "words", NotAuthenticated, {{rcRunAllChecks, true}}},
        {9, 5, {{rcSuccess, true}}, "", 5, {{rcSuccess, true}, {rcSignatureFailed, true}}},
        {9, 5, {}, "", 5, {{rcSuccess, false}}},  // entry 0 is read through the index and so inserted
        {9, 0, {}, "", 0, {}},
        {10, 1, {}, "", 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "check " << c.i << " result " << c.r);
        TRecomendMap map(c.before.begin(), c.before.end());
        EXPECT_EQ(BuiltInChecks()[c.i].Rule(c.r, map, c.info), c.shown);
        EXPECT_EQ(EntriesOf(map), c.after);
    }
}

TEST(GetRecomendText, OutsideTheRangeIsEmpty) {
    EXPECT_STREQ(GetRecomendText(0), "Тестирование сервисов подписи и ЯСК ВАРТО на рабочем месте успешно.");
    EXPECT_STREQ(GetRecomendText(8), "Проверьте содержимое диагностических сообщений.");
    EXPECT_STREQ(GetRecomendText(9), "");
    EXPECT_STREQ(GetRecomendText(-1), "");
}

TEST(ComposeVerdict, TextAndIcon) {
    const std::string success = GetRecomendText(0), failure = GetRecomendText(5);
    const std::string besides = "\r\nВместе с тем имеются следующие рекомендации:\r\n";
    const std::string todo = "\r\nРекомендуется выполнить следующие действия:\r\n";
    auto line = [](int key) { return std::string("\r\n - ") + GetRecomendText(key); };
    const bool signatureOk = false, signatureFailed = true;
    struct Case {
        const char* name;
        Entries map;
        bool signatureFailed;
        std::string text;
        unsigned icon;
    } const cases[] = {
        {"all passed", {{rcSuccess, true}, {rcFailure, false}}, signatureOk, success, VerdictInformation},
        {"port failed, training complex answered",
         {{rcSuccess, true}, {rcNetworkAccess, true}, {rcFailure, false}},
         signatureOk,
         success + besides + line(1),
         VerdictWarning},
        {"success overrides a failure",
         {{rcSuccess, true}, {rcNoCSP, true}, {rcFailure, true}},
         signatureOk,
         success + besides + line(3),
         VerdictWarning},
        {"only diagnostics and run-all after success",
         {{rcSuccess, true}, {rcRunAllChecks, true}, {rcReadDiagnostics, true}},
         signatureOk,
         success + besides + line(6) + line(8),
         VerdictInformation},
        {"failure with recommendations",
         {{rcNoCSP, true}, {rcFailure, true}, {rcReadDiagnostics, true}},
         signatureOk,
         failure + todo + line(3) + line(8),
         VerdictError},
        {"failure alone", {{rcFailure, true}}, signatureOk, failure, VerdictError},
        {"failure beside a failed signature", {{rcFailure, true}}, signatureFailed, failure, VerdictError},
        {"recommendation without failure",
         {{rcReadDiagnostics, true}},
         signatureOk,
         " - " + std::string(GetRecomendText(8)),
         VerdictNoIcon},
        {"recommendation beside a failed signature",
         {{rcReadDiagnostics, true}},
         signatureFailed,
         " - " + std::string(GetRecomendText(8)),
         VerdictNoIcon},
        {"nothing to say: every check passed", {}, signatureOk, success, VerdictInformation},
        {"nothing true", {{rcSuccess, false}, {rcFailure, false}}, signatureOk, success, VerdictInformation},
        // Nothing recommended reads as a run whose training complex answered.
        {"nothing else after a failed signature", {}, signatureFailed, success + besides + line(7), VerdictWarning},
        {"nothing true after a failed signature",
         {{rcSuccess, false}, {rcFailure, false}},
         signatureFailed,
         success + besides + line(7),
         VerdictWarning},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TRecomendMap map(c.map.begin(), c.map.end());
        std::string text;
        EXPECT_EQ(ComposeVerdict(map, c.signatureFailed, text), c.icon);
        EXPECT_EQ(text, c.text);
        EXPECT_FALSE(map.count(rcSuccess) && map[rcSuccess]);
        EXPECT_FALSE(map.count(rcFailure) && map[rcFailure]);
    }
}

TEST(CheckTable, EntriesInTableOrder) {
    const TCriticality critical = TCriticality::Critical, workstation = TCriticality::ForWorkstation,
                       notCritical = TCriticality::NotCritical;
    struct Case {
        const char* id;
        TCriticality level;
        const char* descriptionHead;
    } const cases[] = {
        {"Connect80", critical, "Проверка возможности соединения с ЯСК ВАРТО по стандартному HTTP порту (80).\r\n"},
        {"Connect443", critical, "Проверка возможности соединения с ЯСК ВАРТО по стандартному HTTPs порту (443).\r\n"},
        {"IsCSP", critical, "Проверка наличия Криптопровайдера КриптоПро CSP\r\n"},
        {"CSPWork", critical, "Проверка работоспособности ПО КриптоПро CSP."},
        {"RootInstalled", notCritical, "Проверка установки корневой цепочки УЦ ЛНЦ (ЦС_3)."},
        {"ConnectSSL", critical, "Проверка установки SSL соединения с ЯСК ВАРТО.\r\n"},
        {"CheckLumWeb", workstation, "Проверка функционирования ЯСК ВАРТО."},
        {"CheckLumWebTK", notCritical, "Проверка функционирования тренажерного комплекса ЯСК ВАРТО."},
        {"TSPOCSPProxy", workstation, "Проверка функционирования служб выдачи доказательств времени"},
        {"Sign", notCritical, "Проверка подписания в ЯСК ВАРТО с использованием ПРЭП или СКПЭП на ключевом носителе"},
        {"Zantholder", notCritical, "Проверка наличия и функционирования ПО Зантхолдер на рабочем месте.\r\n"},
    };
    ASSERT_EQ(BuiltInChecks().size(), std::size(cases));
    for (int i = 0; i < CheckCount; ++i) {
        SCOPED_TRACE(i);
        const TCheck& check = BuiltInChecks()[i];
        EXPECT_EQ(check.Index, i);
        EXPECT_STREQ(check.Id, cases[i].id);
        EXPECT_EQ(check.Level, cases[i].level);
        EXPECT_EQ(std::string(check.Description).rfind(cases[i].descriptionHead, 0), 0u) << check.Description;
        EXPECT_NE(check.Run, nullptr);
    }
    EXPECT_STREQ(BuiltInChecks()[ciCheckLumWebTK].Description, cases[ciCheckLumWebTK].descriptionHead);
    EXPECT_STREQ(BuiltInChecks()[ciSign].Description, cases[ciSign].descriptionHead);
}

TEST(CriticalityText, EachLevel) {
    EXPECT_STREQ(CriticalityText(TCriticality::Critical), "1.Критичный");
    EXPECT_STREQ(CriticalityText(TCriticality::ForWorkstation), "2.Не критичный (для рабочего места)");
    EXPECT_STREQ(CriticalityText(TCriticality::NotCritical), "3.Не критичный");
}

}  // namespace
