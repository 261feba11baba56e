// The server certificate record that a client keeps from its last secure send: the stack's
// certificate structure (WinINet's and WinHTTP's have the same fields, in ANSI or UTF-16) and
// the texts the stack allocated inside it, freed with LocalFree when the record goes.
#pragma once
#include <windows.h>
#include <cstddef>
#include "LocalFree.h"

template <typename Info, typename Char>
class TServerCertRecord {
public:
    Info Record{};

    // Takes over the texts that the query put into Record.
    void TakeTexts() {
        Char* const texts[] = {Record.lpszSubjectInfo, Record.lpszIssuerInfo, Record.lpszProtocolName,
                               Record.lpszSignatureAlgName, Record.lpszEncryptionAlgName};
        for (std::size_t i = 0; i < TextCount; ++i)
            owned[i].Reset(texts[i]);
    }

private:
    static constexpr std::size_t TextCount = 5;
    TLocalFree<Char> owned[TextCount];
};
