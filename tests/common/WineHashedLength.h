// For a whole test program: hashing asks HashedLengthBound for the message length, because Wine's
// CryptMsgCalculateEncodedLength ends the process. Cases that replace other calls of the seam with
// TSeamOverride keep it.
//   const TWineHashedLength WineHashedLength;  // at namespace scope
#pragma once
#include "HashedLengthBound.h"
#include "ProviderApi.h"
#include "Seam.h"

struct TWineHashedLength {
    TWineHashedLength() { Seam<TProviderApi>().CryptMsgCalculateEncodedLength = HashedLengthBound; }
};
