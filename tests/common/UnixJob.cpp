#include "UnixJob.h"
#include <windows.h>
#include <cstdlib>
#include "TempFiles.h"
#include "Wait.h"
#include "WinePaths.h"

TUnixJob::TUnixJob(const std::string& name)
    : unixFolder(std::string(VORSALT_JUDGE_RUNS) + "/" + name + "-" + std::to_string(GetCurrentProcessId())),
      windowsFolder(WindowsPathOf(unixFolder)) {
    CreateDirectoryA(WindowsPathOf(VORSALT_JUDGE_RUNS).c_str(), nullptr);
    CreateDirectoryA(windowsFolder.c_str(), nullptr);
}

std::string TUnixJob::Put(const std::string& fileName, const std::string& bytes) const {
    WriteFileBytes(windowsFolder + "\\" + fileName, bytes);
    return UnixPath(fileName);
}

std::string TUnixJob::UnixPath(const std::string& fileName) const {
    return unixFolder + "/" + fileName;
}

TUnixRun TUnixJob::Run(const std::string& script, unsigned long timeoutMs) const {
    const std::string done = windowsFolder + "\\done";
    DeleteFileA(done.c_str());
    Put("job.sh",
        "cd '" + unixFolder + "'\n(\n" + script + "\n) > output 2>&1\necho $? > done.tmp\nmv done.tmp done\n");
    TUnixRun run;
    if (!StartUnixProgram("/bin/sh \"" + UnixPath("job.sh") + "\"") ||
        !WaitUntil([&] { return !FileBytes(done).empty(); }, timeoutMs))
        return run;
    run.ExitCode = std::atoi(FileBytes(done).c_str());
    run.Output = FileBytes(windowsFolder + "\\output");
    return run;
}
