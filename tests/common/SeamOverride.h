// The one way a test replaces calls of a seam (support/Seam.h): for the life of the override the
// entries it sets stand in the table in use; the table as it was comes back when the scope ends.
//   TSeamOverride<TWinInetApi> seam;
//   seam->InternetReadFile = FailingRead;
// A replacement that calls through to the platform takes the real function from RealCalls.
#pragma once
#include "Seam.h"

template <typename Table>
const Table& RealCalls() {
    static const Table real = Table::Real();
    return real;
}

template <typename Table>
class TSeamOverride {
public:
    TSeamOverride() : saved(Seam<Table>()) {}
    ~TSeamOverride() { Seam<Table>() = saved; }
    TSeamOverride(const TSeamOverride&) = delete;
    TSeamOverride& operator=(const TSeamOverride&) = delete;

    // The table in use, whose entries the test replaces.
    Table* operator->() const { return &Seam<Table>(); }

private:
    const Table saved;
};
