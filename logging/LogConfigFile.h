// A configuration file as text lines, read as the class library's string list reads a file
// (vcl/rtl/TextLines.h). Characters the ANSI code page lacks become "?". Raises the stream's
// errors for a file that cannot be read.
#pragma once
#include "LogNDC.h"
#include <string>

namespace HierLog {

TLogStringList LoadConfigurationLines(const std::string& fileName);

}  // namespace HierLog
