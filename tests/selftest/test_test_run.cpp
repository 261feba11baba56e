// The walk of a run, driven through the recording view with scripted check routines.
#include "Exception.h"
#include "CheckTable.h"
#include "RecordingView.h"
#include "ResultsText.h"
#include "TestRun.h"
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

using Routine = int (*)(RunContext&, std::string&);

CheckTexts TextsOf(int index, const Endpoints& hosts) {
    return BuiltInChecks()[index].Texts(hosts);
}

// The table's check with another routine.
TCheck With(int index, Routine run) {
    TCheck check = BuiltInChecks()[index];
    check.Run = run;
    return check;
}

int scriptedResults[CheckCount];
std::string scriptedInfo[CheckCount];

template <int I>
int Scripted(RunContext&, std::string& info) {
    info = scriptedInfo[I];
    return scriptedResults[I];
}

int Throws(RunContext&, std::string&) {
    throw Exception("Сбой проверки");
}
int ThrowsOther(RunContext&, std::string&) {
    throw std::runtime_error("other");
}
int ReadsHost(RunContext& c, std::string& info) {
    info = c.Hosts.ServiceHost;
    return 1;
}

class TestRunWalk : public testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < CheckCount; ++i) {
            scriptedResults[i] = 0;
            scriptedInfo[i].clear();
        }
    }
    const std::vector<TCheck> all{With(0, Scripted<0>), With(1, Scripted<1>),  With(2, Scripted<2>),
                                  With(3, Scripted<3>), With(4, Scripted<4>),  With(5, Scripted<5>),
                                  With(6, Scripted<6>), With(7, Scripted<7>),  With(8, Scripted<8>),
                                  With(9, Scripted<9>), With(10, Scripted<10>)};
    TRecordingView view;
    TRunState state;
};

TEST_F(TestRunWalk, EveryCheckPasses) {
    scriptedInfo[9] = "Усиленная подпись";
    RunTests(TagRegular, view, state, all);
    ASSERT_EQ(view.rows.size(), 11u);
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(view.rows[i].image, 0) << i;
        EXPECT_EQ(view.rows[i].id, std::to_string(i));
        EXPECT_EQ(view.rows[i].caption, TextsOf(i, SelectEndpoints(0)).Running);
    }
    EXPECT_EQ(view.rows[9].info, "Усиленная подпись");
    EXPECT_EQ(view.rows[6].info, "Работает");
    ASSERT_EQ(view.verdicts.size(), 1u);
    EXPECT_EQ(view.verdicts[0].first, "Тестирование сервисов подписи и ЯСК ВАРТО на рабочем месте успешно.");
    EXPECT_EQ(view.verdicts[0].second, 64u);
    EXPECT_EQ(state.RecomendText, view.verdicts[0].first);
    EXPECT_TRUE(view.visibleAtVerdict);
    EXPECT_FALSE(view.visible);
    EXPECT_EQ(view.position, 0);
    EXPECT_EQ(view.max, 11);
    // The message loop runs once per check, after the bar has moved.
    EXPECT_EQ(view.positionsSeen, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
}

TEST_F(TestRunWalk, AlternativeRunLeavesOutTrainingComplex) {
    RunTests(TagAlternative, view, state, all);
    ASSERT_EQ(view.rows.size(), 10u);
    EXPECT_EQ(view.rows[7].id, "8");
    EXPECT_EQ(view.positionsSeen.back(), 10);
}

TEST_F(TestRunWalk, FailedAndWarnedRows) {
    scriptedResults[0] = 3;
    scriptedInfo[0] = "Failed to connect.\r\nError code: 10061";
    scriptedResults[7] = 5;  // the training complex never fails a run: it warns
    scriptedInfo[7] = "нет связи";
    scriptedResults[2] = 1;
    RunTests(TagRegular, view, state, all);
    const Endpoints e = SelectEndpoints(0);
    EXPECT_EQ(view.rows[0], (TRecordedRow{TextsOf(0, e).Result, 1, scriptedInfo[0], "0"}));
    EXPECT_EQ(view.rows[7], (TRecordedRow{TextsOf(7, e).Result, 2, "нет связи", "7"}));
    ASSERT_EQ(view.verdicts.size(), 1u);
    EXPECT_EQ(view.verdicts[0].first,
              std::string("Тестирование не успешно. рабочее место не готово к работе с ЭП") +
                  "\r\nРекомендуется выполнить следующие действия:\r\n" +
                  "\r\n - Проверьте сетевые настройки доступа к ЯСК ВАРТО." +
                  "\r\n - Не установлен КриптоПро CSP. Для продолжения работы проведите его установку.");
    EXPECT_EQ(view.verdicts[0].second, 16u);
}

TEST_F(TestRunWalk, SignatureNotAuthenticatedWithoutWordsIsAWarning) {
    scriptedResults[9] = static_cast<int>(0x8000000A);
    RunTests(TagRegular, view, state, all);
    EXPECT_EQ(view.rows[9], (TRecordedRow{TextsOf(9, SelectEndpoints(0)).Result, 2, "", "9"}));
    EXPECT_NE(view.verdicts.at(0).first.find("Выполнить все проверки"), std::string::npos);
    EXPECT_EQ(view.verdicts[0].second, 64u);
}

TEST_F(TestRunWalk, ClassLibraryExceptionFailsOnlyItsRow) {
    std::vector<TCheck> checks = all;
    checks[3].Run = Throws;
    RunTests(TagRegular, view, state, checks);
    ASSERT_EQ(view.rows.size(), 11u);
    EXPECT_EQ(view.rows[3], (TRecordedRow{TextsOf(3, SelectEndpoints(0)).Running, 1, "Сбой проверки", "3"}));
    EXPECT_EQ(view.rows[4].image, 0);
    EXPECT_EQ(view.verdicts.size(), 1u);
}

// The run's results are the record the list shows, row for row, and the results text reads them
// while the run goes on: the row about to run names no check yet.
TEST_F(TestRunWalk, ResultsAreWhatTheRowsShow) {
    scriptedResults[0] = 3;
    scriptedInfo[0] = "нет связи";
    std::vector<TCheck> checks = all;
    checks[3].Run = Throws;
    std::vector<std::string> textsSeen;
    view.onPump = [&] { textsSeen.push_back(ResultsText(state)); };
    RunTests(TagRegular, view, state, checks);

    ASSERT_EQ(state.Results.size(), view.rows.size());
    for (size_t i = 0; i < state.Results.size(); ++i) {
        SCOPED_TRACE(i);
        const TCheckResult& result = state.Results[i];
        EXPECT_EQ(result.Check.Index, static_cast<int>(i));
        EXPECT_EQ(view.rows[i], (TRecordedRow{result.Row.Caption, result.Row.Image, result.Row.Info, result.IdText()}));
    }
    const Endpoints e = SelectEndpoints(0);
    ASSERT_EQ(textsSeen.size(), 11u);
    EXPECT_EQ(textsSeen[0], "! " + TextsOf(0, e).Running + ": \r\nСНИЛС: \r\n\r\n");
    EXPECT_EQ(textsSeen[1], "! " + TextsOf(0, e).Result + "[Connect80]: нет связи\r\n! " + TextsOf(1, e).Running +
                                ": \r\nСНИЛС: \r\n\r\n");
    EXPECT_NE(textsSeen[4].find("! " + TextsOf(3, e).Running + "[CSPWork]: Сбой проверки\r\n"), std::string::npos);
    EXPECT_NE(textsSeen[10].find("! " + TextsOf(10, e).Running + ": \r\n"), std::string::npos);
}

TEST_F(TestRunWalk, OtherExceptionEndsRunWithoutVerdict) {
    std::vector<TCheck> checks = all;
    checks[2].Run = ThrowsOther;
    EXPECT_THROW(RunTests(TagRegular, view, state, checks), std::runtime_error);
    EXPECT_EQ(view.rows.size(), 3u);
    EXPECT_TRUE(view.verdicts.empty());
    EXPECT_FALSE(view.visible);
    EXPECT_EQ(view.position, 0);
    EXPECT_FALSE(state.Running);
    // The next run starts as usual.
    RunTests(TagRegular, view, state, all);
    EXPECT_EQ(view.verdicts.size(), 1u);
}

TEST_F(TestRunWalk, NoSecondRunWhileOneIsInProgress) {
    int nested = 0;
    view.onPump = [&] {
        ++nested;
        RunTests(TagTraining, view, state, all);
    };
    RunTests(TagRegular, view, state, all);
    EXPECT_EQ(nested, 11);
    EXPECT_EQ(view.rows.size(), 11u);
    EXPECT_EQ(view.verdicts.size(), 1u);
}

TEST_F(TestRunWalk, TagSelectsTheHostChecksSee) {
    const std::vector<TCheck> checks{With(0, ReadsHost)};
    RunTests(TagTraining, view, state, checks);
    EXPECT_EQ(view.rows.at(0).info, SelectEndpoints(TagTraining).ServiceHost);
}

TEST_F(TestRunWalk, EachRunReplacesRowsVerdictAndRequestRecord) {
    scriptedResults[1] = 3;
    RunTests(TagRegular, view, state, all);
    const _AUTH_REQUEST* first = state.Request.get();
    ASSERT_NE(first, nullptr);
    state.Identifier[0] = '1';
    const std::string firstVerdict = state.RecomendText;

    scriptedResults[1] = 0;
    RunTests(TagRegular, view, state, all);
    ASSERT_NE(state.Request, nullptr);
    EXPECT_EQ(state.Request->size, 20);
    EXPECT_EQ(state.Request->second, 1);
    EXPECT_EQ(state.Request->buffer, state.Identifier);
    EXPECT_EQ(state.Request->bufferSize, 100);
    EXPECT_EQ(state.Identifier[0], '\0');
    EXPECT_EQ(view.rows.size(), 11u);
    EXPECT_NE(state.RecomendText, firstVerdict);
    EXPECT_EQ(state.RecomendText, "Тестирование сервисов подписи и ЯСК ВАРТО на рабочем месте успешно.");
}

}  // namespace
