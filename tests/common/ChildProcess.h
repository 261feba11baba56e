// A program run to its end from a test, with what it wrote.
#pragma once
#include <string>

// Runs the command line (a program of the test programs' folder is found by name) and gives what
// it wrote to its standard output and error; "" when it could not start, or was ended after
// waiting timeoutMs.
std::string ProgramOutput(const std::string& commandLine, unsigned long timeoutMs = 120000);
