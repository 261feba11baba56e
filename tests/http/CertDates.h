// The server certificate's expiry as the clients report it and as openssl read it from the test
// certificates (VORSALT_CERT_DATES: "name notAfter=YYYY-MM-DD hh:mm:ssZ" lines).
#pragma once
#include <windows.h>
#include <cstdio>
#include <fstream>
#include <string>

inline std::string OpensslExpiry(const std::string& certificate) {
    std::ifstream file(VORSALT_CERT_DATES);
    std::string line;
    while (std::getline(file, line))
        if (line.rfind(certificate + " notAfter=", 0) == 0)
            return line.substr(certificate.size() + 10);
    return "";
}

inline std::string IsoText(const FILETIME& time) {
    SYSTEMTIME t{};
    if (!FileTimeToSystemTime(&time, &t))
        return "";
    char text[32];
    snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02uZ", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
             t.wSecond);
    return text;
}
