// The platform calls of the signing service that Wine lacks or answers otherwise (a seam,
// Seam.h): the product calls them as on Windows; a test puts in a double that does what Windows
// does.
#pragma once
#include <windows.h>
#include <wincrypt.h>

struct TSigningApi {
    // Wine gives the provider's failure to open the key (the user's cancel) as
    // CRYPT_E_NO_KEY_PROPERTY.
    decltype(&::CryptAcquireCertificatePrivateKey) CryptAcquireCertificatePrivateKey;
    // Wine cannot read a signer's signature value (CMSG_ENCRYPTED_DIGEST fails with 0x80091004).
    decltype(&::CryptMsgGetParam) CryptMsgGetParam;
    // Wine cannot add an unsigned attribute (CMSG_CTRL_ADD_SIGNER_UNAUTH_ATTR fails with
    // 0x8009100C).
    decltype(&::CryptMsgControl) CryptMsgControl;

    static TSigningApi Real();
};
