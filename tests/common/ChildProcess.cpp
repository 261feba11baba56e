#include "ChildProcess.h"
#include <windows.h>
#include "Owned.h"

std::string ProgramOutput(const std::string& commandLine, unsigned long timeoutMs) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return std::string();
    TKernelHandle reader(readEnd), writer(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process{};
    std::string command = commandLine;
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &process))
        return std::string();
    TKernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
    writer.Reset();
    // Read as it comes, so that a child that fills the pipe is not blocked, until it ends.
    std::string output;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (bool ended = false;;) {
        DWORD available = 0;
        while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
            char buffer[4096];
            DWORD read = 0;
            if (!ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) || read == 0)
                break;
            output.append(buffer, read);
        }
        if (ended)
            return output;
        ended = WaitForSingleObject(process.hProcess, 20) == WAIT_OBJECT_0;
        if (!ended && GetTickCount64() > deadline) {
            TerminateProcess(process.hProcess, 1);
            return std::string();
        }
    }
}
