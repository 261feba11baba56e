// One of the current user's certificate stores of a scratch key as a second process sees it
// (cert_store_probe.exe): what went in, not what this process's crypt32 keeps.
#pragma once
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
