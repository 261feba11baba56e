// Checks 8 and 9 against the stand-in LUMCLIENT.DLL (standins/lumclient), which the program
// imports at load time: the stand-in answers as VORSALT_LUM scripts it, without the service, and
// lists every call with its arguments in VORSALT_LUM_JOURNAL.
#include "CheckTable.h"
#include "RecordingView.h"
#include "ScriptedStandin.h"
#include "TestRun.h"
#include "Tests.h"
#include <gtest/gtest.h>

namespace {

const std::string Host = "127.0.0.2";
const std::string TimeStampCall = "Enchance 2 {16 4 10 31323334353637383930} {16 2 0 null};";
const std::string Identifier100(100, '7');

std::string Address(const void* p) {
    return std::to_string(reinterpret_cast<uintptr_t>(p));
}

// The journal entry of a fresh request record whose buffer is at `buffer`.
std::string FreshRequest(const void* buffer) {
    return "Authentificate 1 {20 1 0 " + Address(buffer) + " zeroed 100};";
}

class LumChecks : public testing::Test {
protected:
    TScriptedStandin lum{"VORSALT_LUM", "VORSALT_LUM_JOURNAL"};
};

TEST_F(LumChecks, TimeStampPassesTheTestDatumInTwoItems) {
    lum.Script("enchance=0");
    std::string info;
    EXPECT_EQ(CheckTSPOCSPProxy(Host, info), 0);
    EXPECT_EQ(info, "");
    EXPECT_EQ(lum.Journal(), "SetLumIp " + Host + ";" + TimeStampCall);
}

TEST_F(LumChecks, TimeStampFailureTakesTheLibrarysText) {
    struct Case {
        const char* script;
        int result;
        const char* info;
    } const cases[] = {
        {"enchance=80000005|Служба штампов времени недоступна", static_cast<int>(0x80000005),
         "Служба штампов времени недоступна"},
        {"enchance=1", 1, ""},  // GetError gives null
        {"enchance=64|", 100, ""},
    };
    for (const Case& c : cases) {
        lum.Script(c.script);
        std::string info;
        EXPECT_EQ(CheckTSPOCSPProxy(Host, info), c.result) << c.script;
        EXPECT_EQ(info, c.info) << c.script;
        EXPECT_EQ(lum.Journal(), "SetLumIp " + Host + ";" + TimeStampCall + "GetError;") << c.script;
    }
}

// A request record as the run makes it, with bytes after the buffer that are no part of it.
struct Request {
    Request() {
        record.size = sizeof record;
        record.second = 1;
        record.buffer = buffer;
        record.bufferSize = sizeof buffer;
    }
    _AUTH_REQUEST record{};
    char buffer[SignerIdentifierSize] = {};
    char after[8] = "XXXXXXX";
};

TEST_F(LumChecks, SignatureKindAndIdentifier) {
    struct Case {
        std::string script, info;
    } const cases[] = {
        {"authentificate=0;kind=1;id=112-233-445 95", "Усиленная: 112-233-445 95"},
        {"authentificate=0;kind=0;id=", "Простая расширенная: "},
        {"authentificate=0;kind=7;id=1", "Простая расширенная: 1"},
        {"authentificate=0;kind=1", "Усиленная: "},  // nothing written: the zeroed buffer
        // The library fills the whole buffer without a NUL: its 100 bytes and nothing after them.
        {"authentificate=0;kind=1;id=" + Identifier100, "Усиленная: " + Identifier100},
        {"authentificate=0;kind=1;id=" + Identifier100 + "89", "Усиленная: " + Identifier100},
    };
    for (const Case& c : cases) {
        lum.Script(c.script);
        Request request;
        std::string info;
        EXPECT_EQ(CheckSign(Host, request.record, info), 0) << c.script;
        EXPECT_EQ(info, c.info) << c.script;
        EXPECT_EQ(lum.Journal(), "SetLumIp " + Host + ";" + FreshRequest(request.buffer)) << c.script;
    }
}

TEST_F(LumChecks, SignatureWithoutBufferGivesTheKindAlone) {
    lum.Script("authentificate=0;kind=1;id=112-233-445 95");
    Request noSize, noBuffer;
    noSize.record.bufferSize = 0;
    noBuffer.record.buffer = nullptr;
    for (Request* request : {&noSize, &noBuffer}) {
        std::string info;
        EXPECT_EQ(CheckSign(Host, request->record, info), 0);
        EXPECT_EQ(info, "Усиленная");
    }
}

TEST_F(LumChecks, SignatureFailureTakesTheLibrarysText) {
    struct Case {
        const char* script;
        int result;
        const char* info;
    } const cases[] = {
        {"authentificate=80000003|Токен не найден", static_cast<int>(0x80000003), "Токен не найден"},
        {"authentificate=80000003", static_cast<int>(0x80000003), ""},
        {"authentificate=8000000A", static_cast<int>(0x8000000A), ""},
        {"authentificate=8000000A|Нет учетной записи", static_cast<int>(0x8000000A), "Нет учетной записи"},
        // Whatever the library wrote, a failed signature shows only its words.
        {"authentificate=5|Сбой;kind=1;id=112", 5, "Сбой"},
    };
    for (const Case& c : cases) {
        lum.Script(c.script);
        Request request;
        std::string info;
        EXPECT_EQ(CheckSign(Host, request.record, info), c.result) << c.script;
        EXPECT_EQ(info, c.info) << c.script;
        EXPECT_EQ(lum.Journal(), "SetLumIp " + Host + ";" + FreshRequest(request.buffer) + "GetError;") << c.script;
    }
}

// Checks 8 and 9 in a run, after a scripted check 7 (whether the training complex answered
// decides the recommendation of a failed signature).
class LumRun : public LumChecks {
protected:
    static int Answers(RunContext&, std::string&) { return 0; }
    static int Silent(RunContext&, std::string&) { return 1; }

    void Run(const std::string& script, bool trainingAnswers, int tag = TagRegular) {
        TCheck training = BuiltInChecks()[ciCheckLumWebTK];
        training.Run = trainingAnswers ? Answers : Silent;
        const std::vector<TCheck> checks = {training, BuiltInChecks()[ciTSPOCSPProxy], BuiltInChecks()[ciSign]};
        lum.Script(script);
        RunTests(tag, view, state, checks);
    }
    TRecordedRow RowOf(int index) const {
        for (const TRecordedRow& row : view.rows)
            if (row.id == std::to_string(index))
                return row;
        return {};
    }

    TRecordingView view;
    TRunState state;
};

const std::string Success = "Тестирование сервисов подписи и ЯСК ВАРТО на рабочем месте успешно.";
const std::string Failure = "Тестирование не успешно. рабочее место не готово к работе с ЭП";
const std::string RunAll = " - Выполнить все проверки в полном объеме для более точной диагностики.";

TEST_F(LumRun, RowsAndRecommendations) {
    const std::string t8 = "Проверка служб ЯСК (TSP)", r8 = "Работоспособность служб ЯСК (TSP)";
    const std::string t9 = "Проверка формирования Электронной Подписи";
    const std::string signed9 = "authentificate=0;kind=1;id=112-233-445 95";
    const TRecordedRow passed8{t8, 0, "Успешно", "8"}, passed9{t9, 0, "Усиленная: 112-233-445 95", "9"};
    const std::string tokenMissing = "enchance=0;authentificate=80000003|Токен не найден";
    const TRecordedRow failed9{t9, 1, "Токен не найден", "9"};
    const std::string signatureFailed = Success + "\r\nВместе с тем имеются следующие рекомендации:\r\n\r\n - " +
                                        GetRecomendText(rcSignatureFailed);
    struct Case {
        std::string script;
        bool trainingAnswers;
        TRecordedRow row8, row9;
        std::string verdict;
        unsigned icon;
        int tag = TagRegular;
    } const cases[] = {
        {"enchance=0;" + signed9, true, passed8, passed9, Success, 64},
        {"enchance=80000005|Служба недоступна;" + signed9,
         false,
         {r8, 1, "Служба недоступна", "8"},
         passed9,
         Failure,
         16},
        {"enchance=64|Очередь занята;" + signed9, false, {r8, 2, "Очередь занята", "8"}, passed9, Failure, 16},
        // Not authenticated without words: a warning; with words: a failure; either way run all checks.
        {"enchance=0;authentificate=8000000A", false, passed8, {t9, 2, "", "9"}, RunAll, 0},
        {"enchance=0;authentificate=8000000A|Нет учетной записи",
         false,
         passed8,
         {t9, 1, "Нет учетной записи", "9"},
         RunAll,
         0},
        {"enchance=0;authentificate=8000000A",
         true,
         passed8,
         {t9, 2, "", "9"},
         Success + "\r\nВместе с тем имеются следующие рекомендации:\r\n\r\n" + RunAll,
         64},
        // Another failure after the training complex answered: the test signature recommendation.
        {tokenMissing, true, passed8, failed9, signatureFailed, 48},
        // Nothing else recommended: the run reads as one whose training complex answered.
        {"enchance=0;" + signed9, false, passed8, passed9, Success, 64},
        {"enchance=0;" + signed9, false, passed8, passed9, Success, 64, TagAlternative},
        {tokenMissing, false, passed8, failed9, signatureFailed, 48},
        {tokenMissing, false, passed8, failed9, signatureFailed, 48, TagAlternative},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("tag " + std::to_string(c.tag));
        Run(c.script, c.trainingAnswers, c.tag);
        EXPECT_EQ(RowOf(ciTSPOCSPProxy), c.row8) << c.script;
        EXPECT_EQ(RowOf(ciSign), c.row9) << c.script;
        ASSERT_EQ(view.verdicts.size(), 1u) << c.script;
        EXPECT_EQ(view.verdicts[0].first, c.verdict) << c.script;
        EXPECT_EQ(view.verdicts[0].second, c.icon) << c.script;
        view.verdicts.clear();
    }
}

TEST_F(LumRun, BothChecksAskTheHostOfTheTag) {
    for (int tag : {TagRegular, TagTraining, TagAlternative}) {
        Run("enchance=0;authentificate=0;kind=1;id=1", true, tag);
        const std::string host = SelectEndpoints(tag).ServiceHost;
        EXPECT_EQ(lum.Journal(),
                  "SetLumIp " + host + ";" + TimeStampCall + "SetLumIp " + host + ";" + FreshRequest(state.Identifier))
            << tag;
    }
}

TEST_F(LumRun, EachRunMakesTheRequestRecordAfresh) {
    Run("enchance=0;authentificate=0;kind=1;id=112-233-445 95", true);
    ASSERT_NE(state.Request, nullptr);
    EXPECT_EQ(state.Request->kind, 1);
    EXPECT_EQ(state.SignerIdentifier(), "112-233-445 95");

    // The second run hands the library a new record: kind unset, the buffer zeroed.
    Run("enchance=0;authentificate=80000003|Токен не найден", true);
    EXPECT_NE(lum.Journal().find(FreshRequest(state.Identifier)), std::string::npos) << lum.Journal();
    EXPECT_EQ(state.Request->kind, 0);
    EXPECT_EQ(state.SignerIdentifier(), "");
}

TEST_F(LumRun, IdentifierFillingTheBufferIsReadWithinIt) {
    // The buffer is followed by the verdict text's own bytes; none of them may be read.
    Run("enchance=0;authentificate=0;kind=7;id=" + Identifier100 + "89", true);
    EXPECT_EQ(RowOf(ciSign).info, "Простая расширенная: " + Identifier100);
    EXPECT_EQ(state.SignerIdentifier(), Identifier100);
}

}  // namespace
