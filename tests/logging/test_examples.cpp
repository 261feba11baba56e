// The example configurations in examples/, one for each appender and layout, as a user writes
// them: each is read from its file, the same events are logged, and every output is compared
// with the example's .expected file: sections "== <file>" (or "== debugger output", one line per
// string), lines in UTF-8 here and CR LF in cp1251 in the output; {ms}, {thread} and {datetime}
// stand for the numbers and the time of the run.
#include "DebugOutputCapture.h"
#include "HierLog.h"
#include "LogFiles.h"
#include "Text.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <regex>
#include <stdexcept>

using namespace HierLog;

namespace {

const std::string ExamplesFolder = VORSALT_LOGGING_EXAMPLES;

void LogTheEvents(TLogHierarchy& hierarchy) {
    TLogLogger* app = hierarchy.GetLogger("app.module");
    TLogLogger* db = hierarchy.GetLogger("app.db");
    const std::runtime_error timeout("timeout");
    TLogNDC::Push("req-1");
    app->Debug("starting");
    app->Info("Ready: 3 checks");
    db->Warn("slow query <select> & \"join\"");
    db->Error("connection lost", &timeout);
    TLogNDC::Pop();
    app->Fatal("Завершение");
    TLogNDC::Remove();
}

struct Section {
    std::string source;  // a file name, or "debugger output"
    std::string text;    // cp1251, CR LF
};

std::vector<Section> Expected(const std::string& name) {
    std::vector<Section> sections;
    const std::string text = vcl::ToAnsi(vcl::Utf8ToWide(FileBytes(ExamplesFolder + "/" + name + ".expected")));
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.rfind("== ", 0) == 0)
            sections.push_back({line.substr(3), ""});
        else if (!sections.empty())
            sections.back().text += line + "\r\n";
    }
    return sections;
}

bool Matches(const std::string& actual, const std::string& expected) {
    if (expected.find('{') == std::string::npos)
        return actual == expected;
    std::string pattern;
    for (size_t i = 0; i < expected.size(); ++i) {
        const std::string rest = expected.substr(i);
        if (rest.rfind("{ms}", 0) == 0 || rest.rfind("{thread}", 0) == 0) {
            pattern += "[0-9]+";
            i = expected.find('}', i);
        } else if (rest.rfind("{datetime}", 0) == 0) {
            pattern += "[0-9]{2}\\.[0-9]{2}\\.[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}";
            i = expected.find('}', i);
        } else {
            if (std::string("\\^$.|?*+()[]{}").find(expected[i]) != std::string::npos)
                pattern += '\\';
            pattern += expected[i];
        }
    }
    return std::regex_match(actual, std::regex(pattern));
}

class Examples : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(Examples, OutputAsExpected) {
    const std::string name = GetParam();
    TAnsiTempFolder folder;
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(vcl::ToWide(folder.Path()).c_str()));  // the examples name files relative to it
    std::string debugOutput;
    {
        TDebugOutputCapture capture;
        TLogHierarchy hierarchy(new TLogRoot(Error));
        TLogPropertyConfigurator configurator;
        configurator.DoConfigure(ExamplesFolder + "/" + name + ".properties", &hierarchy);
        LogTheEvents(hierarchy);
        hierarchy.Shutdown();
        for (const std::string& line : capture.Lines())
            debugOutput += line + "\r\n";
    }
    SetCurrentDirectoryW(previous);
    const std::vector<Section> sections = Expected(name);
    ASSERT_FALSE(sections.empty());
    std::vector<std::string> written;
    bool toDebugger = false;
    for (const Section& section : sections) {
        const bool debugger = section.source == "debugger output";
        const std::string actual = debugger ? debugOutput : FileBytes(folder / section.source);
        EXPECT_TRUE(Matches(actual, section.text)) << name << ": " << section.source << "\n" << actual;
        if (debugger)
            toDebugger = true;
        else
            written.push_back(section.source.substr(section.source.rfind('\\') + 1));
    }
    if (!toDebugger) {
        EXPECT_EQ(debugOutput, "") << name;  // nor any line of the internal logger
    }
    std::sort(written.begin(), written.end());
    EXPECT_EQ(FilesIn(folder / "logs"), written) << name;  // no other file
}

INSTANTIATE_TEST_SUITE_P(Configurations, Examples,
                         ::testing::Values("simple-file", "pattern-files", "html-file", "rolling-file", "debug-output",
                                           "null-appender"));
