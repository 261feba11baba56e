// One of the current user's certificate stores of a scratch key as a second process sees it
// (cert_store_probe.exe): what went in, not what this process's crypt32 keeps.
#pragma once
#include <ostream>
#include <string>
#include <vector>
#include "ScratchStores.h"

struct TStoreView {
    bool Opened = false;             // the store exists
    std::vector<std::string> Certs;  // SHA-1 of each certificate
    std::vector<std::string> Crls;   // each CRL as OpensslCrlView (CaPki.h) gives it
    std::string Output;              // what the probe wrote, for the failure messages
};

TStoreView StoreSeenByAnotherProcess(const TScratchStores& stores, const std::string& store);

// What a second process finds of the CA test PKI (CaPki.h) in the stores: its certificates in
// "Root" (besides the machine's roots, which the current user's "Root" shows too) and in "CA", and
// its CRLs in "CA"; each by its name in the PKI, sorted. Names looked for: root, sub, end, nocn-root.
struct TPkiInStores {
    std::vector<std::string> Root, Ca, CaCrls;
    bool operator==(const TPkiInStores& o) const { return Root == o.Root && Ca == o.Ca && CaCrls == o.CaCrls; }
};
std::ostream& operator<<(std::ostream& os, const TPkiInStores& found);

TPkiInStores PkiSeenByAnotherProcess(const TScratchStores& stores);
