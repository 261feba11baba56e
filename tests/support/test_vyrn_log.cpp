#include "VyrnLog.h"
#include "DebugOutputCapture.h"
#include <gtest/gtest.h>
#include <windows.h>

using Lines = std::vector<std::string>;

TEST(VYRNLog, WritesPrefixAndMessageAsOneString) {
    TDebugOutputCapture capture(TCaptureAt::Exceptions);
    VYRNLog("abc");
    VYRNLog("THTTP: Неизвестная ошибка\r\nОшибка LE № 0x5: Доступ запрещён.\r\n");
    EXPECT_EQ(capture.Lines(),
              (Lines{"VYRNLog: abc", "VYRNLog: THTTP: Неизвестная ошибка\r\nОшибка LE № 0x5: Доступ запрещён.\r\n"}));
}

TEST(VYRNLog, DropsEmptyMessage) {
    TDebugOutputCapture capture(TCaptureAt::Exceptions);
    VYRNLog("");
    VYRNLog(std::string());
    EXPECT_TRUE(capture.Lines().empty());
}

TEST(VYRNLog, CaptureSeesOtherDebugOutput) {
    // The capture itself is the judge: it must see a plain OutputDebugStringA too.
    TDebugOutputCapture capture(TCaptureAt::Exceptions);
    OutputDebugStringA("plain");
    OutputDebugStringW(L"\u042f\u0421\u041a");
    EXPECT_EQ(capture.Lines(), (Lines{"plain", "ЯСК"}));
}
