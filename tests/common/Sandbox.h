// Whether the test runs inside the loopback-only sandbox, where name lookups never leave the machine.
#pragma once
#include <cstdlib>
#include <string>

inline bool InSandbox() {
    const char* v = std::getenv("VORSALT_IN_SANDBOX");
    return v && std::string(v) == "1";
}
