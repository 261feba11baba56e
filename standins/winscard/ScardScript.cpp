#include "ScardScript.h"
#include "StandinScript.h"

namespace {

ScardReaderScript ParseReader(const std::string& text) {
    const std::vector<std::string> fields = SplitText(text, '|');
    ScardReaderScript reader;
    reader.name = fields[0];
    unsigned long* const values[] = {&reader.state,      &reader.connect[0], &reader.connect[1],
                                     &reader.connect[2], &reader.status,     &reader.disconnect};
    for (size_t i = 1; i < fields.size() && i <= 6; ++i)
        *values[i - 1] = HexValue(fields[i]);
    return reader;
}

}  // namespace

ScardScript ParseScardScript(const std::string& text) {
    ScardScript script;
    for (const auto& [key, value] : ScriptEntries(text)) {
        if (key == "establish")
            script.establish = HexValue(value);
        else if (key == "release")
            script.release = HexValue(value);
        else if (key == "list")
            script.list = HexValue(value);
        else if (key == "free")
            script.freeMemory = HexValue(value);
        else if (key == "reader")
            script.readers.push_back(ParseReader(value));
    }
    return script;
}
