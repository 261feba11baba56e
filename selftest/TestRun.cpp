#include "TestRun.h"
#include "Exception.h"
#include "HttpFactory.h"
#include <cstring>

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

void RunOne(const TCheck& check, RunContext& context, IRunView& view, TRunState& state, TRecomendMap& map) {
    const CheckTexts texts = check.Texts(context.Hosts);
    int row = -1;
    try {
        view.StepProgress();
        state.Results.push_back({check, {texts.Running, ImageRunning, ""}});
        row = static_cast<int>(state.Results.size()) - 1;
        view.ShowRow(row, state.Results[row]);
        view.ProcessMessages();
        std::string info;
        const int r = check.Rule(check.Run(context, info), map, info);
        state.Results[row].Row = RowFor(texts, r, info);
        view.ShowRow(row, state.Results[row]);
    } catch (const Exception& e) {
        if (row < 0)
            return;
        RowContent& failed = state.Results[row].Row;
        failed.Image = ImageFailed;
        failed.Info = e.Message;
        view.ShowRow(row, state.Results[row]);
    }
}

bool SignatureFailed(const TRunState& state) {
    for (const TCheckResult& result : state.Results)
        if (result.Check.Index == ciSign)
            return result.Row.Image == ImageFailed;
    return false;
}

}  // namespace

void RunTests(int tag, IRunView& view, TRunState& state, const std::vector<TCheck>& checks) {
    if (state.Running)
        return;
    // Released after the guard has hidden the strip: the gateway's first, the service's last.
    const std::unique_ptr<TAllHTTP> serviceClient = CreateHttpClient(false, 0);
    const std::unique_ptr<TAllHTTP> chainClient = CreateHttpClient(false, 0);
    const std::unique_ptr<TAllHTTP> gatewayClient = CreateHttpClient(false, 0);
    RunGuard guard(view, state);
    view.ShowProgress(CheckCount);
    state.Results.clear();
    view.ClearRows();
    NewRequestRecord(state);
    RunContext context{SelectEndpoints(tag), *state.Request, *serviceClient, *chainClient, *gatewayClient};
    TRecomendMap map;
    state.RecomendText.clear();

    for (const TCheck& check : checks)
        if (RunsCheck(check, tag))
            RunOne(check, context, view, state, map);

    unsigned icon = ComposeVerdict(map, SignatureFailed(state), state.RecomendText);
    view.ShowVerdict(state.RecomendText, icon);
}
