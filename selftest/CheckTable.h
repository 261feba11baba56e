// The check table: each of the eleven checks as one record (its identifier, criticality,
// description, row texts, routine and recommendation rule), in the order a run walks them.
#pragma once
#include "Recomend.h"
#include "RunPlan.h"
#include <string>
#include <vector>

class TAllHTTP;
struct _AUTH_REQUEST;

// The checks by their place in the table, named by their identifiers.
enum TCheckIndex : int {
    ciConnect80,
    ciConnect443,
    ciIsCSP,
    ciCSPWork,
    ciRootInstalled,
    ciConnectSSL,
    ciCheckLumWeb,
    ciCheckLumWebTK,
    ciTSPOCSPProxy,
    ciSign,
    ciZantholder,
};
constexpr int CheckCount = ciZantholder + 1;

// How much a failure of the check matters; the detail window colours a failed row by it.
enum class TCriticality { Critical, ForWorkstation, NotCritical };
// "1.Критичный", "2.Не критичный (для рабочего места)" or "3.Не критичный".
const char* CriticalityText(TCriticality level);

// What a check routine may use.
struct RunContext {
    Endpoints Hosts;
    _AUTH_REQUEST& Request;   // the run's request record (the signature check)
    TAllHTTP& ServiceClient;  // the SSL, service and training-complex checks
    TAllHTTP& ChainClient;    // the root chain download
    TAllHTTP& GatewayClient;  // the gateway ping
};

struct TCheck {
    TCheckIndex Index;  // its place in the table, which the list's hidden ID column shows
    const char* Id;
    TCriticality Level;
    const char* Description;  // what the check covers and what to do when it fails
    CheckTexts (*Texts)(const Endpoints& hosts);
    // The routine (Tests.h): 0 passed, 100 warning, another value failed; its words go into info.
    int (*Run)(RunContext& context, std::string& info);
    // Changes the recommendations by the routine's result and returns the result the row shows.
    int (*Rule)(int result, TRecomendMap& map, const std::string& info);
    bool InAlternativeRun;  // false for the training-complex check alone
};

// The eleven checks, in table order.
const std::vector<TCheck>& BuiltInChecks();

// Whether a run of the tag runs the check.
bool RunsCheck(const TCheck& check, int tag);
