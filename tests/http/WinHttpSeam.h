// Puts the real WinHTTP back into the TWinHTTP seam when a test that replaced calls ends.
#pragma once
#include "WinHttpApi.h"

class TWinHttpSeam {
public:
    TWinHttpSeam() = default;
    ~TWinHttpSeam() { WinHttpApi() = DefaultWinHttpApi(); }
    TWinHttpSeam(const TWinHttpSeam&) = delete;
    TWinHttpSeam& operator=(const TWinHttpSeam&) = delete;
};
