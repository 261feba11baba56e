// What every step of both HTTP clients shares: no exception leaves it, and the error text
// tells where the client was.
#pragma once
#include <string>
#include "ErrorText.h"

// Runs the step and returns its result; any exception gives failureResult and replaces the
// client's error text with failureMessage composed by LogOrStoreError (code 0).
template <typename Step>
int GuardStep(std::string* errorText, const char* failureMessage, int failureResult, bool winHttpOwnsCodes,
              Step step) noexcept {
    try {
        return step();
    } catch (...) {
    }
    try {
        LogOrStoreError(errorText, failureMessage, 0, false, winHttpOwnsCodes);
    } catch (...) {
        errorText->clear();  // no memory for the text: the result alone reports the failure
    }
    return failureResult;
}

// " (" server ":" page of the object path ")": appended to the error text for callers.
std::string ErrorTextLocation(const std::string& server, const std::string& objectPath);
