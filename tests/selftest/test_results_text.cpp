// The results text of a run's results, the detail's colour, the proxy line and the name a report
// is saved under, as tables.
#include "CheckTable.h"
#include "DebugInfo.h"
#include "FDetail.h"
#include "ResultsText.h"
#include "RunResults.h"
#include "SupportReport.h"
#include "Text.h"
#include <gtest/gtest.h>
#include <cstring>

namespace {

// A result of the table's check.
TCheckResult ResultOf(int index, const std::string& caption, int image, const std::string& info) {
    return {BuiltInChecks()[index], {caption, image, info}};
}

TEST(ResultsText, RowsIdentifierAndVerdict) {
    TRunState run;
    run.Results = {
        ResultOf(ciConnect80, "Соединение с cервером 127.0.0.2 по 80 порту", 1,
                 "Failed to connect.\r\nError code: 10061"),
        ResultOf(ciIsCSP, "Проверка наличия криптопровайдера КриптоПро CSP", 0, "Установлен"),
        ResultOf(ciZantholder, "ПО Зантхолдер", 2, "Не найдено"),
        ResultOf(ciSign, "Проверка формирования Электронной Подписи", 3, ""),  // about to run
    };
    run.Request = std::make_unique<_AUTH_REQUEST>();
    std::memcpy(run.Identifier, "112-233-445 95", 15);
    run.RecomendText = "Вердикт.\r\n - совет";
    EXPECT_EQ(ResultsText(run),
              "! Соединение с cервером 127.0.0.2 по 80 порту[Connect80]: Failed to connect.\r\nError code: 10061\r\n"
              "  Проверка наличия криптопровайдера КриптоПро CSP[IsCSP]: Установлен\r\n"
              "! ПО Зантхолдер[Zantholder]: Не найдено\r\n"
              "! Проверка формирования Электронной Подписи: \r\n"
              "СНИЛС: \r\n112-233-445 95\r\n"
              "\r\n[Рекомендации]\r\nВердикт.\r\n - совет\r\n");
}

TEST(ResultsText, BeforeAnyRunAndAfterAFailedSignature) {
    TRunState run;
    EXPECT_EQ(ResultsText(run), "");
    run.Request = std::make_unique<_AUTH_REQUEST>();
    EXPECT_EQ(ResultsText(run), "СНИЛС: \r\n\r\n");
    // An identifier that fills its buffer is read within it.
    std::memset(run.Identifier, '7', sizeof run.Identifier);
    run.Results = {ResultOf(ciSign, "Подпись", 1, "")};
    run.RecomendText = "В";
    EXPECT_EQ(ResultsText(run),
              "! Подпись[Sign]: \r\nСНИЛС: \r\n" + std::string(100, '7') + "\r\n\r\n[Рекомендации]\r\nВ\r\n");
}

TEST(CheckResult, NamesItsCheckOnceItsRoutineHasEnded) {
    struct Case {
        int image;
        std::string id;
    } const cases[] = {{ImagePassed, "9"}, {ImageFailed, "9"}, {ImageWarning, "9"}, {ImageRunning, ""}};
    for (const Case& c : cases) {
        const TCheckResult result = ResultOf(ciSign, "c", c.image, "");
        EXPECT_EQ(result.Done(), c.image != ImageRunning) << c.image;
        EXPECT_EQ(result.IdText(), c.id) << c.image;
    }
    EXPECT_EQ(ResultOf(ciConnect80, "c", ImagePassed, "").IdText(), "0");
    EXPECT_EQ(ResultOf(ciZantholder, "c", ImageFailed, "").IdText(), "10");
}

TEST(CategoryColor, ByImageAndLevel) {
    const TCriticality critical = TCriticality::Critical, workstation = TCriticality::ForWorkstation,
                       notCritical = TCriticality::NotCritical;
    struct Case {
        int image;
        TCriticality level;
        TColor colour;
    } const cases[] = {
        {1, critical, clRed},        {1, workstation, clYellow},  {1, notCritical, clSilver},
        {2, critical, clYellow},     {2, workstation, clYellow},  {2, notCritical, clYellow},
        {0, critical, clBtnFace},    {0, notCritical, clBtnFace}, {3, critical, clBtnFace},
        {3, workstation, clBtnFace}, {-1, critical, clBtnFace},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CategoryColor(c.image, c.level), c.colour) << c.image << " " << static_cast<int>(c.level);
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
