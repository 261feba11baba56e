// The workstation's IPv4 address and the hardware address of the adapter that carries it.
#pragma once
#include <winsock2.h>
#include <iphlpapi.h>
#include <string>

// The dotted IPv4 address of the local host name, or "IP not defined".
std::string GetLocalIP();
// The MAC text ("%02X-%02X-..." of six bytes) of the adapter carrying GetLocalIP's address; false
// and an empty text when none does. A success is remembered for the rest of the program.
bool GetLocalMAC(std::string& mac);

// The address taken from a host entry: the last of the list, but never one after the fourth;
// empty when the list is empty.
std::string ChooseHostAddress(const hostent& host);
// The MAC text of the first adapter in the list that has the address ip; empty when none has.
std::string FindAdapterMac(const IP_ADAPTER_INFO* adapters, const std::string& ip);
