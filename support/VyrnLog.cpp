#include "VyrnLog.h"
#include <windows.h>

void VYRNLog(const std::string& message) {
    if (message.empty())
        return;
    OutputDebugStringA(("VYRNLog: " + message).c_str());
}
