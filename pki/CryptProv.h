// Owner of an acquired provider context.
#pragma once
#include <windows.h>
#include <wincrypt.h>

class TCryptProv {
public:
    TCryptProv() = default;
    ~TCryptProv() {
        if (handle_)
            CryptReleaseContext(handle_, 0);
    }
    TCryptProv(const TCryptProv&) = delete;
    TCryptProv& operator=(const TCryptProv&) = delete;

    HCRYPTPROV* Out() { return &handle_; }
    HCRYPTPROV Get() const { return handle_; }

private:
    HCRYPTPROV handle_ = 0;
};
