// Response headers that a caller asked to keep: registered names and their values at the last
// response with status 200 or 201.
#pragma once
#include <map>
#include <string>

class TCapturedHeaders {
public:
    // A name registers itself and gives its value ("" until captured); "" clears every name.
    std::string Get(const std::string& name);

    // Reads every registered name, in name order, with read(name) into its value.
    template <typename Read>
    void Refresh(Read read) {
        for (auto& header : values)
            header.second = read(header.first);
    }

private:
    std::map<std::string, std::string> values;
};
