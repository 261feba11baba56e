#include "VyrnLog.h"
#include "DebugOutputApi.h"
#include "Seam.h"

void VYRNLog(const std::string& message) {
    if (message.empty())
        return;
    Seam<TDebugOutputApi>().OutputDebugStringA(("VYRNLog: " + message).c_str());
}
