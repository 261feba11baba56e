#include "TestRun.h"
#include "CheckTable.h"
#include "Exception.h"
#include "HttpFactory.h"
#include "Tests.h"
#include <cstring>

namespace {

int RunZantholder(RunContext& context, std::string& info) {
    if (!IsZantholderInstalled()) {
        info = "Не найдено";
        return 100;
    }
    return PingZantholder(context.GatewayClient, info);
}

}  // namespace

const std::vector<CheckRoutine>& BuiltInChecks() {
    static const std::vector<CheckRoutine> checks = {
        {ciConnect80, [](RunContext& c, std::string& info) { return CheckConnect(c.Hosts.ServiceHost, 80, info); }},
        {ciConnect443, [](RunContext& c, std::string& info) { return CheckConnect(c.Hosts.ServiceHost, 443, info); }},
        {ciIsCSP, [](RunContext&, std::string& info) { return CheckCSPInstalled(info); }},
        {ciCSPWork, [](RunContext&, std::string& info) { return CheckCSPWork(info); }},
        {ciConnectSSL,
         [](RunContext& c, std::string& info) { return CheckSSL(c.Hosts.ServiceHost, c.ServiceClient, info); }},
        {ciCheckLumWeb,
         [](RunContext& c, std::string& info) { return PingAppServer(c.Hosts.ServiceHost, c.ServiceClient, info); }},
        {ciCheckLumWebTK,
         [](RunContext& c, std::string& info) { return PingAppServer(c.Hosts.TrainingHost, c.ServiceClient, info); }},
        {ciTSPOCSPProxy, [](RunContext& c, std::string& info) { return CheckTSPOCSPProxy(c.Hosts.ServiceHost, info); }},
        {ciSign,
         [](RunContext& c, std::string& info) { return CheckSign(c.Hosts.ServiceHost, *c.State.Request, info); }},
        {ciZantholder, [](RunContext& c, std::string& info) { return RunZantholder(c, info); }},
    };
    return checks;
}

namespace {

// Clears the in-progress mark and hides the strip however the run ends.
class RunGuard {
public:
    RunGuard(IRunView& view, TRunState& state) : view_(view), state_(state) { state_.Running = true; }
    ~RunGuard() {
        state_.Running = false;
        try {
            view_.HideProgress();
        } catch (...) {
        }
    }

private:
    IRunView& view_;
    TRunState& state_;
};

void NewRequestRecord(TRunState& state) {
    state.Request = std::make_unique<_AUTH_REQUEST>();
    std::memset(state.Identifier, 0, sizeof state.Identifier);
    state.Request->size = sizeof(_AUTH_REQUEST);
    state.Request->second = 1;
    state.Request->buffer = state.Identifier;
    state.Request->bufferSize = sizeof state.Identifier;
}

void RunOne(const CheckRoutine& check, RunContext& context, IRunView& view, TRecomendMap& map) {
    const CheckTexts texts = TextsOf(check.Index, context.Hosts);
    int row = -1;
    try {
        view.StepProgress();
        row = view.AddRow(texts.Running, ImageRunning);
        view.ProcessMessages();
        std::string info;
        int r = check.Run(context, info);
        r = ApplyRecomendRule(check.Index, r, map, info);
        view.SetRow(row, RowFor(texts, r, info));
        view.SetRowId(row, check.Index);
    } catch (const Exception& e) {
        if (row < 0)
            return;
        view.SetRowFailed(row, e.Message);
        view.SetRowId(row, check.Index);
    }
}

}  // namespace

void RunTests(int tag, IRunView& view, TRunState& state, const std::vector<CheckRoutine>& checks) {
    if (state.Running)
        return;
    // Released after the guard has hidden the strip: the gateway's first, the service's last.
    const std::unique_ptr<TAllHTTP> serviceClient = CreateHttpClient(false, 0);
    const std::unique_ptr<TAllHTTP> chainClient = CreateHttpClient(false, 0);
    const std::unique_ptr<TAllHTTP> gatewayClient = CreateHttpClient(false, 0);
    RunGuard guard(view, state);
    RunContext context{SelectEndpoints(tag), state, *serviceClient, *chainClient, *gatewayClient};
    view.ShowProgress(CheckCount);
    view.ClearRows();
    NewRequestRecord(state);
    TRecomendMap map;
    state.RecomendText.clear();

    for (const CheckRoutine& check : checks)
        if (RunsCheck(check.Index, tag))
            RunOne(check, context, view, map);

    unsigned icon = ComposeVerdict(map, state.RecomendText);
    view.ShowVerdict(state.RecomendText, icon);
}
