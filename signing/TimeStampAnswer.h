// The time-stamp token inside a time-stamp service's answer (RFC 3161 TimeStampResp), read with
// the platform's DER decoding. Texts are cp1251.
#pragma once
#include <string>

enum class TTimeStampAnswer { Granted, Refused, Unreadable };

// Granted (status 0 or 1): token receives the answer's timeStampToken, a ContentInfo of signed
// data, exactly as its bytes stand in the answer. Refused (any other status): *errorText gets the
// status, the service's texts and its failure reasons. Unreadable: the bytes are no
// TimeStampResp (garbage, cut short, bytes after its end), or a granted one holds no token of
// signed data; *errorText says which. token is left as it was unless the answer is granted.
TTimeStampAnswer ReadTimeStampAnswer(const std::string& answer, std::string& token, std::string* errorText);
