// The options that THTTP sets through the WinINet seam, recorded as it sets them, and option
// calls that refuse one option.
#pragma once
#include <string>
#include <vector>
#include "SeamOverride.h"
#include "WinInetApi.h"

struct TOptionSet {
    bool NullHandle;
    DWORD Option;
    const void* Buffer;
    DWORD Length;
    DWORD Value;       // the first four bytes of the buffer (0 for a shorter one)
    DWORD AccessType;  // INTERNET_OPTION_PROXY: what the proxy record holds
    std::string Proxy, Bypass;
    bool NullLists;
    HINTERNET Handle;
};

// While it lives, every InternetSetOptionA through the seam is recorded and then answered by
// answer (the real function when none is given).
class TOptionRecorder {
public:
    using TSetOption = BOOL(WINAPI*)(HINTERNET, DWORD, LPVOID, DWORD);

    explicit TOptionRecorder(TSeamOverride<TWinInetApi>& seam, TSetOption answer = nullptr) {
        Sets().clear();
        Answer() = answer != nullptr ? answer : RealCalls<TWinInetApi>().InternetSetOptionA;
        seam->InternetSetOptionA = Record;
    }
    ~TOptionRecorder() { Sets().clear(); }
    TOptionRecorder(const TOptionRecorder&) = delete;
    TOptionRecorder& operator=(const TOptionRecorder&) = delete;

    static std::vector<TOptionSet>& Sets() {
        static std::vector<TOptionSet> sets;
        return sets;
    }
    // The options alone, in the order they were set.
    static std::vector<DWORD> Options() {
        std::vector<DWORD> options;
        for (const TOptionSet& set : Sets())
            options.push_back(set.Option);
        return options;
    }

private:
    static TSetOption& Answer() {
        static TSetOption answer = nullptr;
        return answer;
    }

    static BOOL WINAPI Record(HINTERNET handle, DWORD option, LPVOID buffer, DWORD length) {
        TOptionSet set{handle == nullptr, option, buffer, length, 0, 0, "", "", false, handle};
        if (buffer != nullptr && length >= sizeof(DWORD))
            set.Value = *static_cast<const DWORD*>(buffer);
        if (option == INTERNET_OPTION_PROXY && buffer != nullptr) {
            const auto* info = static_cast<const INTERNET_PROXY_INFO*>(buffer);
            set.AccessType = info->dwAccessType;
            set.NullLists = info->lpszProxy == nullptr && info->lpszProxyBypass == nullptr;
            set.Proxy = info->lpszProxy != nullptr ? info->lpszProxy : "";
            set.Bypass = info->lpszProxyBypass != nullptr ? info->lpszProxyBypass : "";
        }
        Sets().push_back(set);
        return Answer()(handle, option, buffer, length);
    }
};

// Option calls for the seam that refuse the one option with the error and pass every other to
// WinINet's call (Real, the seam's entry).
template <auto Real, DWORD Option, DWORD Error, typename Length>
BOOL WINAPI OptionRefusing(HINTERNET handle, DWORD option, LPVOID buffer, Length length) {
    if (option == Option) {
        SetLastError(Error);
        return FALSE;
    }
    return (RealCalls<TWinInetApi>().*Real)(handle, option, buffer, length);
}
template <DWORD Option, DWORD Error>
constexpr auto SetOptionRefusing = OptionRefusing<&TWinInetApi::InternetSetOptionA, Option, Error, DWORD>;
template <DWORD Option, DWORD Error>
constexpr auto QueryOptionRefusing = OptionRefusing<&TWinInetApi::InternetQueryOptionA, Option, Error, LPDWORD>;
