// What a run keeps: a result for each row in list order, the request record with the signer's
// identifier, and the verdict. The list, the detail window and the results text show it.
#pragma once
#include "CheckTable.h"
#include "LumClient.h"
#include "RunPlan.h"
#include "Tests.h"
#include <memory>
#include <string>
#include <vector>

// A row of the run.
struct TCheckResult {
    TCheck Check;
    RowContent Row;  // the image is ImageRunning while the routine runs

    // The routine has returned or raised: only then does the row name its check.
    bool Done() const { return Row.Image != ImageRunning; }
    // The hidden ID column: the check's index in decimal once done, else empty.
    std::string IdText() const { return Done() ? std::to_string(Check.Index) : std::string(); }
};

struct TRunState {
    std::vector<TCheckResult> Results;
    std::unique_ptr<_AUTH_REQUEST> Request;      // made afresh by each run; null before the first
    char Identifier[SignerIdentifierSize] = {};  // the request's buffer: the signer's identifier
    std::string RecomendText;                    // the verdict text
    bool Running = false;

    // The identifier that the signature check received, read within its buffer.
    std::string SignerIdentifier() const { return SignerIdentifierText(Identifier); }
};
