// The Windows version code (major * 100 + minor * 10, + 1 for a server that is not a domain
// controller; 100 on the 9x family; 390 when only the short version record can be read)
// and the processor width of the system. Both ask the platform at every call.
#pragma once
#include <string>

// False when no version record can be read; then, and on an unknown platform, nothing is
// written. The 9x family leaves servicePack as it is. Null outputs are skipped.
bool GetOSVersionCode(int* code, std::string* servicePack);

// True on x64, ARM64 and Itanium systems, also for this 32-bit program.
bool IsOS64Bit();
