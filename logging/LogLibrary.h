// The library's own state between its start and its end (internal to the library).
#pragma once
#include "LogDateTime.h"
#include <string>

namespace HierLog {

namespace Internal {
// The local time at library start; event ages count from it.
extern TDateTime StartTime;
// True once the library has ended: logging operations do nothing then.
bool Ended();

void StartNDCLock();
void StartNDCMap();
void EndNDCMap();
void EndNDCLock();

// Lines on the internal logger (nothing once it is gone).
void InternalDebug(const std::string& message);
void InternalWarn(const std::string& message);
void InternalError(const std::string& message);
}  // namespace Internal

}  // namespace HierLog
