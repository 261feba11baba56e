// The check routines. Each returns 0 (passed), 100 (warning) or another value (failed) and puts
// its own words into info.
#pragma once
#include <string>

// Opens a TCP connection to every address of host on port: 0 all connected, 1 the sockets library
// did not start or the host did not resolve, 2 binding failed, 3 a connection failed, 100 no
// socket could be made for any address.
int CheckConnect(const std::string& host, int port, std::string& info);

// Check 2: 1 when no CryptoPro provider (type 75 or 80) is registered or the provider list could
// not be read; 100 when the settings say a 3.6 version below 3.6.7777 or legacy cipher suites are
// allowed (both texts on two lines); else 0.
int CheckCSPInstalled(std::string& info);

// Check 3: the GOST hash of "1234567890" through the provider; 0 or the hash's failure code.
int CheckCSPWork(std::string& info);
