// JSONTestSuite's cases through the parser (prepared by suite_cases.py in ../json-suite): every
// y_ case gives the tree python reads, every n_ and i_ case a tree or null without a crash, and
// the n_ cases the lenient parser accepts are exactly those below, each by a rule of the parser.
// Each y_ tree's compact and indented texts are written to ../json-suite/out for python to read
// (roundtrip_judge.py).
#include "FileStream.h"
#include "Json.h"
#include "TreeText.h"
#include <gtest/gtest.h>
#include <fstream>
#include <map>
#include <memory>
#include <set>

namespace {

const std::wstring Suite = L"..\\json-suite";

std::vector<std::string> CaseNames(const char* prefix) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(("..\\json-suite\\cases\\" + std::string(prefix) + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::unique_ptr<TJsonBase> Parse(const std::string& name) {
    TFileStream file(Suite + L"\\cases\\" + std::wstring(name.begin(), name.end()), fmOpenRead | fmShareDenyWrite);
    return std::unique_ptr<TJsonBase>(TJsonStreamed::LoadFromStream(&file));
}

// Why the parser accepts each n_ case it accepts.
enum Rule {
    TextAfterTheValue,    // anything after the first value is ignored
    OptionalComma,        // commas between items and members are optional
    TrailingComma,        // one comma may close a list or an object
    LeadingPlus,          // a number may start with "+"
    LeadingZeros,         // leading zeros are allowed
    AnyEscape,            // a backslash before another character drops both; \' is '
    ShortUnicodeEscape,   // \u takes the one to three characters that remain
    RawControlCharacter,  // a string holds any character but the quote as it stands
    ControlIsBlank,       // every character up to U+0020 is whitespace
};

const std::map<std::string, Rule> AcceptedInvalid = {
#include "AcceptedInvalid.inc"
};

TEST(JsonSuite, TheSuiteIsThere) {
    EXPECT_GT(CaseNames("y_").size(), 90u);
    EXPECT_GT(CaseNames("n_").size(), 180u);
    EXPECT_GT(CaseNames("i_").size(), 30u);
}

TEST(JsonSuite, EveryMustAcceptCaseGivesPythonsTree) {
    std::ifstream expected("..\\json-suite\\expected.txt", std::ios::binary);
    ASSERT_TRUE(expected.good());
    std::string line;
    int cases = 0;
    CreateDirectoryW((Suite + L"\\out").c_str(), nullptr);
    while (std::getline(expected, line)) {
        const size_t tab = line.find('\t');
        const std::string name = line.substr(0, tab);
        std::unique_ptr<TJsonBase> tree = Parse(name);
        ++cases;
        if (tree == nullptr) {
            ADD_FAILURE() << name << " does not parse";
            continue;
        }
        EXPECT_EQ(Describe(tree.get()), line.substr(tab + 1)) << name;

        const std::wstring out = Suite + L"\\out\\" + std::wstring(name.begin(), name.end());
        TJsonStreamed::SaveToFile(tree.get(), out + L".compact");
        int level = 0;
        const std::wstring readable = GenerateReadableText(tree.get(), level);
        TFileStream file(out + L".readable", fmCreate);
        file.WriteBuffer(readable.data(), static_cast<int>(readable.size() * 2));
    }
    EXPECT_EQ(cases, static_cast<int>(CaseNames("y_").size()));
}

TEST(JsonSuite, MustRejectCasesAreAcceptedOnlyByARuleOfTheParser) {
    std::set<std::string> accepted;
    for (const std::string& name : CaseNames("n_"))
        if (Parse(name) != nullptr)
            accepted.insert(name);
    for (const std::string& name : accepted)
        EXPECT_TRUE(AcceptedInvalid.count(name)) << name << " is accepted by no rule";
    for (const auto& listed : AcceptedInvalid)
        EXPECT_TRUE(accepted.count(listed.first)) << listed.first << " is listed but refused";
}

TEST(JsonSuite, FreeCasesGiveATreeOrNull) {
    int trees = 0;
    for (const std::string& name : CaseNames("i_"))
        trees += Parse(name) != nullptr;
    EXPECT_GE(trees, 0);  // reaching this line is the test: no crash, no hang
}

}  // namespace
