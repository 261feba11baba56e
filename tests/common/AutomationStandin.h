// The stand-in automation objects (standins/automation) for one test: registered by program
// identifier while a TAutomationRegistration lives (machine-wide in the prefix: hold the lock
// "automation_objects"), their journal and their scripted failures. Each test thread that uses
// them initialises COM itself with a TComApartment.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <string>
#include <vector>

class TComApartment {
public:
    explicit TComApartment(DWORD model = COINIT_APARTMENTTHREADED) : result(CoInitializeEx(nullptr, model)) {}
    ~TComApartment() {
        if (SUCCEEDED(result))
            CoUninitialize();
    }
    TComApartment(const TComApartment&) = delete;
    TComApartment& operator=(const TComApartment&) = delete;
    bool Active() const { return SUCCEEDED(result); }

private:
    HRESULT result;
};

class TAutomationRegistration {
public:
    TAutomationRegistration();   // registers vorsalt_automation.dll beside the running program
    ~TAutomationRegistration();  // and removes the registration
    TAutomationRegistration(const TAutomationRegistration&) = delete;
    TAutomationRegistration& operator=(const TAutomationRegistration&) = delete;
    bool Active() const { return active; }
    // Removes every registration of the objects, for a test that needs them missing.
    static void Unregister();

private:
    bool active = false;
};

// The objects' journal while it lives (their invocations, "Object.Member kind args...").
class TAutomationJournal {
public:
    TAutomationJournal();
    ~TAutomationJournal();
    TAutomationJournal(const TAutomationJournal&) = delete;
    TAutomationJournal& operator=(const TAutomationJournal&) = delete;
    std::vector<std::string> Lines() const;
    void Clear() const;

private:
    std::string path;
};

// Members scripted to fail while it lives: "<ProgID>.<Member>=<hex scode>;...".
class TAutomationFailures {
public:
    explicit TAutomationFailures(const std::string& script);
    ~TAutomationFailures();
    TAutomationFailures(const TAutomationFailures&) = delete;
    TAutomationFailures& operator=(const TAutomationFailures&) = delete;
};
