// Runs a program of the test's own in a child process and gives what it printed.
#pragma once
#include <windows.h>
#include <string>

// The child's standard output and error; "" when it could not be started or did not end within
// Scaled(timeoutMs) (it is then ended).
std::string OutputOf(const std::string& commandLine, DWORD timeoutMs = 60000);
