// One call of SignLow as a host makes it, with what came back: the message, the error-text
// buffer (larger than the capacity, filled beforehand so that what was written shows) and the
// progress reports.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "Func_sign.h"

struct TSignOptions {
    const char* pin = nullptr;
    bool timeStamp = false, ocsp = false, detached = false, keyPeriod = false, cacheKey = false;
};

struct TSignLowRun {
    int result = -1;
    std::string message;  // a copy of the signed message
    bool messageNull = true;
    bool localBlock = false;  // the message was a local-heap block of at least its length
    std::string errorText;    // the buffer up to its first NUL
    std::string buffer;       // all of it: twice the capacity
    std::vector<std::string> progress;
};

constexpr char UntouchedByte = 'Z';

TSignLowRun RunSignLow(const std::string& data, PCCERT_CONTEXT signer, const TSignOptions& options);

// The run failed with this result and an error text that begins so, and handed out no message.
inline ::testing::AssertionResult FailedWith(const TSignLowRun& run, int result, const std::string& textStart) {
    if (run.result == result && run.errorText.compare(0, textStart.size(), textStart) == 0 && run.messageNull)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "result " << run.result << (run.messageNull ? "" : ", a message")
                                         << ", text: " << run.errorText;
}
