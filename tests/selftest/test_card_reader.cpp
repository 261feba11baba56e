// The smart-card reader search against the stand-in winscard.dll (standins/winscard), which
// answers as VORSALT_SCARD scripts it and lists the calls it got in VORSALT_SCARD_JOURNAL.
#include "Func_scard.h"
#include "DebugOutputCapture.h"
#include "ErrorText.h"
#include "ScriptedStandin.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const char* const severalCards = "Обнаружено несколько карт. Извлеките все лишние карты, а затем попробуйте заново.";

// One reader of the script: name|state|shared|direct|exclusive|status|disconnect (hex results).
std::string Reader(const std::string& name, int state, const std::string& rest = "") {
    return "reader=" + name + "|" + std::to_string(state) + rest + ";";
}

// A failure text as composed while the thread's last error is 0: nothing on the way (stand-in,
// window logger) may leave a last error behind.
std::string Composed(const std::string& message, unsigned code) {
    char hex[16];
    snprintf(hex, sizeof hex, "%x", code);
    return message + "\r\nОшибка LE № 0x" + hex + ": " + GetSystemErrorMessage(code, false);
}

std::string Line(const std::string& text) {
    return "[" + std::to_string(GetCurrentThreadId()) + "]\t" + text;
}

class CardService : public ::testing::Test {
protected:
    void Script(const std::string& script) { scard.Script(script); }

    int Find(const std::string& script) {
        Script(script);
        SetLastError(0);
        TDebugOutputCapture capture;
        const int result = FindCardReader(reader, &errorText);
        lines = capture.Lines();
        return result;
    }

    std::string Journal() const { return scard.Journal(); }

    TScriptedStandin scard{"VORSALT_SCARD", "VORSALT_SCARD_JOURNAL"};
    std::string reader, errorText;
    std::vector<std::string> lines;
};

TEST_F(CardService, NoServiceIsReportedWithTheComposedText) {
    EXPECT_EQ(Find("establish=8010001D"), static_cast<int>(0x8010001D));
    EXPECT_EQ(reader, "");
    EXPECT_EQ(errorText, Composed("Failed SCardEstablishContext", 0x8010001D));
    EXPECT_EQ(Journal(), "establish 0;");
    EXPECT_TRUE(lines.empty());
}

TEST_F(CardService, ListFailuresGiveTheirTextsAndReleaseTheContext) {
    struct Case {
        const char* script;
        unsigned code;
        const char* text;
    } const cases[] = {
        {"list=8010002E", 0x8010002E, "Reader is not in groups."},
        {"list=8010001D", 0x8010001D, "Failed SCardListReaders"},
        {"free=80100011;"
         "reader=A|2",
         0x80100011, "Failed SCardFreeMemory"},
    };
    for (const Case& c : cases) {
        reader.clear();
        errorText.clear();
        EXPECT_EQ(Find(c.script), static_cast<int>(c.code)) << c.script;
        EXPECT_EQ(errorText, c.text) << c.script;
        EXPECT_EQ(reader, "") << c.script;
        EXPECT_EQ(Journal().rfind("establish 0;list all auto;", 0), 0u) << Journal();
        EXPECT_EQ(Journal().substr(Journal().size() - 8), "release;") << Journal();
    }
}

TEST_F(CardService, WithoutTheCallersTextTheReasonGoesToTheDebugOutput) {
    Script("list=8010001D");
    TDebugOutputCapture capture;
    EXPECT_EQ(FindCardReader(reader, nullptr), static_cast<int>(0x8010001D));
    EXPECT_TRUE(Logged(capture, "Failed SCardListReaders"));
}

TEST_F(CardService, NoReaderListedIsASuccessWithoutReader) {
    EXPECT_EQ(Find(""), 0);
    EXPECT_EQ(reader, "");
    EXPECT_EQ(Journal(), "establish 0;list all auto;free;release;");
}

TEST_F(CardService, CardInTheSecondReader) {
    EXPECT_EQ(Find(Reader("Reader A", 1) + Reader("Reader B", 2)), 0);
    EXPECT_EQ(reader, "Reader B");
    EXPECT_EQ(errorText, "");
    const std::vector<std::string> expected = {
        Line("Reader located: Reader A"),
        Line("SCardConnect with SCARD_SHARE_SHARED"),
        Line("Try to disconect from SCard"),
        Line("Reader tested: Reader A with state 1"),
        Line("SmartCard absent in reader: Reader A"),
        Line("Reader located: Reader B"),
        Line("SCardConnect with SCARD_SHARE_SHARED"),
        Line("Try to disconect from SCard"),
        Line("Reader tested: Reader B with state 2"),
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(Journal(),
              "establish 0;list all auto;free;"
              "connect Reader A 2 3;status Reader A 200 32;disconnect Reader A 0;"
              "connect Reader B 2 3;status Reader B 200 32;disconnect Reader B 0;release;");
}

TEST_F(CardService, StatesOtherThanAbsentCountAsCards) {
    struct Case {
        std::string script;
        int result;
        const char* reader;
        const char* text;
    } const cases[] = {
        {Reader("A", 1) + Reader("B", 1), 0, "", ""},
        {Reader("A", 0), 0, "A", ""},
        {Reader("A", 6) + Reader("B", 1), 0, "A", ""},
        {Reader("A", 2) + Reader("B", 1) + Reader("C", 4), -1, "A", severalCards},
        {Reader("A", 0) + Reader("B", 5), -1, "A", severalCards},
    };
    for (const Case& c : cases) {
        reader.clear();
        errorText.clear();
        EXPECT_EQ(Find(c.script), c.result) << c.script;
        EXPECT_EQ(reader, c.reader) << c.script;
        EXPECT_EQ(errorText, c.text) << c.script;
        EXPECT_EQ(Journal().substr(Journal().size() - 8), "release;") << Journal();
    }
}

TEST_F(CardService, SecondCardStopsTheSearch) {
    EXPECT_EQ(Find(Reader("A", 2) + Reader("B", 2) + Reader("C", 2)), -1);
    EXPECT_EQ(Journal(),
              "establish 0;list all auto;free;"
              "connect A 2 3;status A 200 32;disconnect A 0;"
              "connect B 2 3;status B 200 32;disconnect B 0;release;");
    EXPECT_EQ(lines.back(), Line("Reader tested: B with state 2"));
}

TEST_F(CardService, SharedRefusedDirectAccepted) {
    EXPECT_EQ(Find(Reader("A", 2, "|8010000B")), 0);
    EXPECT_EQ(reader, "A");
    // The shared failure's text stays after the direct connection succeeded.
    EXPECT_EQ(errorText, Composed("Failed SCardConnect with SCARD_SHARE_SHARED", 0x8010000B));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1], Line(errorText));
    EXPECT_EQ(lines[2], Line("SCardConnect with SCARD_SHARE_DIRECT"));
    EXPECT_EQ(Journal(),
              "establish 0;list all auto;free;connect A 2 3;connect A 3 3;"
              "status A 200 32;disconnect A 0;release;");
}

TEST_F(CardService, UnreachableReaderIsLoggedAndSkipped) {
    const std::string refused = "|8010000B|8010000B|8010000C";
    EXPECT_EQ(Find(Reader("A", 2, refused) + Reader("B", 2)), 0);
    EXPECT_EQ(reader, "B");
    EXPECT_EQ(errorText, "");
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], Line("Reader located: A"));
    EXPECT_EQ(lines[1], Line(Composed("Failed SCardConnect with SCARD_SHARE_SHARED", 0x8010000B)));
    EXPECT_EQ(lines[2], Line(Composed("Failed SCardConnect with SCARD_SHARE_DIRECT", 0x8010000B)));
    EXPECT_EQ(lines[3], Line("IsCardInReader failed for reader: A: " +
                             Composed("Failed SCardConnect with SCARD_SHARE_EXCLUSIVE", 0x8010000C)));
    EXPECT_EQ(lines[4], Line("Reader located: B"));
    EXPECT_EQ(Journal(),
              "establish 0;list all auto;free;connect A 2 3;connect A 3 3;connect A 1 3;"
              "connect B 2 3;status B 200 32;disconnect B 0;release;");

    // The last reader's failure is the result; its text was dropped.
    errorText.clear();
    EXPECT_EQ(Find(Reader("A", 2) + Reader("B", 2, refused)), 0);
    EXPECT_EQ(reader, "A");
    reader.clear();
    EXPECT_EQ(Find(Reader("A", 1) + Reader("B", 2, refused)), static_cast<int>(0x8010000C));
    EXPECT_EQ(reader, "");
    EXPECT_EQ(errorText, "");
}

TEST_F(CardService, FailedReleaseAfterSuccessBecomesTheResult) {
    EXPECT_EQ(Find("release=80100003;" + Reader("A", 2)), static_cast<int>(0x80100003));
    EXPECT_EQ(reader, "A");
    EXPECT_EQ(errorText, "Failed SCardReleaseContext");

    reader.clear();
    errorText.clear();
    EXPECT_EQ(Find("release=80100003;" + Reader("A", 2) + Reader("B", 2)), -1);
    EXPECT_EQ(errorText, std::string(severalCards) + "Failed SCardReleaseContext");
}

// IsCardInReader and ListCardReaders on a context of their own.
class CardContext : public CardService {
protected:
    void Open(const std::string& script) {
        Script(script);
        ASSERT_EQ(SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &context), SCARD_S_SUCCESS);
    }
    void TearDown() override {
        if (context)
            SCardReleaseContext(context);
    }
    SCARDCONTEXT context = 0;
};

TEST_F(CardContext, StatusAndDisconnectFailures) {
    struct Case {
        std::string rest;
        unsigned result;
        std::string text;
    } const cases[] = {
        {"|0|0|0|0|0", 0, ""},
        {"|0|0|0|80100069|0", 0x80100069, "Failed SCardStatus"},
        {"|0|0|0|0|80100003", 0x80100003, "Failed SCardDisconnect"},
        {"|0|0|0|80100069|80100003", 0x80100069, "Failed SCardStatus: Failed SCardDisconnect"},
    };
    for (const Case& c : cases) {
        Open(Reader("A", 4, c.rest));
        std::string text;
        DWORD state = 77;
        EXPECT_EQ(IsCardInReader(context, "A", state, &text), static_cast<int>(c.result)) << c.rest;
        EXPECT_EQ(text, c.text) << c.rest;
        if (c.result == 0) {
            EXPECT_EQ(state, 4u);
        }
        EXPECT_NE(Journal().find("disconnect A 0;"), std::string::npos) << Journal();
        SCardReleaseContext(context);
        context = 0;
    }
}

TEST_F(CardContext, DisconnectFailureAppendsToAnEarlierText) {
    Open(Reader("A", 2, "|8010000B|0|0|0|80100003"));
    std::string text;
    DWORD state = 0;
    EXPECT_EQ(IsCardInReader(context, "A", state, &text), static_cast<int>(0x80100003));
    EXPECT_EQ(text, Composed("Failed SCardConnect with SCARD_SHARE_SHARED", 0x8010000B) + ": Failed SCardDisconnect");
}

TEST_F(CardContext, ReaderNamesInOrderAndListCleared) {
    Open(Reader("Aktiv Rutoken ECP 0", 2) + Reader("Reader B", 1) + Reader("C", 1));
    std::vector<std::string> readers = {"stale"};
    std::string text;
    EXPECT_EQ(ListCardReaders(context, readers, &text), 0);
    EXPECT_EQ(readers, (std::vector<std::string>{"Aktiv Rutoken ECP 0", "Reader B", "C"}));
    EXPECT_EQ(text, "");
    EXPECT_EQ(Journal(), "establish 0;list all auto;free;");
}

}  // namespace
