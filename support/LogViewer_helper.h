// Second debug channel: each line goes to the debugger output with the calling thread's
// number in front and, while the registry switch HKLM\Software\VYRN\Loggers is on, to the log
// viewer window (class "LOGGER_CLASS") as a copy-data message (identifier 1, NUL-terminated
// UTF-16). Lines written while no viewer exists wait (at most 100, oldest dropped) and reach
// the next viewer found first. Any thread may write; nothing is reported or raised, and the
// thread's last error is left as it was.
#pragma once
#include <string>

void WriteDebugLine(const std::wstring& text);
// Converted from the system code page.
void WriteDebugLineStr(const std::string& text);
void WriteDebugLineW(const wchar_t* text);
