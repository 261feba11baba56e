// Vorsalt.exe end to end: its main window driven by window messages from this process, with
// listeners standing in for the service host.
#include "Endpoints.h"
#include "LoopbackListener.h"
#include "MainIds.h"
#include "RemoteWindow.h"
#include "TestCspSetup.h"
#include "Text.h"
#include <winsock2.h>
#include <ws2tcpip.h>
#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

const std::wstring VerdictTitle = L"Результаты тестирования";

std::wstring Wide(const std::string& ansi) { return vcl::ToWide(ansi); }

class MainWindow : public testing::Test {
protected:
    static void SetUpTestSuite() { WSADATA d; WSAStartup(MAKEWORD(2, 2), &d); }
    static void TearDownTestSuite() { WSACleanup(); }

    bool StripVisible() const { return IsWindowVisible(program.Control(ID_Panel1)) != FALSE; }
    int BarPosition() const
    {
        return static_cast<int>(SendMessageW(program.Control(ID_Panel1, ID_PB1), PBM_GETPOS, 0, 0));
    }
    // Waits for the verdict box, returns its text and closes it.
    std::wstring TakeVerdict()
    {
        HWND box = program.WaitForMessageBox(VerdictTitle, 30000);
        if (!box) { ADD_FAILURE() << "no verdict box"; return L""; }
        EXPECT_TRUE(StripVisible()) << "the strip shows until the verdict is closed";
        std::wstring text = MessageBoxText(box);
        rowsAtVerdict = program.Rows(ID_LV_Stat);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, 5000));
        EXPECT_TRUE(WaitFor([&] { return !StripVisible(); }, 5000)) << "the strip hides after the verdict";
        EXPECT_EQ(BarPosition(), 0);
        return text;
    }

    RemoteProgram program{L"Vorsalt.exe"};
    std::vector<RemoteRow> rowsAtVerdict;
};

TEST_F(MainWindow, StartsIdle)
{
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

TEST_F(MainWindow, RunFromMenuShowsRowsAndVerdict)
{
    ASSERT_NE(program.Window(), nullptr);
    LoopbackListener http(VORSALT_SERVICE_HOST, 80);  // 443 stays closed
    const std::wstring host = Wide(VORSALT_SERVICE_HOST);

    program.Command(ID_mni_N18);
    HWND box = program.WaitForMessageBox(VerdictTitle, 30000);
    ASSERT_NE(box, nullptr);
    // A run command while the verdict is up must not start a second run.
    program.Command(ID_N2);
    const std::wstring verdict = TakeVerdict();

    EXPECT_EQ(verdict, L"Тестирование не успешно. рабочее место не готово к работе с ЭП"
                       L"\r\nРекомендуется выполнить следующие действия:\r\n"
                       L"\r\n - Проверьте сетевые настройки доступа к ЯСК ВАРТО."
                       L"\r\n - Не установлен КриптоПро CSP. Для продолжения работы проведите его установку.");
    const auto rows = program.Rows(ID_LV_Stat);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].caption, L"Проверка соединения с " + host + L" по 80 порту");
    EXPECT_EQ(rows[0].info, L"Успешно");
    EXPECT_EQ(rows[0].id, L"0");
    EXPECT_EQ(rows[0].image, 0);
    EXPECT_EQ(rows[1].caption, L"Соединение с cервером " + host + L" по 443 порту");
    EXPECT_EQ(rows[1].info, L"Failed to connect.\r\nError code: 10061");
    EXPECT_EQ(rows[1].id, L"1");
    EXPECT_EQ(rows[1].image, 1);
    // No provider: check 2 fails, and check 3 adds no recommendation of its own.
    EXPECT_EQ(rows[2].caption, L"КриптоПро CSP");
    EXPECT_EQ(rows[2].info, L"В системе не установлен Крипто-Про");
    EXPECT_EQ(rows[2].id, L"2");
    EXPECT_EQ(rows[2].image, 1);
    EXPECT_EQ(rows[3].caption, L"Работоспособность КриптоПро CSP");
    EXPECT_EQ(rows[3].info.substr(0, 37), L"_hash. Getting CMSG_HASHED  failed.\r\n");
    EXPECT_EQ(rows[3].id, L"3");
    EXPECT_EQ(rows[3].image, 1);

    EXPECT_EQ(program.WaitForMessageBox(VerdictTitle, 1500), nullptr) << "a second run started";
    EXPECT_EQ(program.Rows(ID_LV_Stat)[0].caption, rows[0].caption);

    SendMessageW(program.Control(ID_pnl1, ID_B_Exit), BM_CLICK, 0, 0);
    EXPECT_TRUE(program.WaitForExit(10000));
}

TEST_F(MainWindow, ButtonRunsLikeTheMenuAndEveryCheckPasses)
{
    ASSERT_NE(program.Window(), nullptr);
    LoopbackListener http(VORSALT_SERVICE_HOST, 80), https(VORSALT_SERVICE_HOST, 443);
    TestCspRegistration csp({75});
    PostMessageW(program.Control(ID_pnl1, ID_Button_Check), BM_CLICK, 0, 0);  // the run outlives a sent click
    EXPECT_EQ(TakeVerdict(), L"Тестирование сервисов подписи и ЯСК ВАРТО на рабочем месте успешно.");
    const auto rows = program.Rows(ID_LV_Stat);
    ASSERT_EQ(rows.size(), 4u);
    for (const auto& row : rows) EXPECT_EQ(row.image, 0);
    EXPECT_EQ(rows[1].caption, L"Проверка соединения с " + Wide(VORSALT_SERVICE_HOST) + L" по 443 порту");
    EXPECT_EQ(rows[1].info, L"Успешно");
    EXPECT_EQ(rows[2].caption, L"Проверка наличия криптопровайдера КриптоПро CSP");
    EXPECT_EQ(rows[2].info, L"Установлен");
    EXPECT_EQ(rows[3].caption, L"Проверка функционирования КриптоПро CSP");
    EXPECT_EQ(rows[3].info, L"Успешно");
}

TEST_F(MainWindow, ProviderWarningAndHashFailure)
{
    ASSERT_NE(program.Window(), nullptr);
    LoopbackListener http(VORSALT_SERVICE_HOST, 80), https(VORSALT_SERVICE_HOST, 443);
    TestCspRegistration csp({80});
    TestCspRegistration::SetSwitch(TESTCSP_FAIL_HASH_VALUE, static_cast<DWORD>(NTE_FAIL));
    CryptoProSettings settings;
    settings.SetText(CryptoProSettings::SettingsKey, "Version", "3.6.5359");
    program.Command(ID_mni_N18);
    EXPECT_EQ(TakeVerdict(), L"Тестирование не успешно. рабочее место не готово к работе с ЭП"
                             L"\r\nРекомендуется выполнить следующие действия:\r\n"
                             L"\r\n - Рекомендуется переустановить КриптоПро CSP."
                             L"\r\n - Проверьте содержимое диагностических сообщений.");
    const auto rows = program.Rows(ID_LV_Stat);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[2].caption, L"КриптоПро CSP");
    EXPECT_EQ(rows[2].info, L"Необходимо установить версию КриптоПро CSP выше 3.6.7777. В настоящее время установлена 3.6.5359");
    EXPECT_EQ(rows[2].image, 2);
    EXPECT_EQ(rows[3].caption, L"Работоспособность КриптоПро CSP");
    EXPECT_EQ(rows[3].info.substr(0, 42), L"_hash. Getting CryptMsgGetParam  failed.\r\n");
    EXPECT_EQ(rows[3].image, 1);
}

TEST_F(MainWindow, AlternativeRunAimsAtAlternativeHostAndReplacesRows)
{
    ASSERT_NE(program.Window(), nullptr);
    LoopbackListener http(VORSALT_SERVICE_HOST, 80), https(VORSALT_SERVICE_HOST, 443);
    program.Command(ID_N1);  // the training complex: nothing listens there
    TakeVerdict();
    EXPECT_EQ(program.Rows(ID_LV_Stat).at(0).caption,
              L"Соединение с cервером " + Wide(VORSALT_TRAINING_HOST) + L" по 80 порту");

    program.Command(ID_N2);
    TakeVerdict();
    const auto rows = program.Rows(ID_LV_Stat);
    ASSERT_EQ(rows.size(), 4u);
    const std::wstring alt = Wide(VORSALT_ALTERNATIVE_HOST);
    EXPECT_EQ(rows[0].caption, L"Соединение с cервером " + alt + L" по 80 порту");
    EXPECT_EQ(rows[1].caption, L"Соединение с cервером " + alt + L" по 443 порту");
    EXPECT_EQ(rows[1].image, 1);
}

TEST_F(MainWindow, ClosesFromItsCloseBox)
{
    ASSERT_NE(program.Window(), nullptr);
    PostMessageW(program.Window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit(10000));
}

}  // namespace
