// What the scripted stand-ins share: the test writes a script of "key=value" entries ended by ";"
// into an environment variable, and the stand-in lists the calls it got in another one.
#pragma once
#include <string>
#include <utility>
#include <vector>

std::vector<std::string> SplitText(const std::string& text, char separator);
// The "key=value" entries of a script, in order; entries without "=" are skipped.
std::vector<std::pair<std::string, std::string>> ScriptEntries(const std::string& script);
// A hexadecimal number; 0 when the text is none.
unsigned long HexValue(const std::string& text);

// The variable's text, "" when it is not set.
std::string EnvironmentText(const char* name);
// Appends the entry and ";" to the journal variable.
void AppendJournal(const char* name, const std::string& entry);
