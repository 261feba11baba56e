// What the stand-ins need in the Wine prefix: the stand-in service CA among the current user's
// trusted roots, and the signing gateway's executable where the gateway check looks for it.
#pragma once
#include <string>

// Adds (true) or removes (false) the stand-in CA in the current user's Root store. A process
// that has already checked a chain keeps the roots it saw then.
bool TrustStandinCa(bool trust);

// The gateway's executable in the 32-bit Program Files folder.
std::wstring ZantholderPath();
// Makes an empty executable there, with its folders.
bool PlaceZantholder();
// Removes it (also a folder of that name), leaving its folders.
void RemoveZantholder();
