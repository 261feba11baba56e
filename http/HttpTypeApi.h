// What the back-end choice asks of the system (a seam, Seam.h): Wine reports only the Windows
// versions of its own list, and its version query never fails.
#pragma once
#include <string>

struct THttpTypeApi {
    // Every version code and service pack of the rule, and the failed query.
    bool (*GetOSVersionCode)(int* code, std::string* servicePack);

    static THttpTypeApi Real();
};
