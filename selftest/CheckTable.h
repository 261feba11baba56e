// The check table: identifiers, descriptions and criticality of the eleven checks, and the end mark.
#pragma once

// The checks by their index in the table, named by their identifiers.
enum TCheckIndex : int {
    ciConnect80,
    ciConnect443,
    ciIsCSP,
    ciCSPWork,
    ciRootInstalled,
    ciConnectSSL,
    ciCheckLumWeb,
    ciCheckLumWebTK,
    ciTSPOCSPProxy,
    ciSign,
    ciZantholder,
    ciEnd,
};

constexpr int TestTableSize = ciEnd + 1;  // eleven checks and "End"
constexpr int CheckCount = ciEnd;

extern const char* const TestIds[TestTableSize];
extern const char* const TestDescriptions[TestTableSize];
extern const char* const TestCriticality[TestTableSize];

// Returns the criticality text of a check and sets level to 0 (critical), 1 (not critical for the
// workstation) or 2 (not critical); a text that matches none leaves level as it was.
const char* GetCriticality(int index, int& level);
