// The support report: a plain text that describes the workstation for technical support, with
// the results text of the last run. Lines end with CR LF; sections are headed in square brackets.
// Every probe that fails writes its own fallback text; an exception of the class library's class
// ends the report with an "[ERROR]" section in place of the parts not yet written.
#pragma once
#include <windows.h>
#include <string>

// resultsText: the results text of the last run (ResultsText.h); "" before any run.
std::string BuildSupportReport(const std::string& resultsText);

// The proxy section's line for the type bits that GetProxyInfo gives: "Proxy (" the type in hex
// "): ", then "Direct" (bit 1), or else, run together, "Auto detect" (8), "Auto Proxy URL" (4) and
// "Proxy" with the proxy and bypass lists on lines of their own (2).
std::string ProxyLine(int type, const std::string& proxy, const std::string& bypass);

// Appends the registry tree under key\name to text: "[name]" (unless name is empty, which dumps
// key itself), its values, then each subkey the same way. The result is that of closing the
// opened key (0), or the error of opening it.
LONG DumpRegistryTree(HKEY key, const std::string& name, std::string& text);

// Appends "name = value" and CR LF for each value of key: the text of a REG_SZ or REG_EXPAND_SZ
// value (unexpanded), the unsigned decimal number of a REG_DWORD, nothing for any other type.
// Names and values are read whole, however long.
void DumpRegistryValues(HKEY key, std::string& text);
