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

// An environment variable of this process (and of the children it starts) while it lives.
class TEnvironmentValue {
public:
    TEnvironmentValue(const char* name, const std::string& value) : name(name) {
        SetEnvironmentVariableA(name, value.c_str());
    }
    ~TEnvironmentValue() { SetEnvironmentVariableA(name, nullptr); }
    TEnvironmentValue(const TEnvironmentValue&) = delete;
    TEnvironmentValue& operator=(const TEnvironmentValue&) = delete;

private:
    const char* name;
};

// Members scripted to fail while it lives: "<ProgID>.<Member>=<hex scode>;...".
class TAutomationFailures : public TEnvironmentValue {
public:
    explicit TAutomationFailures(const std::string& script) : TEnvironmentValue("VORSALT_AUTOMATION_FAIL", script) {}
};

// Times that members answer moved by seconds while it lives: "<ProgID>.<Member>=<seconds>;...".
class TAutomationSkew : public TEnvironmentValue {
public:
    explicit TAutomationSkew(const std::string& script) : TEnvironmentValue("VORSALT_AUTOMATION_SKEW", script) {}
};
