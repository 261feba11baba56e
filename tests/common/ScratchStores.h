// The current user's certificate stores of one test: this process's HKEY_CURRENT_USER stands on
// a fresh scratch key while the object lives, so nothing reaches the prefix's own stores, and the
// stores are filled from the CA test PKI (CaPki.h). A second process finds them through Path()
// (StoreProbe.h).
// The chain engine keeps the stores of its first use for the life of the process, so every test
// of a process that builds chains starts from the same chain stores: the root "ЦС_3" in "Root"
// and the intermediate in "CA".
#pragma once
#include <windows.h>
#include <string>
#include "RegistryFixture.h"

class TScratchStores {
public:
    enum TStart { ChainStores, NoStores };
    // name: unique among the tests alive at one time in this process.
    explicit TScratchStores(const std::string& name, TStart start = ChainStores);

    // Adds NAME.der, or the CRL NAME, of the PKI to a store of the current user, made if missing.
    bool AddCert(const wchar_t* store, const std::string& name);
    bool AddCrl(const wchar_t* store, const std::string& name);

    // False when the scratch key could not stand in: the test must stop.
    bool Active() const { return active; }
    const std::string& Path() const { return user.Path(); }

private:
    TPredefinedKeyOverride user;
    bool active;
};
