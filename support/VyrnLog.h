// Debug-output sink for diagnostic lines: "VYRNLog: " + message, empty messages dropped.
#pragma once
#include <string>

void VYRNLog(const std::string& message);
