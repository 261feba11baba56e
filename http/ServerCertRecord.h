// The server certificate of a client's last secure send: its expiry, and the texts that the stack
// allocated in its certificate record (WinINet's and WinHTTP's records have the same fields, in
// ANSI or UTF-16). The texts are kept until the next send forgets the record or the client goes,
// then freed with LocalFree.
#pragma once
#include <windows.h>
#include <cstddef>
#include "LocalFree.h"

class TServerCertRecord {
public:
    // Takes the expiry and the texts of a record as the stack's query left it.
    template <typename Info>
    void Keep(const Info& record) {
        void* const texts[TextCount] = {record.lpszSubjectInfo, record.lpszIssuerInfo, record.lpszProtocolName,
                                        record.lpszSignatureAlgName, record.lpszEncryptionAlgName};
        for (std::size_t i = 0; i < TextCount; ++i)
            owned[i].Reset(texts[i]);
        expiry = record.ftExpiry;
        known = true;
    }
    // No record: the texts are freed.
    void Forget() {
        for (auto& text : owned)
            text.Reset();
        expiry = FILETIME{};
        known = false;
    }

    bool Known() const { return known; }
    const FILETIME& Expiry() const { return expiry; }

private:
    static constexpr std::size_t TextCount = 5;
    TLocalFree<void> owned[TextCount];
    FILETIME expiry{};
    bool known = false;
};
