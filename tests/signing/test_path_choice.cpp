// The path of the time stamp and the OCSP response by the Windows version and the flags, each
// version in a process of its own (named for its AppDefaults entry), with the older libraries
// beside it or not: judged by the stand-ins' journal (which library or object was used) and by
// the responders' logs (which one was asked, and by whom).
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <sstream>
#include "AutomationStandin.h"
#include "ChildProcess.h"
#include "DebugOutputCapture.h"
#include "ErrorText.h"
#include "Ocsptsp.h"
#include "RegistryFixture.h"
#include "SigningPeers.h"
#include "TempFiles.h"
#include "TextChecks.h"
#include "WineBehaviour.h"

namespace {

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string folder = path;
    return folder.substr(0, folder.rfind('\\'));
}

// Which older libraries stand beside the probe.
enum TLibraries { NoLibraries, BothLibraries, IncompleteTimeStamp };

// The probe's output in a process that Wine shows the version ("" for its default).
std::string ProbeUnder(const std::string& wineVersion, TLibraries libraries, const std::string& arguments) {
    const std::string name = wineVersion.empty() ? "default" : wineVersion;
    const std::string folder = TempPath("vorsalt-paths-" + name + "-" + std::to_string(libraries));
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string exe = "vorsalt_paths_" + name + ".exe";
    const TTempFile program = TTempFile::CopyOf(ProgramFolder() + "\\path_choice_probe.exe", folder + "\\" + exe);
    const std::string oldlibs = ProgramFolder() + "\\oldlibs";
    std::vector<TTempFile> placed;
    if (libraries != NoLibraries) {
        placed.push_back(TTempFile::CopyOf(
            oldlibs + (libraries == IncompleteTimeStamp ? "\\incomplete" : "") + "\\TimeStamp.dll",
            folder + "\\TimeStamp.dll"));
        placed.push_back(TTempFile::CopyOf(oldlibs + "\\ocsp_w98.dll", folder + "\\ocsp_w98.dll"));
    }
    TTestKey appDefaults(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\" + exe);
    if (!wineVersion.empty())
        appDefaults.SetText("Version", wineVersion);
    const std::string output = OutputOf("\"" + program.Path() + "\" " + arguments, 120000);
    placed.clear();
    RemoveDirectoryA(folder.c_str());
    return output;
}

// "<flags> <result> <path>" lines of a table run, the mode word dropped, as one text.
std::string Table(const std::string& output) {
    std::istringstream lines(output);
    std::string text, mode, line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string flags, result, path;
        words >> mode >> flags >> result >> path;
        text += flags + ":" + result + path + " ";
    }
    return text;
}

class PathChoice : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        objects = std::make_unique<TAutomationRegistration>();
        tsa = std::make_unique<TTimeStampService>();
        ocsp = std::make_unique<TOcspResponder>();
    }
    static void TearDownTestSuite() {
        ocsp.reset();
        tsa.reset();
        objects.reset();
    }
    void SetUp() override {
        ASSERT_TRUE(objects->Active());
        ASSERT_TRUE(tsa->Started());
        ASSERT_TRUE(ocsp->Started());
    }
    // How many requests each agent sent to the peer since the count before.
    static std::map<std::string, int> Agents(const std::vector<TPeerRequest>& requests, size_t from) {
        std::map<std::string, int> agents;
        for (size_t i = from; i < requests.size(); ++i) {
            const std::string agent = requests[i].Header("User-Agent");
            ++agents[StartsWith(agent, "Vorsalt") ? agent : "program's client"];
        }
        return agents;
    }

    TAutomationJournal journal;  // the probes inherit it
    static inline std::unique_ptr<TAutomationRegistration> objects;
    static inline std::unique_ptr<TTimeStampService> tsa;
    static inline std::unique_ptr<TOcspResponder> ocsp;
};

// Flags 0 to 15. Before Windows 2000 the older library serves whenever its path is wanted (the
// automation path is off there), but a request for the automation path alone never loads it, so
// the version stays unknown and the objects serve. From Windows 2000 on the libraries do not load
// and the automation path serves when wanted; posting by hand (8) needs the automation path.
const char* const OldStamp = "0:0A 1:0Av 2:0C 3:0Cv 4:0A 5:0Av 6:0A 7:0Av 8:0A 9:0Av 10:0M 11:0Mv 12:0A 13:0Av 14:0A 15:0Av ";
const char* const NewStamp = "0:0C 1:0Cv 2:0C 3:0Cv 4:2- 5:2- 6:0C 7:0Cv 8:0M 9:0Mv 10:0M 11:0Mv 12:2- 13:2- 14:0M 15:0Mv ";
// The OCSP flag 1 is the send argument; without an address nothing is posted by hand.
const char* const OldOcsp = "0:0A0 1:0A1 2:0C0 3:0C1 4:0A0 5:0A1 6:0A0 7:0A1 8:0A0 9:0A1 10:0C0 11:0C1 12:0A0 13:0A1 14:0A0 15:0A1 ";
const char* const NewOcsp = "0:0C0 1:0C1 2:0C0 3:0C1 4:2- 5:2- 6:0C0 7:0C1 8:0C0 9:0C1 10:0C0 11:0C1 12:2- 13:2- 14:0C0 15:0C1 ";

TEST(PathChoiceTexts, WithoutTheCallersTextTheReasonGoesToTheDebugOutput) {
    TDebugOutputCapture capture;
    CRYPT_DATA_BLOB response{};
    EXPECT_EQ(Create_OCSP(nullptr, response, nullptr, nullptr, nullptr, 0), 1);
    EXPECT_TRUE(Logged(capture, "Create_OCSP. Сертификат для получения статуса не задан."));
}

TEST_F(PathChoice, EveryVersionAndFlagsChoosesItsPath) {
    // Each path that served asked its responder once, with its own agent.
    const std::map<std::string, int> oldStampAgents = {
        {"Vorsalt old library stand-in", 12}, {"Vorsalt automation stand-in", 2}, {"program's client", 2}};
    const std::map<std::string, int> newStampAgents = {{"Vorsalt automation stand-in", 6}, {"program's client", 6}};
    const std::map<std::string, int> oldOcspAgents = {{"Vorsalt old library stand-in", 12},
                                                      {"Vorsalt automation stand-in", 4}};
    const std::map<std::string, int> newOcspAgents = {{"Vorsalt automation stand-in", 12}};
    const struct {
        const char* version;
        const char *stamp, *ocsp;
        const std::map<std::string, int>&stampAgents, &ocspAgents;
    } cases[] = {
        {"win98", OldStamp, OldOcsp, oldStampAgents, oldOcspAgents},
        {"nt40", OldStamp, OldOcsp, oldStampAgents, oldOcspAgents},
        {"win2k", NewStamp, NewOcsp, newStampAgents, newOcspAgents},
        {"winxp", NewStamp, NewOcsp, newStampAgents, newOcspAgents},
        {"", NewStamp, NewOcsp, newStampAgents, newOcspAgents},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(*c.version ? c.version : "default");
        const size_t stampsBefore = tsa->Requests().size(), answersBefore = ocsp->Requests().size();
        EXPECT_EQ(Table(ProbeUnder(c.version, BothLibraries, "tsp " + TTimeStampService::Url())), c.stamp);
        EXPECT_EQ(Table(ProbeUnder(c.version, BothLibraries, "ocsp")), c.ocsp);
        EXPECT_EQ(Agents(tsa->Requests(), stampsBefore), c.stampAgents);
        EXPECT_EQ(Agents(ocsp->Requests(), answersBefore), c.ocspAgents);
    }
}

// LoadLibrary of a missing DLL: ERROR_MOD_NOT_FOUND (126).
const char MissingDll[] = "a missing DLL is ERROR_DLL_NOT_FOUND (1157) under win98";

TEST_F(PathChoice, WithoutLibraryOrObjectsTheTextsSayWhatIsMissing) {
    const std::string comDisabled = "\r\n COM Disabled on OS 2000 and below";
    std::string out = ProbeUnder("win98", NoLibraries, "tsp-text 7 " + TTimeStampService::Url());
    EXPECT_TRUE(StartsAs(out,
                         "2\nCreate_TSP. TSP access failed: MyLoadLibraryTSP. Не найден файл TimeStamp.dll или "
                         "ошибки в TSP клиенте. LoadLibrary failed.\r\nОшибка LE № 0x" +
                             ContractOr("7e", "485", MissingDll) + ": "))
        << out;
    EXPECT_TRUE(out.size() > comDisabled.size() && out.compare(out.size() - comDisabled.size(), std::string::npos,
                                                               comDisabled) == 0)
        << out;

    out = ProbeUnder("win98", IncompleteTimeStamp, "tsp-text 7 " + TTimeStampService::Url());
    EXPECT_TRUE(StartsAs(out,
                         "2\nCreate_TSP. TSP access failed: MyLoadLibraryTSP. Не найдена точка входа в процедуру "
                         "создания штампа времени. GetProcAddress failed."))
        << out;

    out = ProbeUnder("nt40", NoLibraries, "ocsp-text 6");
    EXPECT_TRUE(StartsWith(out, "2\nOCSP access failed: Не найден файл ocsp_w98.dll или ошибки в OCSP клиенте. "
                                "LoadLibrary failed. Не удается получить версию файла\r\nОшибка LE № 0x7e: "))
        << out;
    EXPECT_TRUE(Contains(out, "\r\nCOM Disabled on OS 2000 and below")) << out;

    TAutomationRegistration::Unregister();
    out = ProbeUnder("", BothLibraries, "tsp-text 7 " + TTimeStampService::Url());
    EXPECT_TRUE(StartsWith(out, "2\nCreate_TSP. TSP access failed: \r\n" +
                                    GetSystemErrorMessage(static_cast<unsigned>(CO_E_CLASSSTRING), false)))
        << out;
    out = ProbeUnder("winxp", BothLibraries, "ocsp-text 6");
    EXPECT_TRUE(StartsWith(out, "2\nOCSP access failed: \r\n" +
                                    GetSystemErrorMessage(static_cast<unsigned>(CO_E_CLASSSTRING), false)))
        << out;
    objects.reset();
    objects = std::make_unique<TAutomationRegistration>();
}

TEST_F(PathChoice, TheOlderLibrariesFailuresComeWithTheirCodes) {
    // Nothing listens there: the library answers its own send error (facility 0x210, whose texts
    // the provider's client library would hold).
    std::string out = ProbeUnder("win98", BothLibraries, "tsp-text 7 http://127.0.4.9/tsa");
    EXPECT_EQ(out, std::to_string(static_cast<int>(0x82100002)) +
                       "\nAPI_TimeStamp. Ошибка создания штампа времени.\r\nОшибка LE № 0x82100002: TSP client error "
                       "(TSP client error )\r\n");  // the API text, its line break, no COM text
    // A certificate without an OCSP access point: the library cannot ask.
    out = ProbeUnder("win98", BothLibraries, "ocsp-text 6 tsa");
    EXPECT_EQ(out, "5\nAPI_OCSP. Ошибка создания OCSP.\r\nОшибка LE № 0x82110002: OCSP client error\r\n");
}

TEST_F(PathChoice, TheViewersVersionCompletesTheOcspLoadFailure) {
    const std::string folder = "C:\\Program Files\\Common Files\\Crypto Pro";
    CreateDirectoryA("C:\\Program Files\\Common Files", nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "\\Shared").c_str(), nullptr);
    {
        const TTempFile viewer =
            TTempFile::CopyOf(ProgramFolder() + "\\oldlibs\\ocspview.exe", folder + "\\Shared\\ocspview.exe");
        ASSERT_TRUE(viewer.Made());
        const std::string out = ProbeUnder("win98", NoLibraries, "ocsp-text 6");
        EXPECT_TRUE(StartsAs(out,
                             "2\nOCSP access failed: Не найден файл ocsp_w98.dll или ошибки в OCSP клиенте. "
                             "LoadLibrary failed. 3.6.5432.1\r\nОшибка LE № 0x" +
                                 ContractOr("7e", "485", MissingDll) + ": "))
            << out;
    }
    RemoveDirectoryA((folder + "\\Shared").c_str());
    RemoveDirectoryA(folder.c_str());
}

}  // namespace
