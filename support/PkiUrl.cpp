#include "PkiUrl.h"
#include "ErrorText.h"
#include "Registry.h"

int GetPKIurl(std::string* url, std::string* errorText) {
    const char* const key = "SOFTWARE\\Policies\\Crypto-Pro\\TSP";
    const char* const name = "DefaultTSPURL";
    std::string value;
    HRESULT result = RegReadString(HKEY_LOCAL_MACHINE, key, name, &value, 0);
    if (result < 0)
        result = RegReadString(HKEY_CURRENT_USER, key, name, &value, 0);
    if (result < 0) {
        LogOrStoreError(errorText, "GetPKIurl. Не удается получить доступ к политикам безопаности (TSP: DefaultTSPURL)",
                        result);
        return 1;
    }
    if (url != nullptr)
        *url = value;
    return 0;
}
