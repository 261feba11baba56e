// Composition of error texts (cp1251) from a message, the thread's last error, an error code
// and the thread's COM error information, and the lookup of an error code's system text.
//
// The caller's error text, one shape and one rule for every operation that says why it failed:
// it takes std::string* errorText; the failure's text replaces *errorText (LogOrStoreError,
// StoreErrorText) or goes on its end (AppendErrorText), and with a null errorText it goes to
// VYRNLog instead, so no text is lost. An operation that wants a step's text for itself (to
// compose it with others, to log it or to leave it out) gives that step a string of its own,
// never null. The only other shape is the exported SignLow's char buffer, filled at the export
// boundary (CopySignLowErrorText).
#pragma once
#include <string>

// message + "\r\nOLE Error: ..." + "\r\nОшибка LE № 0x<err>: <text>" + " Доп. инфо: ..." + " (0x<code>)",
// each part under its own condition. Reads the last error first and leaves it as it found it;
// always takes (and so clears) the thread's COM error information.
// winHttpOwnsInternetCodes: codes 12000..12175 are looked up in WinHTTP's table, not WinINet's.
std::string FormatErrorText(const std::string& message, int code, bool withComInfo, bool winHttpOwnsInternetCodes);

// The text from the message table of the module that owns the code, else from the system;
// never empty ("...Не определено..." when nothing is found).
std::string GetSystemErrorMessage(unsigned int code, bool winHttpOwnsInternetCodes);

// Description of the thread's COM error object (with "\r\nSource = ..."); "" when there is none.
std::string GetOleErrorInfoText();

// The text composed with FormatErrorText: it replaces *errorText, or goes to VYRNLog when
// errorText is null.
void LogOrStoreError(std::string* errorText, const std::string& message, int code = 0, bool withComInfo = false,
                     bool winHttpOwnsInternetCodes = false);

// A text taken as it stands (not composed): it replaces *errorText, or goes to VYRNLog when
// errorText is null.
void StoreErrorText(std::string* errorText, std::string text);

// A text added to the end of *errorText, or sent to VYRNLog when errorText is null.
void AppendErrorText(std::string* errorText, const std::string& text);
