// A scripted stand-in (the smart-card service, the service's client library) from the test's
// side: the script it answers by and the journal of the calls it got, both environment variables
// of the test process.
#pragma once
#include <windows.h>
#include <string>

class TScriptedStandin {
public:
    TScriptedStandin(const char* scriptVariable, const char* journalVariable)
        : script_(scriptVariable), journal_(journalVariable) {}
    ~TScriptedStandin() { SetEnvironmentVariableA(script_, nullptr); }
    TScriptedStandin(const TScriptedStandin&) = delete;
    TScriptedStandin& operator=(const TScriptedStandin&) = delete;

    // Sets the script and empties the journal.
    void Script(const std::string& script) const {
        SetEnvironmentVariableA(script_, script.c_str());
        SetEnvironmentVariableA(journal_, "");
    }

    std::string Journal() const {
        std::string text(256, '\0');
        for (;;) {
            const DWORD n = GetEnvironmentVariableA(journal_, &text[0], static_cast<DWORD>(text.size()));
            if (n < text.size())
                return text.substr(0, n);
            text.resize(n);
        }
    }

private:
    const char* script_;
    const char* journal_;
};
