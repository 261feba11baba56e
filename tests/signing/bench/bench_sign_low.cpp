// SignLow over 1 MB with the time stamp and the OCSP response from openssl's responders on
// loopback, through the stand-in automation objects (tools/bench-signing.sh; not run by CTest).
// Prints the median and the spread of each stage as SignLow's own progress reports give them,
// split at the moment the responder logged the request, beside a signature alone, attached and
// detached.
#include <windows.h>
#include <wincrypt.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "AutomationStandin.h"
#include "CmsOnDer.h"
#include "Func_sign.h"
#include "RegistryFixture.h"
#include "ScratchStores.h"
#include "SignerFixture.h"
#include "SigningPeers.h"

namespace {

const int Runs = 15;

// Seconds since the epoch, the clock of the responders' logs.
double WallClock() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<double>(ticks - 116444736000000000ULL) / 1e7;
}

struct TReport {
    std::string text;
    double at;
};
std::vector<TReport>* Reports = nullptr;

void __stdcall Progress(const char* text, int) {
    if (Reports)
        Reports->push_back({text, WallClock()});
}

const TTimeStampService* Service = nullptr;
const TOcspResponder* Responder = nullptr;

// When the peer logged its last request.
double LastRequestAt(const TSigningPeer* peer) {
    const auto requests = peer->Requests();
    return requests.empty() ? 0 : requests.back().Time;
}

// The milliseconds at the end of a progress text.
double Millis(const std::string& report) {
    const size_t digits = report.find_last_not_of("0123456789") + 1;
    return std::stod(report.substr(digits));
}

struct TSample {
    double total = 0;
    std::vector<double> stages;
    std::vector<double> untilRequest;  // per service stage: ms from its start to the request's arrival
};

double Elapsed(const LARGE_INTEGER& from) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool Sign(const std::string& data, PCCERT_CONTEXT signer, bool services, bool detached, TSample& sample, size_t& size) {
    std::vector<TReport> reports;
    Reports = &reports;
    BYTE* message = nullptr;
    DWORD length = 0;
    char text[SignLowErrorTextCapacity] = {};
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    const int result = SignLow(reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()), &message,
                               &length, signer, nullptr, services, services, detached, 0, 0, text, Progress);
    sample.total = Elapsed(start);
    Reports = nullptr;
    ForgetChangedMessages();
    if (result != 0) {
        std::printf("SignLow: %d %s\n", result, text);
        return false;
    }
    LocalFree(message);
    size = length;
    for (const TReport& report : reports)
        sample.stages.push_back(Millis(report.text));
    if (services && reports.size() == 3) {
        // The stamp's stage starts at the signature's report, the response's at the stamp's.
        sample.untilRequest.push_back(1000 * (LastRequestAt(Service) - reports[0].at));
        sample.untilRequest.push_back(1000 * (LastRequestAt(Responder) - reports[1].at));
    }
    return true;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Row(const char* name, const std::vector<double>& values) {
    std::printf("  %-34s %9.1f %9.1f %9.1f\n", name, Median(values), *std::min_element(values.begin(), values.end()),
                *std::max_element(values.begin(), values.end()));
}

bool Measure(const char* title, const std::string& data, PCCERT_CONTEXT signer, bool services, bool detached) {
    std::vector<TSample> samples(Runs);
    size_t size = 0;
    TSample warmUp;
    if (!Sign(data, signer, services, detached, warmUp, size))
        return false;
    for (TSample& sample : samples)
        if (!Sign(data, signer, services, detached, sample, size))
            return false;
    std::printf("%s: %zu bytes signed, message %zu bytes; ms over %d runs\n", title, data.size(), size, Runs);
    std::printf("  %-34s %9s %9s %9s\n", "", "median", "min", "max");
    const char* const stageNames[] = {"signature (key, hash, sign, reopen)", "time stamp", "OCSP response"};
    std::vector<double> rest;
    for (size_t stage = 0; stage < samples[0].stages.size(); ++stage) {
        std::vector<double> values, until, after;
        for (const TSample& sample : samples) {
            values.push_back(sample.stages[stage]);
            if (stage > 0) {
                until.push_back(sample.untilRequest[stage - 1]);
                after.push_back(sample.stages[stage] - sample.untilRequest[stage - 1]);
            }
        }
        Row(stageNames[stage], values);
        if (stage > 0) {
            Row("  until the responder has the request", until);
            Row("  from there to the stage's end", after);
        }
    }
    for (const TSample& sample : samples) {
        double stages = 0;
        for (double value : sample.stages)
            stages += value;
        rest.push_back(sample.total - stages);
    }
    Row("the rest (compare, encode, copy)", rest);
    std::vector<double> totals;
    for (const TSample& sample : samples)
        totals.push_back(sample.total);
    Row("whole call", totals);
    return true;
}

}  // namespace

int main() {
    TComApartment com;
    TScratchStores stores("bench-sign-low");
    TAutomationRegistration objects;
    const TTimeStampService service;
    const TOcspResponder responder;
    Service = &service;
    Responder = &responder;
    const TSigner signer("signer");
    const TTestKey policy(HKEY_CURRENT_USER, "SOFTWARE\\Policies\\Crypto-Pro\\TSP");
    if (!com.Active() || !stores.Active() || !objects.Active() || !service.Started() || !responder.Started() ||
        !signer.Ready() || !policy.SetText("DefaultTSPURL", TTimeStampService::Url())) {
        std::printf("the benchmark's peers, objects or signer are not ready\n");
        return 1;
    }
    const TCmsOnDer messages;  // Wine can neither read the signature value nor add an unsigned attribute
    std::string data(1 << 20, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 131 + (i >> 9));
    const bool measured = Measure("Attached, time stamp and OCSP", data, signer.Cert(), true, false) &&
                          Measure("Detached, time stamp and OCSP", data, signer.Cert(), true, true) &&
                          Measure("Attached, signature alone", data, signer.Cert(), false, false);
    return measured ? 0 : 1;
}
