#include "StoreProbe.h"
#include <sstream>
#include "ChildProcess.h"

TStoreView StoreSeenByAnotherProcess(const TScratchStores& stores, const std::string& store) {
    TStoreView view;
    view.Output = OutputOf("cert_store_probe.exe \"" + stores.Path() + "\" " + store);
    std::istringstream lines(view.Output);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line == "opened")
            view.Opened = true;
        else if (line.compare(0, 5, "cert ") == 0)
            view.Certs.push_back(line.substr(5));
        else if (line.compare(0, 4, "crl ") == 0)
            view.Crls.push_back(line.substr(4));
    }
    return view;
}
