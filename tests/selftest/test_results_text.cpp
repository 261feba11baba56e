// The results text, a row's check index, the detail's colour, the proxy line and the name a
// report is saved under, as tables.
#include "CheckTable.h"
#include "DebugInfo.h"
#include "FDetail.h"
#include "ResultsText.h"
#include "SupportReport.h"
#include "Text.h"
#include <gtest/gtest.h>

namespace {

TEST(RowCheckIndex, DecimalNumbersOfTheTable) {
    struct Case {
        const char* id;
        int index;
    } const cases[] = {
        {"0", 0},  {"7", 7},   {"10", 10}, {"11", 11},  {"011", 11}, {"12", -1}, {"", -1},
        {"-1", -1}, {"+3", -1}, {" 3", -1}, {"3 ", -1}, {"x", -1},   {"3x", -1}, {"99999999999", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RowCheckIndex(c.id), c.index) << "\"" << c.id << "\"";
}

TEST(ResultsText, RowsIdentifierAndVerdict) {
    const std::vector<TResultRow> rows = {
        {"Соединение с cервером 127.0.0.2 по 80 порту", 1, "Failed to connect.\r\nError code: 10061", "0"},
        {"Проверка наличия криптопровайдера КриптоПро CSP", 0, "Установлен", "2"},
        {"ПО Зантхолдер", 2, "Не найдено", "10"},
        {"Проверка формирования Электронной Подписи", 3, "", ""},  // about to run
        {"Без номера", 0, "текст", "x"},
    };
    EXPECT_EQ(ResultsText(rows, true, "112-233-445 95", "Вердикт.\r\n - совет"),
              "! Соединение с cервером 127.0.0.2 по 80 порту[Connect80]: Failed to connect.\r\nError code: 10061\r\n"
              "  Проверка наличия криптопровайдера КриптоПро CSP[IsCSP]: Установлен\r\n"
              "! ПО Зантхолдер[Zantholder]: Не найдено\r\n"
              "! Проверка формирования Электронной Подписи: \r\n"
              "  Без номера: текст\r\n"
              "СНИЛС: \r\n112-233-445 95\r\n"
              "\r\n[Рекомендации]\r\nВердикт.\r\n - совет\r\n");
}

TEST(ResultsText, BeforeAnyRunAndAfterAFailedSignature) {
    EXPECT_EQ(ResultsText({}, false, "", ""), "");
    EXPECT_EQ(ResultsText({}, true, "", ""), "СНИЛС: \r\n\r\n");
    EXPECT_EQ(ResultsText({{"Конец", 0, "", "11"}}, false, "", "В"), "  Конец[End]: \r\n\r\n[Рекомендации]\r\nВ\r\n");
}

TEST(CategoryColor, ByImageAndLevel) {
    struct Case {
        int image, level;
        TColor colour;
    } const cases[] = {
        {1, 0, clRed},        {1, 1, clYellow},     {1, 2, clSilver},     {2, 0, clYellow},
        {2, 1, clYellow},     {2, 2, clYellow},     {0, 0, clBtnFace},    {0, 2, clBtnFace},
        {3, 0, clBtnFace},    {3, 1, clBtnFace},    {-1, 0, clBtnFace},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CategoryColor(c.image, c.level), c.colour) << c.image << " " << c.level;
    EXPECT_EQ(clSilver, RGB(192, 192, 192));
}

TEST(ProxyLine, EachCombinationOfTheTypeBits) {
    const std::string list = "Proxy\r\nIP: p:3128\r\nBypass: <local>";
    const std::string expected[16] = {
        "Proxy (0): ",
        "Proxy (1): Direct",
        "Proxy (2): " + list,
        "Proxy (3): Direct",
        "Proxy (4): Auto Proxy URL",
        "Proxy (5): Direct",
        "Proxy (6): Auto Proxy URL" + list,
        "Proxy (7): Direct",
        "Proxy (8): Auto detect",
        "Proxy (9): Direct",
        "Proxy (a): Auto detect" + list,
        "Proxy (b): Direct",
        "Proxy (c): Auto detectAuto Proxy URL",
        "Proxy (d): Direct",
        "Proxy (e): Auto detectAuto Proxy URL" + list,
        "Proxy (f): Direct",
    };
    for (int type = 0; type < 16; ++type)
        EXPECT_EQ(ProxyLine(type, "p:3128", "<local>"), expected[type]) << type;
    EXPECT_EQ(ProxyLine(0x12, "", ""), "Proxy (12): Proxy\r\nIP: \r\nBypass: ");
}

TEST(ReportFileName, TextExtensionInAnyLetterCase) {
    struct Case {
        const wchar_t* chosen;
        const wchar_t* saved;
    } const cases[] = {
        {L"C:\\r\\report.txt", L"C:\\r\\report.txt"},
        {L"C:\\r\\report.TXT", L"C:\\r\\report.TXT"},
        {L"C:\\r\\report.Txt", L"C:\\r\\report.Txt"},
        {L"C:\\r\\report.log", L"C:\\r\\report.log.txt"},
        {L"C:\\r\\report", L"C:\\r\\report.txt"},
        {L"C:\\r\\report.", L"C:\\r\\report..txt"},
        {L"C:\\r\\report.txt.bak", L"C:\\r\\report.txt.bak.txt"},
        {L"C:\\dir.txt\\report", L"C:\\dir.txt\\report.txt"},
        {L"C:\\r\\.txt", L"C:\\r\\.txt"},
        {L"C:\\r\\отчёт.тхт", L"C:\\r\\отчёт.тхт.txt"},  // Cyrillic letters are no ".txt"
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReportFileName(c.chosen), c.saved) << vcl::ToAnsi(c.chosen);
}

}  // namespace
