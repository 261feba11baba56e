// The check routines. Each returns 0 (passed), 100 (warning) or another value (failed) and puts
// its own words into info.
#pragma once
#include <string>

// Opens a TCP connection to every address of host on port: 0 all connected, 1 the sockets library
// did not start or the host did not resolve, 2 binding failed, 3 a connection failed, 100 no
// socket could be made for any address.
int CheckConnect(const std::string& host, int port, std::string& info);

// Check 2: 1 when no CryptoPro provider (type 75 or 80) is registered or the provider list could
// not be read; 100 when the settings say a 3.6 version other than 3.6.7777 or legacy cipher suites are
// allowed (both texts on two lines); else 0.
int CheckCSPInstalled(std::string& info);

// Check 3: the GOST hash of "1234567890" through the provider; 0 or the hash's failure code.
int CheckCSPWork(std::string& info);

class TAllHTTP;

// Check 4: connects the client (plain HTTP) to the CA's web host and installs the chain at path
// from it (ChainInstall.h): 0 installed; when the host was reached but the chain was not
// installed, CheckRootOffline decides; 1 when the connection failed (the client's text alone).
int CheckRootInstalled(const std::string& host, TAllHTTP& client, const std::string& path, std::string& info);

// Whether the current user's "ROOT" store holds the CA's root "ЦС_3": 100 it does, 1 it does not,
// each with its note appended to info.
int CheckRootOffline(std::string& info);

// HTTPS GET of "//" on host: 0 passed, 1 connect failed, 2 switching to HTTPS failed, 3 reconnect
// failed, otherwise the request's failure code. The client stays connected in secure mode.
int CheckSSL(const std::string& host, TAllHTTP& client, std::string& info);

// HTTPS POST of the service's check path on host; the reply must begin with the correlation
// prefix. Results as CheckSSL, and 100 when the server answered otherwise.
int PingAppServer(const std::string& host, TAllHTTP& client, std::string& info);

// Whether the signing gateway's executable is in the 32-bit Program Files folder.
bool IsZantholderInstalled();

// POSTs the ping to the gateway on 127.0.0.1:8088: 0 it answered "OK", 1 connect failed,
// 2 switching to plain HTTP failed, 4 the request failed or the reply was another one.
int PingZantholder(TAllHTTP& client, std::string& info);

struct _AUTH_REQUEST;

// Check 8: the service's time-stamp function through its client library, asked to enhance the
// test datum "1234567890"; the library's result, with its error text on failure.
int CheckTSPOCSPProxy(const std::string& host, std::string& info);

// Check 9: a test signature through the client library; its result, with its error text on
// failure; on success info is the signature kind and the signer's identifier.
int CheckSign(const std::string& host, _AUTH_REQUEST& request, std::string& info);

// Size of the identifier buffer that the request record points at.
constexpr int SignerIdentifierSize = 100;
// The identifier in such a buffer: up to its NUL, at most SignerIdentifierSize bytes (the library
// may fill the whole buffer without one).
std::string SignerIdentifierText(const char* buffer);
