#include "ServicePaths.h"
#include "ErrorText.h"
#include "IDispatchLib.h"
#include "OleException.h"
#include "VyrnLog.h"

namespace {
void LogLine(const char* line, const std::string& rest = std::string()) {
    if (line != nullptr)
        VYRNLog(line + rest);
}
}  // namespace

TPathsRun RunServicePaths(const TServicePaths& service, int flags) {
    bool com = (flags & PathFlagCom) != 0, api = (flags & PathFlagApi) != 0;
    if (!com && !api)
        com = api = true;
    std::string apiText, comText;
    int versionCode = 0;
    if (api)
        api = service.loadLibrary(versionCode, &apiText);
    if (com)
        com = service.probeCom(&comText) != 1000;
    if (versionCode != 0 && versionCode < 500) {
        com = false;
        comText = service.comDisabled;
    }
    TPathsRun run;
    if (!com && !api) {
        run.result = 2;
        run.failed = true;
        run.text = service.accessFailed + apiText + "\r\n" + comText;
        return run;
    }
    apiText.clear();
    comText.clear();
    run.paths = std::string(com ? "COM" : "NOCOM") + ", " + (api ? "API" : "NOAPI");
    LogLine(service.pathsLine, run.paths);
    bool succeeded = false;
    if (com) {
        LogLine(service.tryCom);
        run.result = service.byCom(&comText);
        succeeded = run.result == 0;
        if (!succeeded)
            LogLine(service.comFailed, comText);
    }
    if (!succeeded && api) {
        LogLine(service.tryApi);
        run.result = service.byLibrary(&apiText);
        succeeded = run.result == 0;
    }
    if (!succeeded) {
        run.failed = true;
        run.text = apiText + (apiText.empty() ? "" : "\r\n") + comText;
    }
    return run;
}

int ProbeComObject(const TComProbe& probe, std::string* errorText) {
    try {
        TMyComPtr object;
        object.CreateDispatchObject(probe.progId);
        return 0;
    } catch (const EOleException& e) {
        const std::string text = FormatErrorText(e.Message, probe.namesCode ? e.ErrorCode : 0, true, false);
        if (probe.appends)
            AppendErrorText(errorText, text);
        else
            StoreErrorText(errorText, text);
    } catch (...) {
        LogOrStoreError(errorText, probe.unknownFailure, 0, true);
    }
    return 1000;
}
