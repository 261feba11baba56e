// The Unix file system as the tests see it through Wine, which maps it to drive Z:, and the Unix
// programs they start.
#pragma once
#include <string>

// "Z:" and the Unix path with backslashes.
std::string WindowsPathOf(const std::string& unixPath);
// The Unix path of a path on drive Z:.
std::string UnixPathOf(const std::string& windowsPath);

// Starts a Unix program (Wine runs it); false when it does not start. Wine cannot wait on a Unix
// process: the caller learns its end from a file that it writes.
bool StartUnixProgram(std::string commandLine);
