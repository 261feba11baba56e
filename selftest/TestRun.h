// The test run: walks the checks, fills the list row by row, keeps the recommendations and shows
// the verdict. The window it fills is behind IRunView, so the walk runs the same without one.
#pragma once
#include "LumClient.h"
#include "RunPlan.h"
#include "Tests.h"
#include "class_http.h"
#include <memory>
#include <string>
#include <vector>

class IRunView {
public:
    virtual ~IRunView() = default;
    virtual void ShowProgress(int max) = 0;  // the strip appears, the bar at 0 of max
    virtual void StepProgress() = 0;
    virtual void HideProgress() = 0;  // the strip disappears, the bar back at 0
    virtual void ClearRows() = 0;
    virtual int AddRow(const std::string& caption, int image) = 0;
    virtual void SetRow(int row, const RowContent& content) = 0;
    virtual void SetRowFailed(int row, const std::string& message) = 0;  // image 1, message as information
    virtual void SetRowId(int row, int index) = 0;
    virtual void ProcessMessages() = 0;
    virtual void ShowVerdict(const std::string& text, unsigned icon) = 0;
};

// What a run leaves for the detail window and the support report.
struct TRunState {
    std::unique_ptr<_AUTH_REQUEST> Request;      // made afresh by each run; null before the first
    char Identifier[SignerIdentifierSize] = {};  // the request's buffer: the signer's identifier
    std::string RecomendText;                    // the verdict text
    bool Running = false;

    // The identifier that the signature check received, read within its buffer.
    std::string SignerIdentifier() const { return SignerIdentifierText(Identifier); }
};

// What a check routine may use.
struct RunContext {
    Endpoints Hosts;
    TRunState& State;
    TAllHTTP& ServiceClient;  // the SSL, service and training-complex checks
    TAllHTTP& ChainClient;    // the root chain download
    TAllHTTP& GatewayClient;  // the gateway ping
};

struct CheckRoutine {
    int Index;  // a TCheckIndex
    int (*Run)(RunContext& context, std::string& info);
};

// The routines of the checks this program has, in table order.
const std::vector<CheckRoutine>& BuiltInChecks();

// Runs the checks for the tag. Ignored while a run is in progress. Exceptions of the class library's
// class inside a check fail its row; any other ends the run without a verdict and goes on up.
void RunTests(int tag, IRunView& view, TRunState& state, const std::vector<CheckRoutine>& checks = BuiltInChecks());
