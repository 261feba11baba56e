// What the tests of the time-stamp and OCSP clients share: COM on the test's thread, the
// stand-in objects registered with their journal, the chain stores of the CA test PKI in a
// scratch current user (whose policy key the stand-ins read too), and the clients' debug lines.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "AutomationStandin.h"
#include "DebugOutputCapture.h"
#include "LocalFree.h"
#include "ScratchStores.h"
#include "SysString.h"
#include "TimeHelpers.h"

class AutomationClient : public ::testing::Test {
protected:
    explicit AutomationClient(const char* name) : stores(name) {}
    void SetUp() override {
        ASSERT_TRUE(com.Active());
        ASSERT_TRUE(stores.Active());
        ASSERT_TRUE(objects.Active());
    }

    // The journal's lines that begin with the text.
    std::vector<std::string> Journaled(const std::string& prefix) const {
        std::vector<std::string> lines;
        for (const std::string& line : journal.Lines())
            if (line.compare(0, prefix.size(), prefix) == 0)
                lines.push_back(line);
        return lines;
    }

    TComApartment com;
    TScratchStores stores;
    TAutomationRegistration objects;
    TAutomationJournal journal;
    TDebugOutputCapture debug;
};

// An automation string of an ANSI address.
inline TSysString Address(const std::string& url) {
    return TSysString(SysAllocStringLen(std::wstring(url.begin(), url.end()).c_str(), static_cast<UINT>(url.size())));
}

inline std::string BlobBytes(const CRYPT_DATA_BLOB& blob) {
    return blob.pbData ? std::string(reinterpret_cast<const char*>(blob.pbData), blob.cbData) : std::string();
}

// Seconds between a UTC time and now.
inline long long SecondsFromNow(const SYSTEMTIME& utc) {
    FILETIME then, now;
    SystemTimeToFileTime(&utc, &then);
    GetSystemTimeAsFileTime(&now);
    return FileTimeDiffTenths(then, now) / 10;
}
