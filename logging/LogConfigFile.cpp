#include "LogConfigFile.h"
#include "Streams.h"
#include "Text.h"
#include "TextLines.h"

namespace HierLog {

TLogStringList LoadConfigurationLines(const std::string& fileName) {
    TMemoryStream stream;
    stream.LoadFromFile(vcl::ToWide(fileName));
    const std::string bytes(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
    return vcl::SplitLines(vcl::TextFromFileBytes(bytes));
}

}  // namespace HierLog
