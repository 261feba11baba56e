// Vorsalt.exe end to end: its main window driven by window messages from this process, with
// stand-ins for the service hosts and the signing gateway.
#include "CheckTable.h"
#include "Endpoints.h"
#include "HttpTypeValue.h"
#include "MainIds.h"
#include "RemoteWindow.h"
#include "RunPlan.h"
#include "StandinFiles.h"
#include "Standins.h"
#include "TestCspSetup.h"
#include "Text.h"
#include <winsock2.h>
#include <ws2tcpip.h>
#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

const std::wstring VerdictTitle = L"Результаты тестирования";

std::wstring Wide(const std::string& ansi) {
    return vcl::ToWide(ansi);
}

CheckTexts TextsOf(int index, const Endpoints& hosts) {
    return BuiltInChecks()[index].Texts(hosts);
}

class MainWindow : public testing::Test {
protected:
    static void SetUpTestSuite() {
        WSADATA d;
        WSAStartup(MAKEWORD(2, 2), &d);
        TrustStandinCa(true);
    }
    static void TearDownTestSuite() {
        TrustStandinCa(false);
        WSACleanup();
    }

    bool StripVisible() const { return IsWindowVisible(program.Control(ID_Panel1)) != FALSE; }
    int BarPosition() const {
        return static_cast<int>(SendMessageW(program.Control(ID_Panel1, ID_PB1), PBM_GETPOS, 0, 0));
    }
    // Waits for the verdict box, returns its text and closes it.
    std::wstring TakeVerdict() {
        HWND box = program.WaitForMessageBox(VerdictTitle, 30000);
        if (!box) {
            ADD_FAILURE() << "no verdict box";
            return L"";
        }
        EXPECT_TRUE(StripVisible()) << "the strip shows until the verdict is closed";
        std::wstring text = MessageBoxText(box);
        rowsAtVerdict = program.Rows(ID_LV_Stat);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
        EXPECT_TRUE(WaitUntil([&] { return !StripVisible(); }, 5000)) << "the strip hides after the verdict";
        EXPECT_EQ(BarPosition(), 0);
        return text;
    }

    TRemoteProgram program{L"Vorsalt.exe"};
    std::vector<TRemoteRow> rowsAtVerdict;
};

TEST_F(MainWindow, StartsIdle) {
    ASSERT_NE(program.Window(), nullptr);
    EXPECT_EQ(WindowText(program.Window()), L"Тестирование клиентских модулей ЯСК ВАРТО на рабочем месте");
    RECT client;
    GetClientRect(program.Window(), &client);
    EXPECT_EQ(client.right, 624);
    EXPECT_EQ(client.bottom, 448);
    EXPECT_FALSE(StripVisible());
    EXPECT_TRUE(program.Rows(ID_LV_Stat).empty());
    EXPECT_EQ(WindowText(program.Control(ID_pnl1, ID_Button_Check)), L"Провести тестирование");
    EXPECT_EQ(WindowText(program.Control(ID_pnl1, ID_Button_Send)), L"Информация для службы технической поддержки");
    EXPECT_EQ(WindowText(program.Control(ID_pnl1, ID_B_Exit)), L"Выход");
}

const std::wstring Failure = L"Тестирование не успешно. рабочее место не готово к работе с ЭП";
const std::wstring Success = L"Тестирование сервисов подписи и ЯСК ВАРТО на рабочем месте успешно.";
const std::wstring ToDo = L"\r\nРекомендуется выполнить следующие действия:\r\n";

// The service's pages, with the signature and time-stamp replies that the client library gets.
std::string Service(const std::string& signature, const std::string& timeStamp = Reply(200, "OK")) {
    return "{\"//\": " + Reply(200, "<html></html>") +
           ", \"/lumweb/check\": " + Reply(200, R"({\"CorrelationId\":\"5f0c3a52\",\"Status\":\"OK\"})") +
           ", \"/lumclient/enchance\": " + timeStamp + ", \"/lumclient/authentificate\": " + signature + "}";
}
const std::string GoodService = Service(Reply(200, "kind=1;id=112-233-445 95"));
// A reply longer than the 4096 characters a list row's text used to be read with.
const std::string LongReply = "Maintenance " + std::string(5000, '.');
// The chain check's words when no chain came and "ROOT" holds no root "ЦС_3".
const std::wstring ChainNotLoaded = L"Не удается скачать актуальную цепочку сертификатов. Ошибка:\r\n";
const std::wstring NoRoot = L"\r\nОшибка нахождения корневого сертификата";
const std::wstring ReadDiagnostics = L"\r\n - Проверьте содержимое диагностических сообщений.";
bool EndsWith(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The service host fails the SSL page and its check; the training complex answers the second check
// wrongly (in the training run it is asked twice); the time stamp fails and the signature is not
// authenticated, without words.
const std::string BadService = "{\"//\": " + Reply(503, "") + ", \"/lumweb/check\": [" + Reply(502, "") + ", " +
                               Reply(200, LongReply) +
                               "], \"/lumclient/enchance\": " + Reply(500, "TSP service unavailable") +
                               ", \"/lumclient/authentificate\": " + Reply(401, "") + "}";
const std::wstring RunAllChecks = L"\r\n - Выполнить все проверки в полном объеме для более точной диагностики.";

int RunCommand(int tag) {
    return tag == TagTraining ? ID_N1 : tag == TagAlternative ? ID_N2 : ID_mni_N18;
}

std::vector<std::wstring> Ids(const std::vector<TRemoteRow>& rows) {
    std::vector<std::wstring> ids;
    for (const auto& row : rows)
        ids.push_back(row.id);
    return ids;
}

std::vector<std::wstring> ExpectedIds(int tag) {
    if (tag == TagAlternative)
        return {L"0", L"1", L"2", L"3", L"4", L"5", L"6", L"8", L"9", L"10"};
    return {L"0", L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"10"};
}

// The row of a check; an empty one when the list has none.
TRemoteRow RowOf(const std::vector<TRemoteRow>& rows, int index) {
    for (const auto& row : rows)
        if (row.id == std::to_wstring(index))
            return row;
    return {L"", L"", L"", -1};
}

// What the client library sent for checks 8 and 9, as the service host's stand-in logged it.
const std::string TimeStampRequest = "kind=4;data=31323334353637383930\r\nkind=2;data=\r\n";
const std::string SignatureRequest = "mode=1;second=1";

// Runs of every tag, over the default back-end (WinHTTP on Wine's Windows 7) and over WinINet.
class StandinRun : public MainWindow, public testing::WithParamInterface<std::tuple<int, DWORD>> {
protected:
    void SetUp() override {
        if (std::get<1>(GetParam()) != 0)
            httpType.SetDword(std::get<1>(GetParam()));
    }
    int Tag() const { return std::get<0>(GetParam()); }
    const char* Prefix() const { return std::get<1>(GetParam()) == 1 ? "THTTP: " : "TWinHTTP: "; }
    std::string ServiceHost() const { return SelectEndpoints(Tag()).ServiceHost; }

    THttpTypeValue httpType;
};

TEST_P(StandinRun, EveryStandinAnswersWell) {
    Standins standins({GoodService, Reply(200, "OK"), true});
    TestCspRegistration csp({75});
    ASSERT_NE(program.Window(), nullptr);
    program.Command(RunCommand(Tag()));
    EXPECT_EQ(TakeVerdict(), Success);

    const Endpoints hosts = SelectEndpoints(Tag());
    const auto rows = program.Rows(ID_LV_Stat);
    ASSERT_EQ(Ids(rows), ExpectedIds(Tag()));
    for (const auto& row : rows) {
        const int index = std::stoi(row.id);
        const CheckTexts texts = TextsOf(index, hosts);
        EXPECT_EQ(row.image, 0) << index << " " << vcl::ToAnsi(row.info);
        EXPECT_EQ(row.caption, Wide(texts.Running)) << index;
        EXPECT_EQ(row.info, Wide(texts.Passed ? texts.Passed : "Усиленная: 112-233-445 95")) << index;
    }

    // The service checks share one client: the SSL page, then the check of each host; then the
    // client library asks the same host for the time stamp and the test signature.
    const auto service = standins.Https(hosts.ServiceHost);
    std::vector<std::string> lines;
    for (const auto& r : service)
        lines.push_back(r.RequestLine);
    std::vector<std::string> expected = {"GET // HTTP/1.1", "POST /lumweb/check HTTP/1.1"};
    if (Tag() == TagTraining)
        expected.push_back("POST /lumweb/check HTTP/1.1");
    expected.push_back("POST /lumclient/enchance HTTP/1.1");
    expected.push_back("POST /lumclient/authentificate HTTP/1.1");
    ASSERT_EQ(lines, expected);
    EXPECT_EQ(service[service.size() - 2].Body, TimeStampRequest);
    EXPECT_EQ(service.back().Body, SignatureRequest);
    if (Tag() == TagRegular) {
        EXPECT_EQ(standins.Https(hosts.TrainingHost).size(), 1u);
    }
    const auto gateway = standins.Gateway();
    ASSERT_EQ(gateway.size(), 1u);
    EXPECT_EQ(gateway[0].RequestLine, "POST / HTTP/1.1");
    EXPECT_EQ(gateway[0].Header("X-Operation"), "ping");

    // The chain from the tag's CA web host and path; the intermediate's CRL from the point on the CA
    // test PKI's own site, which is the first CA web host. Another process finds all of it.
    std::vector<std::string> caWeb, altCaWeb;
    for (const auto& r : standins.CaWeb(VORSALT_CA_WEB_HOST))
        caWeb.push_back(r.RequestLine);
    for (const auto& r : standins.CaWeb(VORSALT_ALT_CA_WEB_HOST))
        altCaWeb.push_back(r.RequestLine);
    const std::string crl = "GET /cdp/root3.crl HTTP/1.1";
    if (Tag() == TagAlternative) {
        EXPECT_EQ(altCaWeb, std::vector<std::string>{"GET /certificates/ca-velta-test.p7b HTTP/1.1"});
        EXPECT_EQ(caWeb, std::vector<std::string>{crl});
    } else {
        EXPECT_EQ(caWeb, (std::vector<std::string>{"GET /aca/rootca3.p7b HTTP/1.1", crl}));
        EXPECT_TRUE(altCaWeb.empty());
    }
    EXPECT_TRUE(CaChainInstalled());
}

TEST_P(StandinRun, StandinsAnswerBadly) {
    Standins standins({BadService, Reply(200, "ok"), true});
    TestCspRegistration csp({75});
    ASSERT_NE(program.Window(), nullptr);
    program.Command(RunCommand(Tag()));
    EXPECT_EQ(TakeVerdict(), Failure + ToDo + L"\r\n - Проверьте сетевые настройки и настройки прокси." + RunAllChecks);

    const Endpoints hosts = SelectEndpoints(Tag());
    const auto rows = program.Rows(ID_LV_Stat);
    ASSERT_EQ(Ids(rows), ExpectedIds(Tag()));
    for (int i : {0, 1, 2, 3, 4})
        EXPECT_EQ(rows[i].image, 0) << i;
    const std::wstring prefix = Wide(Prefix());
    for (int i : {5, 6}) {
        EXPECT_EQ(rows[i].image, 1) << i;
        EXPECT_EQ(rows[i].caption, Wide(TextsOf(i, hosts).Result));
        EXPECT_EQ(rows[i].info.rfind(prefix, 0), 0u) << vcl::ToAnsi(rows[i].info);
    }
    if (Tag() != TagAlternative) {
        const TRemoteRow training = RowOf(rows, ciCheckLumWebTK);
        EXPECT_EQ(training.image, 2);
        EXPECT_EQ(training.caption, Wide(TextsOf(7, hosts).Result));
        if (Tag() == TagTraining)
            EXPECT_EQ(training.info,
                      L"Соединение установлено, но от сервера получен неожиданный ответ: " + Wide(LongReply));
        else
            EXPECT_EQ(training.info.rfind(prefix, 0), 0u) << vcl::ToAnsi(training.info);
    }
    const TRemoteRow timeStamp = RowOf(rows, ciTSPOCSPProxy), signature = RowOf(rows, ciSign);
    EXPECT_EQ(timeStamp.image, 1);
    EXPECT_EQ(timeStamp.caption, L"Работоспособность служб ЯСК (TSP)");
    EXPECT_EQ(timeStamp.info,
              L"LUMCLIENT: сервер ЯСК " + Wide(hosts.ServiceHost) + L" ответил 500: TSP service unavailable");
    // Not authenticated, without words: a warning with an empty text.
    EXPECT_EQ(signature.image, 2);
    EXPECT_EQ(signature.caption, L"Проверка формирования Электронной Подписи");
    EXPECT_EQ(signature.info, L"");
    EXPECT_EQ(rows.back().image, 1);
    EXPECT_EQ(rows.back().caption, L"Проверка работоспособности Зантхолдер");
    EXPECT_EQ(rows.back().info, L"Получен неожиданный ответ от ПО Зантхолдер: ok");
}

INSTANTIATE_TEST_SUITE_P(Tags, StandinRun,
                         testing::Combine(testing::Values(TagRegular, TagTraining, TagAlternative),
                                          testing::Values(DWORD{0}, DWORD{1})),
                         [](const testing::TestParamInfo<std::tuple<int, DWORD>>& p) {
                             return "Tag" + std::to_string(std::get<0>(p.param)) +
                                    (std::get<1>(p.param) == 1 ? "WinInet" : "Default");
                         });

TEST_F(MainWindow, NothingAnswersAndNoSecondRunStarts) {
    Standins standins({"", "", false, ""});
    ASSERT_NE(program.Window(), nullptr);
    const std::wstring host = Wide(VORSALT_SERVICE_HOST);

    program.Command(ID_mni_N18);
    HWND box = program.WaitForMessageBox(VerdictTitle, 60000);
    ASSERT_NE(box, nullptr);
    // A run command while the verdict is up must not start a second run.
    program.Command(ID_N2);
    const std::wstring verdict = TakeVerdict();

    // No provider: check 2 fails, and neither check 3 nor the SSL check recommends reinstalling it.
    EXPECT_EQ(verdict, Failure + ToDo + L"\r\n - Проверьте сетевые настройки доступа к ЯСК ВАРТО." +
                           L"\r\n - Не установлен КриптоПро CSP. Для продолжения работы проведите его установку." +
                           ReadDiagnostics);
    const auto rows = program.Rows(ID_LV_Stat);
    ASSERT_EQ(Ids(rows), ExpectedIds(TagRegular));
    EXPECT_EQ(rows[0].caption, L"Соединение с cервером " + host + L" по 80 порту");
    EXPECT_EQ(rows[0].info, L"Failed to connect.\r\nError code: 10061");
    EXPECT_EQ(rows[0].image, 1);
    EXPECT_EQ(rows[1].caption, L"Соединение с cервером " + host + L" по 443 порту");
    EXPECT_EQ(rows[2].caption, L"КриптоПро CSP");
    EXPECT_EQ(rows[2].info, L"В системе не установлен Крипто-Про");
    EXPECT_EQ(rows[2].image, 1);
    EXPECT_EQ(rows[3].caption, L"Работоспособность КриптоПро CSP");
    EXPECT_EQ(rows[3].info.substr(0, 37), L"_hash. Getting CMSG_HASHED  failed.\r\n");
    EXPECT_EQ(rows[3].image, 1);
    // No CA web host answers and "ROOT" has no root "ЦС_3".
    EXPECT_EQ(rows[4].caption, L"Цепочка корневых сертификатов УЦ");
    EXPECT_EQ(rows[4].info.rfind(ChainNotLoaded + L"TWinHTTP: ", 0), 0u) << vcl::ToAnsi(rows[4].info);
    EXPECT_TRUE(EndsWith(rows[4].info, NoRoot)) << vcl::ToAnsi(rows[4].info);
    EXPECT_EQ(rows[4].image, 1);
    EXPECT_EQ(rows[5].image, 1);
    EXPECT_EQ(rows[5].info.rfind(L"TWinHTTP: ", 0), 0u);
    EXPECT_EQ(rows[7].image, 2);
    // The client library's own words: it cannot reach the service host.
    const std::wstring noService = L"LUMCLIENT: нет связи с сервером ЯСК " + host + L" (ошибка 12029)";
    EXPECT_EQ(rows[8].caption, L"Работоспособность служб ЯСК (TSP)");
    EXPECT_EQ(rows[8].info, noService);
    EXPECT_EQ(rows[8].image, 1);
    EXPECT_EQ(rows[9].caption, L"Проверка формирования Электронной Подписи");
    EXPECT_EQ(rows[9].info, noService);
    EXPECT_EQ(rows[9].image, 1);
    EXPECT_EQ(rows[10].caption, L"Проверка работоспособности Зантхолдер");
    EXPECT_EQ(rows[10].info, L"Не найдено");
    EXPECT_EQ(rows[10].image, 2);
    EXPECT_TRUE(standins.Gateway().empty());
    EXPECT_FALSE(CaChainInstalled());

    // The run command sent meanwhile was dropped (TestRunWalk.NoSecondRunWhileOneIsInProgress): the
    // rows are still the first run's.
    EXPECT_EQ(program.Rows(ID_LV_Stat)[0].caption, rows[0].caption);

    SendMessageW(program.Control(ID_pnl1, ID_B_Exit), BM_CLICK, 0, 0);
    EXPECT_TRUE(program.WaitForExit(10000));
}

TEST_F(MainWindow, ButtonRunsLikeTheMenuAndEachRunChoosesItsBackEnd) {
    Standins standins({BadService, Reply(200, "OK"), true});
    TestCspRegistration csp({75});
    ASSERT_NE(program.Window(), nullptr);
    THttpTypeValue httpType;
    httpType.SetDword(1);
    PostMessageW(program.Control(ID_pnl1, ID_Button_Check), BM_CLICK, 0, 0);  // the run outlives a sent click
    TakeVerdict();
    EXPECT_EQ(program.Rows(ID_LV_Stat).at(5).info.rfind(L"THTTP: ", 0), 0u);

    httpType.SetDword(2);
    PostMessageW(program.Control(ID_pnl1, ID_Button_Check), BM_CLICK, 0, 0);
    TakeVerdict();
    const auto rows = program.Rows(ID_LV_Stat);
    ASSERT_EQ(Ids(rows), ExpectedIds(TagRegular));
    EXPECT_EQ(rows[5].info.rfind(L"TWinHTTP: ", 0), 0u);
    EXPECT_EQ(rows[1].caption, L"Проверка соединения с " + Wide(VORSALT_SERVICE_HOST) + L" по 443 порту");
    EXPECT_EQ(rows[2].caption, L"Проверка наличия криптопровайдера КриптоПро CSP");
    EXPECT_EQ(rows[2].info, L"Установлен");
    EXPECT_EQ(rows[3].caption, L"Проверка функционирования КриптоПро CSP");
    EXPECT_EQ(rows[3].info, L"Успешно");
}

// A healthy run but for one check: its row, and the verdict it leaves.
TEST_F(MainWindow, OneCheckFails) {
    const std::wstring host = Wide(VORSALT_SERVICE_HOST);
    const struct {
        const char* what;
        StandinScripts scripts;
        int check;
        std::wstring infoHead, infoTail;
        std::wstring verdict;
    } runs[] = {
        {"the chain: not on the CA web host, no root in the store",
         {GoodService, Reply(200, "OK"), true, CaWebSite(Reply(404, ""))},
         ciRootInstalled,
         ChainNotLoaded + L"TWinHTTP: ",
         NoRoot,
         Success + L"\r\nВместе с тем имеются следующие рекомендации:\r\n" + ReadDiagnostics},
        // The training complex answered, so the failure recommends nothing more.
        {"the time stamp",
         {Service(Reply(200, "kind=1;id=112-233-445 95"), Reply(500, "TSP down")), Reply(200, "OK"), true},
         ciTSPOCSPProxy,
         L"LUMCLIENT: сервер ЯСК " + host + L" ответил 500: TSP down",
         L"",
         Success},
        {"the test signature",
         {Service(Reply(500, "no signer")), Reply(200, "OK"), true},
         ciSign,
         L"LUMCLIENT: сервер ЯСК " + host + L" ответил 500: no signer",
         L"",
         Success + L"\r\nВместе с тем имеются следующие рекомендации:\r\n" + L"\r\n - " +
             Wide(GetRecomendText(rcSignatureFailed))},
    };
    ASSERT_NE(program.Window(), nullptr);
    for (const auto& r : runs) {
        SCOPED_TRACE(r.what);
        // The stand-ins' set-up and clean-up touch the stores while the test provider is away.
        Standins standins(r.scripts);
        TestCspRegistration csp({75});
        program.Command(ID_mni_N18);
        EXPECT_EQ(TakeVerdict(), r.verdict);
        const auto rows = program.Rows(ID_LV_Stat);
        ASSERT_EQ(Ids(rows), ExpectedIds(TagRegular));
        for (const auto& row : rows) {
            const int index = std::stoi(row.id);
            if (index != r.check) {
                EXPECT_EQ(row.image, 0) << index << " " << vcl::ToAnsi(row.info);
                continue;
            }
            EXPECT_EQ(row.image, 1);
            EXPECT_EQ(row.caption, Wide(TextsOf(index, SelectEndpoints(TagRegular)).Result));
            EXPECT_EQ(row.info.rfind(r.infoHead, 0), 0u) << vcl::ToAnsi(row.info);
            EXPECT_TRUE(EndsWith(row.info, r.infoTail)) << vcl::ToAnsi(row.info);
        }
    }
}

TEST_F(MainWindow, ProviderWarningAndHashFailure) {
    Standins standins({GoodService, Reply(200, "OK"), true});
    ASSERT_NE(program.Window(), nullptr);
    TestCspRegistration csp({80});
    TestCspRegistration::SetSwitch(TESTCSP_FAIL_HASH_VALUE, static_cast<DWORD>(NTE_FAIL));
    CryptoProSettings settings;
    settings.SetText(CryptoProSettings::SettingsKey, "Version", "3.6.5359");
    program.Command(ID_mni_N18);
    // The training complex answers, so the verdict opens with the success sentence.
    EXPECT_EQ(TakeVerdict(), Success +
                                 L"\r\nВместе с тем имеются следующие рекомендации:\r\n"
                                 L"\r\n - Рекомендуется переустановить КриптоПро CSP."
                                 L"\r\n - Проверьте содержимое диагностических сообщений.");
    const auto rows = program.Rows(ID_LV_Stat);
    ASSERT_EQ(Ids(rows), ExpectedIds(TagRegular));
    EXPECT_EQ(rows[2].caption, L"КриптоПро CSP");
    EXPECT_EQ(rows[2].info,
              L"Необходимо установить версию КриптоПро CSP выше 3.6.7777. В настоящее время установлена 3.6.5359");
    EXPECT_EQ(rows[2].image, 2);
    EXPECT_EQ(rows[3].caption, L"Работоспособность КриптоПро CSP");
    EXPECT_EQ(rows[3].info.substr(0, 42), L"_hash. Getting CryptMsgGetParam  failed.\r\n");
    EXPECT_EQ(rows[3].image, 1);
}

TEST_F(MainWindow, IdentifierFillingItsBufferIsShownWithinIt) {
    // A simple extended signature whose identifier is longer than the buffer: the library fills
    // its 100 bytes without a NUL.
    const std::string identifier(120, '4');
    Standins standins({Service(Reply(200, "kind=7;id=" + identifier)), Reply(200, "OK"), true});
    TestCspRegistration csp({75});
    ASSERT_NE(program.Window(), nullptr);
    program.Command(ID_mni_N18);
    EXPECT_EQ(TakeVerdict(), Success);
    const TRemoteRow signature = RowOf(program.Rows(ID_LV_Stat), ciSign);
    EXPECT_EQ(signature.image, 0);
    EXPECT_EQ(signature.caption, L"Проверка формирования Электронной Подписи");
    EXPECT_EQ(signature.info, L"Простая расширенная: " + Wide(identifier.substr(0, 100)));
}

TEST_F(MainWindow, ClosesFromItsCloseBox) {
    ASSERT_NE(program.Window(), nullptr);
    PostMessageW(program.Window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit(10000));
}

}  // namespace
