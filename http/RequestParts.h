// What both HTTP clients put into a request the same way: the method of a verb code, the
// default header, the form body, and the statuses a reply can carry.
#pragma once
#include <map>
#include <string>
#include "class_http.h"

// The method of a sendable verb (VerbPut, VerbGet, VerbPost); null for VerbNone and for codes
// outside the table.
const char* HttpMethodName(int verb);

extern const char DefaultRequestHeaders[];  // "Content-Type: application/x-www-form-urlencoded"
// The client's headers, or the default when none are set.
std::string RequestHeadersOrDefault(const std::string& headers);

// key=value pairs in key order joined by "&", nothing escaped; "" for a null map.
std::string BuildFormBody(const std::map<std::string, std::string>* fields);
// SendForm's verb: 0 means POST.
int FormVerb(int verb);

// Whether the stack's status is one a server can answer with (100 to 599); any other number
// stands for a status line that could not be read.
bool IsReadableStatus(long status);
