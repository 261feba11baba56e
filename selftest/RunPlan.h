// What a run does with each check, apart from the window: the endpoints a tag selects, the texts of
// a check's row, and how a result changes the recommendations and the row.
#pragma once
#include "Recomend.h"
#include <string>

// Menu tags of the three runs.
constexpr int TagRegular = 0, TagTraining = 1, TagAlternative = 2;

struct Endpoints {
    std::string ServiceHost;
    std::string TrainingHost;
    std::string AlternativeHost;
    std::string CaWebHost;
    std::string ChainPath;
    std::string AltCaWebHost;
    std::string AltChainPath;
};

// The built-in endpoints with the tag applied.
Endpoints SelectEndpoints(int tag);
// The training-complex check (ciCheckLumWebTK) is left out of the alternative run.
bool RunsCheck(int index, int tag);  // index: a TCheckIndex

struct CheckTexts {
    std::string Running;  // caption while the check runs, and when it passes
    std::string Result;   // caption when it does not pass
    const char* Passed;   // information text when it passes; null: the check's own information text
};
CheckTexts TextsOf(int index, const Endpoints& endpoints);

// Changes the recommendations by the check's rule and returns the result the row shows.
int ApplyRecomendRule(int index, int result, TRecomendMap& map, const std::string& info);

// Row images.
constexpr int ImagePassed = 0, ImageFailed = 1, ImageWarning = 2, ImageRunning = 3;

struct RowContent {
    std::string Caption;
    int Image;
    std::string Info;
};
RowContent RowFor(const CheckTexts& texts, int result, const std::string& info);
