// A Unix program run from a test under Wine, as an independent judge (openssl reading what the
// code under test wrote): a shell script run by /bin/sh in a folder of the job's own, where the
// files it reads are put first. Wine cannot wait on a Unix process, so the script's end is known
// from the file it writes last.
#pragma once
#include <string>

struct TUnixRun {
    int ExitCode = -1;   // -1: the script did not end within the time
    std::string Output;  // standard output and error
};

class TUnixJob {
public:
    // name: unique among the jobs alive at one time in this process.
    explicit TUnixJob(const std::string& name);
    // Writes the bytes into the job's folder; gives the file's Unix path.
    std::string Put(const std::string& fileName, const std::string& bytes) const;
    // The Unix path of a file of the job's folder.
    std::string UnixPath(const std::string& fileName) const;
    // Runs the script in the job's folder and waits for its end (at most Scaled(timeoutMs)).
    TUnixRun Run(const std::string& script, unsigned long timeoutMs = 60000) const;

private:
    std::string unixFolder, windowsFolder;
};
