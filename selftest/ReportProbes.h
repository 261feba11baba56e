// Probes of the support report whose answers Wine cannot give on demand (a seam, Seam.h).
#pragma once
#include <string>

struct TReportProbes {
    // A workstation with an address and an adapter that carries it (the sandbox has neither).
    std::string (*GetLocalIP)();
    bool (*GetLocalMAC)(std::string& mac);
    // A class-library exception from within a part of the report (the hosts file's reader raises
    // one when the file cannot be read).
    std::string (*GetHostsReport)();

    static TReportProbes Real();
};
