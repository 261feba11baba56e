// Prints what GetOSVersionCode answers in this process: "<result> <code> <service pack>".
// The service pack reads "untouched" when the call left it as it was.
#include "OsVersion.h"
#include <cstdio>
#include <string>

int main() {
    int code = -1;
    std::string servicePack = "untouched";
    const bool result = GetOSVersionCode(&code, &servicePack);
    printf("%d %d %s", result ? 1 : 0, code, servicePack.c_str());
    return 0;
}
