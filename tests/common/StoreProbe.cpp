#include "StoreProbe.h"
#include <algorithm>
#include <sstream>
#include "CaPki.h"
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

namespace {
// The names of the PKI's certificates or CRLs among what the probe found.
std::vector<std::string> Named(const std::vector<std::string>& found, bool crls) {
    std::vector<std::string> names;
    for (const char* known : {"end", "nocn-root", "root", "sub"})
        if (std::count(found.begin(), found.end(), crls ? OpensslCrlView(known) : OpensslCertSha1(known)) != 0)
            names.push_back(known);
    return names;
}
}  // namespace

std::ostream& operator<<(std::ostream& os, const TPkiInStores& found) {
    const auto list = [&](const char* store, const std::vector<std::string>& names) {
        os << store << ":";
        for (const std::string& name : names)
            os << " " << name;
        os << "; ";
    };
    list("Root", found.Root);
    list("CA", found.Ca);
    list("CA CRLs", found.CaCrls);
    return os;
}

TPkiInStores PkiSeenByAnotherProcess(const TScratchStores& stores) {
    const TStoreView root = StoreSeenByAnotherProcess(stores, "Root"), ca = StoreSeenByAnotherProcess(stores, "CA");
    return {Named(root.Certs, false), Named(ca.Certs, false), Named(ca.Crls, true)};
}
