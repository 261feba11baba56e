// The time-stamp service address set by the provider's policy.
#pragma once
#include <string>

// "DefaultTSPURL" under SOFTWARE\Policies\Crypto-Pro\TSP, the machine's value before the user's.
// 0 with url set (possibly empty); 1 with errorText set and url untouched when neither is readable.
int GetPKIurl(std::string* url, std::string* errorText);
