// What a run does apart from the window: the endpoints a tag selects, and the row a check's
// result shows.
#pragma once
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

struct CheckTexts {
    std::string Running;  // caption while the check runs, and when it passes
    std::string Result;   // caption when it does not pass
    const char* Passed;   // information text when it passes; null: the check's own information text
};

// Row images.
constexpr int ImagePassed = 0, ImageFailed = 1, ImageWarning = 2, ImageRunning = 3;

struct RowContent {
    std::string Caption;
    int Image;
    std::string Info;
};
RowContent RowFor(const CheckTexts& texts, int result, const std::string& info);
