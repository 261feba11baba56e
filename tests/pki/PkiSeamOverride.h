// Puts fakes into the provider seam for one test and restores the real calls afterwards.
#pragma once
#include "PkiSeam.h"

class PkiSeamOverride {
public:
    PkiSeamOverride() : saved_(ProviderCalls()) {}
    ~PkiSeamOverride() { ProviderCalls() = saved_; }
    PkiSeamOverride(const PkiSeamOverride&) = delete;
    PkiSeamOverride& operator=(const PkiSeamOverride&) = delete;

private:
    PkiSeam saved_;
};

inline HLOCAL WINAPI FailingLocalAlloc(UINT, SIZE_T) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}
