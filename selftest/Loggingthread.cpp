#include "Loggingthread.h"
#include "LocalFree.h"
#include <cstdio>

namespace {

std::string rememberedMac;

std::string MacText(const IP_ADAPTER_INFO& adapter) {
    char text[18];
    const BYTE* a = adapter.Address;
    std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", a[0], a[1], a[2], a[3], a[4], a[5]);
    return text;
}

}  // namespace

std::string ChooseHostAddress(const hostent& host) {
    char** list = host.h_addr_list;
    if (!list || !list[0])
        return "";
    int i = 0;
    while (list[i + 1] && i < host.h_length - 1)
        ++i;
    in_addr address;
    memcpy(&address, list[i], sizeof address);
    return inet_ntoa(address);
}

std::string GetLocalIP() {
    std::string text;
    WSADATA data;
    if (WSAStartup(0x0101, &data) == 0) {
        char name[256] = {};
        if (gethostname(name, 255) == 0) {
            if (const hostent* host = gethostbyname(name))
                text = ChooseHostAddress(*host);
        }
        WSACleanup();
    }
    return text.empty() ? "IP not defined" : text;
}

std::string FindAdapterMac(const IP_ADAPTER_INFO* adapters, const std::string& ip) {
    for (const IP_ADAPTER_INFO* a = adapters; a; a = a->Next)
        for (const IP_ADDR_STRING* s = &a->IpAddressList; s; s = s->Next)
            if (ip == s->IpAddress.String)
                return MacText(*a);
    return "";
}

bool GetLocalMAC(std::string& mac) {
    if (!rememberedMac.empty()) {
        mac = rememberedMac;
        return true;
    }
    mac.clear();
    const std::string ip = GetLocalIP();
    try {
        ULONG size = 0;
        if (GetAdaptersInfo(nullptr, &size) != ERROR_BUFFER_OVERFLOW)
            return false;
        TLocalFree<IP_ADAPTER_INFO> list(static_cast<IP_ADAPTER_INFO*>(LocalAlloc(LMEM_FIXED, size)));
        if (!list.Get() || GetAdaptersInfo(list.Get(), &size) != ERROR_SUCCESS)
            return false;
        mac = FindAdapterMac(list.Get(), ip);
    } catch (...) {
        mac.clear();
        return false;
    }
    if (mac.empty())
        return false;
    rememberedMac = mac;
    return true;
}
