// Recommendations that the checks leave behind, and the verdict composed from them.
#pragma once
#include <map>
#include <string>

enum TRecomend {
    rcSuccess = 0,
    rcNetworkAccess = 1,
    rcNetworkAndProxy = 2,
    rcNoCSP = 3,
    rcReinstallCSP = 4,
    rcFailure = 5,
    rcRunAllChecks = 6,
    rcSignatureFailed = 7,
    rcReadDiagnostics = 8,
};

// Ordered by key; an entry may be present with the value false.
using TRecomendMap = std::map<TRecomend, bool>;

// The text of a recommendation; empty for values outside 0 to 8.
const char* GetRecomendText(int value);
bool HasRecomend(const TRecomendMap& map, TRecomend key);

// Verdict icons, as message-box styles.
constexpr unsigned VerdictNoIcon = 0, VerdictError = 16, VerdictWarning = 48, VerdictInformation = 64;

// Appends the verdict to text and returns its icon; the map's entries 0 and 5 are spent on the way.
// When nothing is recommended, the run reads as one whose training complex answered: the success
// sentence, and the test signature's recommendation when that check failed (signatureFailed).
unsigned ComposeVerdict(TRecomendMap& map, bool signatureFailed, std::string& text);
