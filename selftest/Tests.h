// The check routines. Each returns 0 (passed), 100 (warning) or another value (failed) and puts
// its own words into info.
#pragma once
#include <string>

// Opens a TCP connection to every address of host on port: 0 all connected, 1 the sockets library
// did not start or the host did not resolve, 2 binding failed, 3 a connection failed, 100 no
// socket could be made for any address.
int CheckConnect(const std::string& host, int port, std::string& info);
