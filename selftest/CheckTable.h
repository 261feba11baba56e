// The check table: identifiers, descriptions and criticality of the eleven checks, and the end mark.
#pragma once

constexpr int TestTableSize = 12;  // eleven checks and "End"
constexpr int CheckCount = 11;

extern const char* const TestIds[TestTableSize];
extern const char* const TestDescriptions[TestTableSize];
extern const char* const TestCriticality[TestTableSize];

// Returns the criticality text of a check and sets level to 0 (critical), 1 (not critical for the
// workstation) or 2 (not critical); a text that matches none leaves level as it was.
const char* GetCriticality(int index, int& level);
