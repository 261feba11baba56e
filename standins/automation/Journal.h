// The stand-in objects' journal: one line per invocation, appended to the file that the
// environment variable VORSALT_AUTOMATION_JOURNAL names (no journal without it):
//   <program identifier>.<member> <kind> <argument>...
// kind: method, get, put, putref; an argument: I4:<n>, BOOL:<true|false>, BSTR:<byte length>,
// DISPATCH:<program identifier of a stand-in object, or "foreign">, or the type's number.
// Failures are scripted by VORSALT_AUTOMATION_FAIL, "<program identifier>.<member>=<hex scode>"
// entries separated by ";": that member then reports an automation exception with that scode (0:
// one with neither code, source nor description).
// VORSALT_AUTOMATION_SKEW, "<program identifier>.<member>=<seconds>" entries, moves the time a
// member answers by that many seconds (a response that tells another time than it holds).
#pragma once
#include <windows.h>
#include <string>

void JournalLine(const std::wstring& line);
// Whether the member is scripted to fail, and with which scode.
bool ScriptedFailure(const std::wstring& member, HRESULT& scode);
// The member's scripted skew in seconds, 0 without one.
long ScriptedSkewSeconds(const std::wstring& member);
