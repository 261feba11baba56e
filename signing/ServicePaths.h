// The choice between a service's two paths, the provider's automation objects and its older
// library, as the flags ask and the workstation allows: one runner over a description of the
// service (the time stamp's and the OCSP response's stand in Ocsptsp.cpp). Texts are cp1251.
#pragma once
#include <functional>
#include <string>

// Flags. Time stamp: 1 verify, 2 the automation path, 4 the libraries' path (neither: both), 8
// post the request by hand. OCSP: 1 the send argument, 2 and 4 as for the stamp.
enum : int { PathFlagVerify = 1, PathFlagCom = 2, PathFlagApi = 4, PathFlagManual = 8 };

// What the runner needs of one service. A debug line that is null is not written.
struct TServicePaths {
    const char* accessFailed;  // when no path can be used, before the load's text, a line break and the probe's
    const char* comDisabled;   // the probe's text below version code 500 (Windows 2000)
    const char* pathsLine;     // before the paths are tried, followed by "COM, API" or the like
    const char* tryCom;        // before the automation path
    const char* comFailed;     // after the automation path failed, followed by its text
    const char* tryApi;        // before the library's path
    // The library loaded (versionCode set, 0 when unknown); the automation object probed (1000:
    // it cannot be made); each path taken (0 is success). Each writes the text it is given.
    std::function<bool(int& versionCode, std::string* errorText)> loadLibrary;
    std::function<int(std::string* errorText)> probeCom;
    std::function<int(std::string* errorText)> byCom;
    std::function<int(std::string* errorText)> byLibrary;
};

struct TPathsRun {
    int result = 0;  // 2 no path could be used; else the last path's result
    bool failed = false;
    std::string text;   // a failure's text: accessFailed and the reasons, or the library path's
                        // text, a line break when it is not empty, the automation path's (may be "")
    std::string paths;  // the paths that could be used: "COM, API", "NOCOM, API", "COM, NOAPI"
};

// The paths of the flags (neither bit: both) that can be used are tried, the automation path
// first; below version code 500 only the library's.
TPathsRun RunServicePaths(const TServicePaths& service, int flags);

// How a service's automation object is probed and its failure told.
struct TComProbe {
    const wchar_t* progId;
    const char* unknownFailure;  // for an exception that is not the COM error's
    bool namesCode;              // the COM error's text carries its code
    bool appends;                // the COM error's text goes on the end of *errorText
};

// 0 when the object can be made; 1000 with the reason (with the COM error information).
int ProbeComObject(const TComProbe& probe, std::string* errorText);
