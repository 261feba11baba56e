// A configuration file as text lines: a byte-order mark selects UTF-8 or UTF-16 (either byte
// order), else the bytes are the system's ANSI code page; lines end at CR LF, LF or CR. Characters
// the ANSI code page lacks become "?". Raises the stream's errors for a file that cannot be read.
#pragma once
#include "LogNDC.h"
#include <string>

namespace HierLog {

TLogStringList LoadConfigurationLines(const std::string& fileName);
TLogStringList SplitLines(const std::string& text);

}  // namespace HierLog
