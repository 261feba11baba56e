// The smart-card service as the test scripts it, read from the environment variable
// VORSALT_SCARD when a context is established:
//   establish=HEX;release=HEX;list=HEX;free=HEX;reader=NAME|STATE|SHARED|DIRECT|EXCLUSIVE|STATUS|DISCONNECT;...
// HEX values are the calls' results (missing: 0); a reader's missing fields are 0 as well.
#pragma once
#include <string>
#include <vector>

struct ScardReaderScript {
    std::string name;
    unsigned long state = 0;
    unsigned long connect[3] = {};  // by share mode: shared, direct, exclusive
    unsigned long status = 0;
    unsigned long disconnect = 0;
};

struct ScardScript {
    unsigned long establish = 0;
    unsigned long release = 0;
    unsigned long list = 0;
    unsigned long freeMemory = 0;
    std::vector<ScardReaderScript> readers;
};

ScardScript ParseScardScript(const std::string& text);
