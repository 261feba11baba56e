#include "ChildProcess.h"
#include "Owned.h"
#include "Wait.h"

std::string OutputOf(const std::string& commandLine, DWORD timeoutMs) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    TKernelHandle reader, writer;
    if (!CreatePipe(reader.Receive(), writer.Receive(), &inherit, 0))
        return std::string();
    SetHandleInformation(reader.Get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writer.Get();
    startup.hStdError = writer.Get();
    PROCESS_INFORMATION process = {};
    std::string command = commandLine;
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &process))
        return std::string();
    const TKernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
    writer.Close();  // the child's end: the reads end when the child does
    std::string output;
    char buffer[256];
    DWORD read = 0;
    while (ReadFile(reader.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        output.append(buffer, read);
    if (WaitForSingleObject(process.hProcess, Scaled(timeoutMs)) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        return std::string();
    }
    return output;
}
