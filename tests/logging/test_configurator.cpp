// The property and basic configurators: every key, read exactly as the configuration rules say.
#include "DebugOutputCapture.h"
#include "FileStream.h"
#include "HierLog.h"
#include "LogFiles.h"
#include "MessageClasses.h"
#include "RecordingAppender.h"
#include "Text.h"
#include <gtest/gtest.h>

using namespace HierLog;

namespace {

class PropertyConfigurator : public ::testing::Test {
protected:
    void TearDown() override {
        DefaultHierarchy->SetThresholdProp(All);
        LogLog->SetInternalDebugging(false);
    }
    void Configure(const TLogStringList& lines) {
        TLogPropertyConfigurator configurator;
        configurator.DoConfigure(lines, &hierarchy);
    }
    // A file appender A1 with the simple layout writing to app.log in the case's folder.
    TLogStringList FileAppender(const std::string& name = "A1", const std::string& file = "app.log") const {
        const std::string key = "hierlog.appender." + name;
        return {key + "=TLogFileAppender", key + ".fileName=" + folder / file, key + ".layout=TLogSimpleLayout"};
    }
    static TLogStringList Joined(TLogStringList a, const TLogStringList& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }
    std::vector<std::string> AppenderNames(TLogLogger* logger) {
        std::vector<std::string> names;
        for (const auto& appender : logger->Appenders())
            names.push_back(appender->GetName());
        return names;
    }

    TAnsiTempFolder folder;
    TLogHierarchy hierarchy{new TLogRoot(Error)};
};

std::string Utf8(const std::wstring& wide) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                         nullptr);
    std::string utf8(size > 0 ? size : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0], size, nullptr, nullptr);
    return utf8;
}

}  // namespace

TEST_F(PropertyConfigurator, RootAtInfoWritingSimpleLinesToAFile) {
    Configure(Joined({"hierlog.rootLogger=INFO,A1"}, FileAppender()));
    EXPECT_EQ(hierarchy.Root()->Level(), Info);
    TLogLogger* logger = hierarchy.GetLogger("any.where");
    logger->Debug("dropped");
    logger->Info("kept");
    hierarchy.Shutdown();
    EXPECT_EQ(FileBytes(folder / "app.log"), "info - kept\r\n");
}

TEST_F(PropertyConfigurator, BlankAfterTheCommaNamesAnotherAppender) {
    LogRef<TRecordingAppender> earlier(new TRecordingAppender);
    hierarchy.Root()->AddAppender(earlier.get());
    TDebugOutputCapture capture;
    Configure(Joined({"hierlog.rootLogger=INFO, A1"}, FileAppender()));
    EXPECT_EQ(hierarchy.Root()->Level(), Info);
    EXPECT_EQ(hierarchy.Root()->CountAppenders(), 0);
    EXPECT_EQ(capture.Lines(),
              (std::vector<std::string>{InternalLine("error", "Couldn't create appender named \" A1\"")}));
    EXPECT_FALSE(FileExists(folder / "app.log"));
}

TEST_F(PropertyConfigurator, LevelTokens) {
    // a.b starts at info below a root at error.
    const struct {
        const char* line;
        const char* logger;
        TLogLevel* effective;
    } table[] = {
        {"hierlog.rootLogger=WARN", "root", Warn},
        {"hierlog.rootLogger=inherited", "root", Debug},
        {"hierlog.rootLogger=loud", "root", Debug},
        {"hierlog.rootLogger=", "root", Error},   // no root information: the root keeps its level
        {"hierlog.rootLogger=,", "root", Error},  // an empty level token keeps it too
        {"hierlog.logger.a.b=Fatal", "a.b", Fatal},
        {"hierlog.logger.a.b=inherited", "a.b", Error},
        {"hierlog.logger.a.b=INHERITED,", "a.b", Error},
        {"hierlog.logger.a.b= info", "a.b", Debug},  // tokens keep their blanks
    };
    for (const auto& row : table) {
        TLogHierarchy fresh(new TLogRoot(Error));
        fresh.GetLogger("a.b")->SetLevel(Info);
        TLogPropertyConfigurator configurator;
        configurator.DoConfigure(TLogStringList{row.line}, &fresh);
        TLogLogger* logger = std::string(row.logger) == "root" ? fresh.Root() : fresh.Exists(row.logger);
        EXPECT_EQ(logger->Level(), row.effective) << row.line;
    }
}

TEST_F(PropertyConfigurator, KeysByExactNameIgnoreCaseAndTheFirstLineWins) {
    Configure(
        {"HIERLOG.ROOTLOGGER=warn", "hierlog.rootLogger=fatal", "Hierlog.Threshold=ERROR", "hierlog.threshold=off"});
    EXPECT_EQ(hierarchy.Root()->Level(), Warn);
    EXPECT_EQ(DefaultHierarchy->Threshold(), Error);  // the threshold key sets the default hierarchy's
}

TEST_F(PropertyConfigurator, KeysByBeginningKeepTheirCaseAndEveryLineCounts) {
    Configure(
        {"HIERLOG.LOGGER.upper=fatal", "hierlog.logger.x=warn", "hierlog.logger.y=info", "hierlog.logger.x=error"});
    EXPECT_EQ(hierarchy.Exists("upper"), nullptr);
    EXPECT_EQ(hierarchy.Exists("x")->Level(), Error);  // the later line counts too
    EXPECT_EQ(hierarchy.Exists("y")->Level(), Info);
}

TEST_F(PropertyConfigurator, BlanksCommentsAndLinesWithoutEquals) {
    TDebugOutputCapture capture;
    LogLog->SetInternalDebugging(true);
    Configure({"# hierlog.rootLogger=fatal", "hierlog.rootLogger =fatal", " hierlog.rootLogger=fatal", "! comment",
               "hierlog.rootLogger", "", "=", "hierlog.logger.z = warn"});
    EXPECT_EQ(hierarchy.Root()->Level(), Error);
    ASSERT_NE(hierarchy.Exists("z "), nullptr);         // the name ends before "=", blank included
    EXPECT_EQ(hierarchy.Exists("z ")->Level(), Debug);  // " warn" is no level name
    EXPECT_EQ(Count(capture.Lines(), InternalLine("debug", "Couldn't find root logger information. Is this OK?")), 1u);
}

TEST_F(PropertyConfigurator, TwoLoggersNamingOneAppenderShareItAndTheFileOpensOnce) {
    TLogStringList props = Joined({"hierlog.logger.one=info,A1", "hierlog.logger.two=info,A1"}, FileAppender());
    props.push_back("hierlog.appender.A1.layout=TLogHTMLLayout");  // the first line wins: simple layout
    TDebugOutputCapture capture;
    LogLog->SetInternalDebugging(true);
    Configure(props);
    ASSERT_EQ(hierarchy.Exists("one")->Appenders().size(), 1u);
    EXPECT_EQ(hierarchy.Exists("one")->Appenders()[0], hierarchy.Exists("two")->Appenders()[0]);
    EXPECT_EQ(Count(capture.Lines(), InternalLine("debug", "Appender \"A1\" was already parsed")), 1u);
    hierarchy.Exists("one")->Info("1");
    hierarchy.Exists("two")->Info("2");
    hierarchy.Shutdown();
    EXPECT_EQ(FileBytes(folder / "app.log"), "info - 1\r\ninfo - 2\r\n");
}

TEST_F(PropertyConfigurator, Additivity) {
    const struct {
        TLogStringList props;
        const char* logger;
        bool before, after;
    } table[] = {
        {{"hierlog.logger.a.b=info", "hierlog.additive.a.b=no"}, "a.b", true, false},
        {{"hierlog.logger.a.b=info", "HIERLOG.ADDITIVE.A.B=false"}, "a.b", true, false},
        {{"hierlog.logger.a.b=info", "hierlog.additive.a.b=maybe"}, "a.b", false, true},
        {{"hierlog.logger.a.b=info", "hierlog.additive.a.b="}, "a.b", false, false},
        {{"hierlog.additive.a.b=no"}, "a.b", true, true},  // read only for a logger that has its line
        {{"hierlog.rootLogger=info", "hierlog.additive.root=no"}, "root", true, true},
    };
    for (const auto& row : table) {
        TLogHierarchy fresh(new TLogRoot(Error));
        TLogLogger* logger = std::string(row.logger) == "root" ? fresh.Root() : fresh.GetLogger(row.logger);
        logger->SetAdditive(row.before);
        TLogPropertyConfigurator configurator;
        configurator.DoConfigure(row.props, &fresh);
        EXPECT_EQ(logger->Additive(), row.after) << row.props.back();
    }
}

TEST_F(PropertyConfigurator, FiltersFromOptions) {
    const struct {
        TLogStringList extra;
        const char* written;
    } table[] = {
        {{"hierlog.appender.A1.filter1=TLogLevelMatchFilter", "hierlog.appender.A1.filter1.match=debug"}, "info warn "},
        {{"hierlog.appender.A1.filter1=TLogLevelMatchFilter", "hierlog.appender.A1.filter1.match=debug",
          "hierlog.appender.A1.filter1.acceptOnMatch=true", "hierlog.appender.A1.filter2=TLogDenyAllFilter"},
         "debug "},
        {{"hierlog.appender.A1.filterWarn=TLogStringFilter", "hierlog.appender.A1.filterWarn.match=W",
          "hierlog.appender.A1.filterWarn.ignoreCase=true"},
         "debug info "},
        {{"hierlog.appender.A1.filter.x=TLogDenyAllFilter"}, "debug info warn "},  // a "." after .filter: no filter
        {{"hierlog.appender.A1.filter1=TLogNoSuchFilter"}, "debug info warn "},
        {{"hierlog.appender.A1.threshold=info"}, "info warn "},
    };
    for (const auto& row : table) {
        TAnsiTempFolder caseFolder;
        TLogHierarchy fresh(new TLogRoot(Error));
        TLogStringList props = {"hierlog.rootLogger=debug,A1", "hierlog.appender.A1=TLogFileAppender",
                                "hierlog.appender.A1.layout=TLogPatternLayout",
                                "hierlog.appender.A1.layout.pattern=%p ",
                                "hierlog.appender.A1.fileName=" + caseFolder / "f.log"};
        props.insert(props.end(), row.extra.begin(), row.extra.end());
        TLogPropertyConfigurator configurator;
        configurator.DoConfigure(props, &fresh);
        TLogLogger* logger = fresh.GetLogger("f");
        logger->Debug("d");
        logger->Info("i");
        logger->Warn("w");
        fresh.Shutdown();
        EXPECT_EQ(FileBytes(caseFolder / "f.log"), row.written) << row.extra.front();
    }
}

TEST_F(PropertyConfigurator, AppendComesBeforeTheFileName) {
    const struct {
        bool before;
        const char* expected;
    } table[] = {{true, "old\r\ninfo - new\r\n"}, {false, "info - new\r\n"}};
    for (const auto& row : table) {
        TAnsiTempFolder caseFolder;
        WriteFileBytes(caseFolder / "app.log", "old\r\n");
        TLogHierarchy fresh(new TLogRoot(Error));
        TLogStringList props = {"hierlog.rootLogger=info,A1", "hierlog.appender.A1=TLogFileAppender",
                                "hierlog.appender.A1.layout=TLogSimpleLayout"};
        const std::string append = "hierlog.appender.A1.append=true";
        if (row.before)
            props.push_back(append);
        props.push_back("hierlog.appender.A1.fileName=" + caseFolder / "app.log");
        if (!row.before)
            props.push_back(append);
        TLogPropertyConfigurator configurator;
        configurator.DoConfigure(props, &fresh);
        fresh.Root()->Info("new");
        fresh.Shutdown();
        EXPECT_EQ(FileBytes(caseFolder / "app.log"), row.expected) << row.before;
    }
}

TEST_F(PropertyConfigurator, UnknownClasses) {
    const struct {
        TLogStringList props;
        std::vector<std::string> errors;
    } table[] = {
        {{"hierlog.rootLogger=info,A1", "hierlog.appender.A1=TLogNoSuchAppender"},
         {"Couldn't find class TLogNoSuchAppender", "Couldn't create appender named \"A1\""}},
        {{"hierlog.rootLogger=info,A1"}, {"Couldn't create appender named \"A1\""}},
        {{"hierlog.rootLogger=info,A1", "hierlog.appender.A1=TLogNullAppender",
          "hierlog.appender.A1.layout=TLogNoLayout"},
         {"Couldn't find class TLogNoLayout", "Appender \"A1\" requires a layout"}},
        {{"hierlog.rootLogger=info,A1", "hierlog.appender.A1=TLogNullAppender"}, {"Appender \"A1\" requires a layout"}},
        {{"hierlog.rootLogger=info,A1", "hierlog.appender.A1=TLogNullAppender",
          "hierlog.appender.A1.layout=TLogSimpleLayout", "hierlog.appender.A1.errorHandler=TLogNoHandler"},
         {"Couldn't find class TLogNoHandler"}},
        {{"hierlog.loggerFactory=TLogNoFactory", "hierlog.logger.made=info"}, {"Couldn't find class TLogNoFactory"}},
        {{"hierlog.renderer.TNoSuchClass=TPointRenderer"},
         {"Couldn't find class TNoSuchClass", "Couldn't find rendered class \"TNoSuchClass\""}},
    };
    RegisterRendered(TPoint::StaticClass());
    RegisterRenderer(TPointRenderer::StaticClass());
    for (const auto& row : table) {
        TLogHierarchy fresh(new TLogRoot(Error));
        TDebugOutputCapture capture;
        TLogPropertyConfigurator configurator;
        configurator.DoConfigure(row.props, &fresh);
        std::vector<std::string> expected;
        for (const auto& error : row.errors)
            expected.push_back(InternalLine("error", error));
        EXPECT_EQ(capture.Lines(), expected) << row.props.back();
    }
    TLogHierarchy fresh(new TLogRoot(Error));
    TLogPropertyConfigurator configurator;
    configurator.DoConfigure(TLogStringList{"hierlog.loggerFactory=TLogNoFactory", "hierlog.logger.made=info"}, &fresh);
    EXPECT_EQ(fresh.Exists("made")->Level(), Info);  // made by the default factory
}

TEST_F(PropertyConfigurator, RenderersAndErrorHandlersFromKeys) {
    RegisterRendered(TPoint::StaticClass());
    RegisterRenderer(TPointRenderer::StaticClass());
    LogRef<TRecordingAppender> appender(new TRecordingAppender);
    hierarchy.Root()->AddAppender(appender.get());
    TDebugOutputCapture capture;
    Configure(
        {"hierlog.renderer.TPoint=TPointRenderer", "hierlog.renderer.TPoint=TNoRenderer", "hierlog.rootLogger=,A1",
         "hierlog.appender.A1=TLogNullAppender", "hierlog.appender.A1.layout=TLogSimpleLayout",
         "hierlog.appender.A1.errorHandler=TLogFallbackErrorHandler", "hierlog.appender.A1.errorHandler.flavour=kept"});
    EXPECT_EQ(capture.Lines(),
              (std::vector<std::string>{InternalLine("error", "Couldn't find class TNoRenderer"),
                                        InternalLine("error", "Couldn't create renderer \"TNoRenderer\"")}));
    ASSERT_TRUE(hierarchy.GetRenderer(TPoint::StaticClass()));
    TPoint point(1, 2);
    EXPECT_EQ(hierarchy.GetRenderer(TPoint::StaticClass())->Render(&point), "(1, 2)");
    ASSERT_EQ(hierarchy.Root()->Appenders().size(), 1u);
    LogRef<ILogAppender> a1 = hierarchy.Root()->Appenders()[0];
    LogRef<ILogErrorHandler> handler = a1->GetErrorHandler();
    EXPECT_TRUE(handler.As<ILogErrorHandler>());
    EXPECT_EQ(static_cast<TLogFallbackErrorHandler*>(handler.get())->ClassName(), "TLogFallbackErrorHandler");
    EXPECT_EQ(handler->GetOption("flavour"), "kept");
    EXPECT_EQ(hierarchy.Root()->Level(), Error);  // an empty level token keeps the level
}

TEST_F(PropertyConfigurator, OptionsOfEachComponent) {
    Configure({"hierlog.rootLogger=info,R", "hierlog.appender.R=TLogRollingFileAppender",
               "hierlog.appender.R.maxFileSize=5KB", "hierlog.appender.R.maxBackupIndex=3",
               "hierlog.appender.R.fileName=" + folder / "r.log", "hierlog.appender.R.layout=TLogHTMLLayout",
               "hierlog.appender.R.layout.title=Journal", "hierlog.appender.RX.layout=TLogSimpleLayout"});
    ASSERT_EQ(hierarchy.Root()->Appenders().size(), 1u);
    LogRef<ILogAppender> appender = hierarchy.Root()->Appenders()[0];
    auto* rolling = static_cast<TLogRollingFileAppender*>(appender.get());
    EXPECT_EQ(rolling->MaxFileSize(), 5120);
    EXPECT_EQ(rolling->MaxBackupIndex(), 3);
    EXPECT_EQ(rolling->FileName(), folder / "r.log");
    EXPECT_EQ(static_cast<TLogHTMLLayout*>(appender->GetLayout().get())->Title(), "Journal");
    EXPECT_EQ(appender->GetOption(""), "TLogRollingFileAppender");  // its own class line, stored
    EXPECT_EQ(appender->GetOption(".layout"), "TLogSimpleLayout");  // RX's line, offered to R and stored
    EXPECT_NE(FileBytes(folder / "r.log").find("<title>Journal</title>"), std::string::npos);
}

TEST_F(PropertyConfigurator, ThresholdAndDebugSwitch) {
    const struct {
        const char* threshold;
        TLogLevel* expected;
    } table[] = {{"WARN", Warn}, {"off", Off}, {"loud", Debug}, {"", All}};
    for (const auto& row : table) {
        DefaultHierarchy->SetThresholdProp(All);
        Configure({std::string("hierlog.threshold=") + row.threshold});
        EXPECT_EQ(DefaultHierarchy->Threshold(), row.expected) << row.threshold;
    }
    DefaultHierarchy->SetThresholdProp(All);
    const struct {
        const char* value;
        bool before;
        bool after;
    } debugs[] = {
        {"true", false, true}, {"YES", false, true}, {"no", true, false}, {"maybe", true, false}, {"", true, true}};
    for (const auto& row : debugs) {
        LogLog->SetInternalDebugging(row.before);
        Configure({std::string("hierlog.configDebug=") + row.value});
        EXPECT_EQ(LogLog->InternalDebugging(), row.after) << row.value;
    }
}

TEST_F(PropertyConfigurator, DebugSwitchTraceLines) {
    TDebugOutputCapture capture;
    Configure({"hierlog.configDebug=true", "hierlog.rootLogger=INFO,A1", "hierlog.appender.A1=TLogNullAppender",
               "hierlog.appender.A1.layout=TLogSimpleLayout", "hierlog.logger.a.b=inherited",
               "hierlog.additive.a.b=no"});
    const std::vector<std::string> trace = {
        "Parsing for logger \"root\" with value=\"INFO,A1\"",
        "Level token is \"INFO\"",
        "Logger \"root\" set to level \"info\"",
        "Parsing appender named \"A1\"",
        "Parsing layout options for \"A1\"",
        "End of parsing for \"A1\" layout",
        "Parsed \"A1\" options",
        "Parsing for logger \"a.b\" with value=\"inherited\"",
        "Level token is \"inherited\"",
        "Logger \"a.b\" set to level \"info\"",
        "Handling hierlog.additive.a.b=\"no\"",
        "Setting additivity for \"a.b\" to \"false\"",
        "Finished configuring with TLogPropertyConfigurator",
    };
    std::vector<std::string> expected;
    for (const auto& line : trace)
        expected.push_back(InternalLine("debug", line));
    EXPECT_EQ(capture.Lines(), expected);
}

TEST_F(PropertyConfigurator, FileThatCannotBeCreatedReachesTheCaller) {
    WriteFileBytes(folder / "plain", "x");
    EXPECT_THROW(Configure(Joined({"hierlog.rootLogger=info,A1"}, FileAppender("A1", "plain\\app.log"))),
                 EFCreateError);
}

TEST_F(PropertyConfigurator, ConfigurationFiles) {
    const std::string lines =
        "hierlog.rootLogger=WARN,A1\r\nhierlog.appender.A1=TLogFileAppender\n"
        "hierlog.appender.A1.layout=TLogPatternLayout\rhierlog.appender.A1.layout.pattern=%m%n\r\n"
        "hierlog.appender.A1.fileName=" +
        folder / "журнал.log";
    std::wstring wide = vcl::ToWide(lines);
    std::string utf16le = "\xFF\xFE", utf16be = "\xFE\xFF";
    for (wchar_t c : wide) {
        utf16le += static_cast<char>(c & 0xFF);
        utf16le += static_cast<char>(c >> 8);
        utf16be += static_cast<char>(c >> 8);
        utf16be += static_cast<char>(c & 0xFF);
    }
    const std::string utf8 = Utf8(wide);
    const struct {
        const char* kind;
        std::string bytes;
    } table[] = {
        {"ANSI", lines}, {"UTF-8", "\xEF\xBB\xBF" + utf8}, {"UTF-16LE", utf16le}, {"UTF-16BE", utf16be + "\x00"}};
    for (const auto& row : table) {
        TLogHierarchy fresh(new TLogRoot(Error));
        WriteFileBytes(folder / "log.properties", row.bytes);
        TLogPropertyConfigurator configurator;
        configurator.DoConfigure(folder / "log.properties", &fresh);
        fresh.GetLogger("x")->Warn("Запись");
        fresh.Shutdown();
        EXPECT_EQ(FileBytes(folder / "журнал.log"), "Запись\r\n") << row.kind;
        EXPECT_EQ(fresh.Root()->Level(), Warn) << row.kind;
    }
}

TEST_F(PropertyConfigurator, CharactersTheAnsiCodePageLacksBecomeQuestionMarks) {
    // "中 %m%n" and "€ %m%n" as UTF-8: the ideograph has no place in cp1251, the euro sign has.
    const std::string lines =
        "hierlog.rootLogger=INFO,A1\nhierlog.appender.A1=TLogFileAppender\n"
        "hierlog.appender.A1.layout=TLogPatternLayout\n"
        "hierlog.appender.A1.layout.pattern=\xE4\xB8\xAD \xE2\x82\xAC %m%n\n"
        "hierlog.appender.A1.fileName=" +
        Utf8(vcl::ToWide(folder / "marks.log"));
    WriteFileBytes(folder / "marks.properties", "\xEF\xBB\xBF" + lines);
    TLogPropertyConfigurator configurator;
    configurator.DoConfigure(folder / "marks.properties", &hierarchy);
    hierarchy.Root()->Info("m");
    hierarchy.Shutdown();
    EXPECT_EQ(FileBytes(folder / "marks.log"), "? \x88 m\r\n");
}

TEST_F(PropertyConfigurator, MissingFileGivesTwoErrorsAndChangesNothing) {
    LogRef<TRecordingAppender> appender(new TRecordingAppender);
    hierarchy.Root()->AddAppender(appender.get());
    TDebugOutputCapture capture;
    const std::string name = folder / "absent.properties";
    TLogPropertyConfigurator configurator;
    configurator.DoConfigure(name, &hierarchy);
    const auto lines = capture.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(
        lines[0].rfind(
            InternalLine("error", "Couldn't read configuration file \"" + name + "\" - Cannot open file").substr(0, 60),
            0),
        0u);
    EXPECT_EQ(lines[1], InternalLine("error", "Ignoring configuration file \"" + name + "\""));
    EXPECT_EQ(hierarchy.Root()->Level(), Error);
    EXPECT_EQ(hierarchy.Root()->CountAppenders(), 1);
}

TEST_F(PropertyConfigurator, ReconfiguringReplacesTheAppendersOfTheLoggersItNames) {
    Configure(Joined({"hierlog.rootLogger=info,A1", "hierlog.logger.kept=warn"}, FileAppender("A1", "first.log")));
    TLogLogger* other = hierarchy.GetLogger("other");
    LogRef<TRecordingAppender> own(new TRecordingAppender);
    other->AddAppender(own.get());
    Configure(Joined({"hierlog.rootLogger=info,A1"}, FileAppender("A1", "second.log")));
    EXPECT_EQ(AppenderNames(hierarchy.Root()), std::vector<std::string>{"A1"});
    EXPECT_EQ(hierarchy.Exists("kept")->Level(), Warn);
    EXPECT_TRUE(other->IsAppender(own.get()));
    hierarchy.Root()->Info("to the second");
    hierarchy.Shutdown();
    EXPECT_EQ(FileBytes(folder / "first.log"), "");
    EXPECT_EQ(FileBytes(folder / "second.log"), "info - to the second\r\n");
}

TEST(BasicConfigurator, DebugOutputAppenderOnTheDefaultRoot) {
    TLogBasicConfigurator::Configure();
    TLogBasicConfigurator::Configure();  // one more each time
    ASSERT_EQ(DefaultHierarchy->Root()->CountAppenders(), 2);
    LogRef<ILogAppender> ods = DefaultHierarchy->Root()->Appenders()[0];
    EXPECT_EQ(ods->GetName(), "ODS");
    EXPECT_EQ(static_cast<TLogPatternLayout*>(ods->GetLayout().get())->Pattern(), "%r [%t] %p %c %x - %m%n");
    TDebugOutputCapture capture;
    TLogLogger::GetLogger("basic")->Error("to both");
    EXPECT_EQ(capture.Lines().size(), 2u);
    TLogBasicConfigurator::ResetConfiguration();
    EXPECT_EQ(DefaultHierarchy->Root()->CountAppenders(), 0);
    EXPECT_EQ(DefaultHierarchy->Root()->Level(), Debug);
    DefaultHierarchy->Root()->SetLevel(Error);
    LogRef<TRecordingAppender> given(new TRecordingAppender("given"));
    TLogBasicConfigurator::Configure(given.get());
    TLogLogger::GetLogger("basic")->Fatal("given");
    EXPECT_EQ(given->Texts(), std::vector<std::string>{"fatal - given\r\n"});
    DefaultHierarchy->Root()->RemoveAllAppenders();
}
