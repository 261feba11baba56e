// The one shape of a seam: the platform calls of one part that a test may replace because Wine
// cannot produce what the part must handle (or must not be reached for real), kept in a struct
// of function pointers named after the platform functions, with a static Real() that gives the
// real ones. The header of each seam says why each call is in it.
//   struct TSocketApi {
//       decltype(&::WSAStartup) WSAStartup;  // Wine's never fails
//       static TSocketApi Real();
//   };
// The product calls through Seam<T>(), the table in use; a test replaces entries for one scope
// with TSeamOverride (tests/common/SeamOverride.h).
#pragma once

template <typename Table>
Table& Seam() {
    static Table table = Table::Real();
    return table;
}
