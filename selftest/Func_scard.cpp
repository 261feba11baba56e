#include "Func_scard.h"
#include "ErrorText.h"
#include "LogViewer_helper.h"
#include "Owned.h"
#include "VyrnLog.h"

namespace {

constexpr LONG NoReadersAvailable = static_cast<LONG>(0x8010002E);
constexpr int OutOfMemory = static_cast<int>(SCARD_E_NO_MEMORY);
constexpr DWORD AnyProtocol = SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1;

// The service's handles; Close reports the service's answer, the owner closes only what an
// exception left open.
struct TCardContextTraits : TOwnedTraits<SCARDCONTEXT, LONG, SCARD_S_SUCCESS> {
    static LONG Close(Handle context) { return SCardReleaseContext(context); }
};

struct TCardTraits : TOwnedTraits<SCARDHANDLE, LONG, SCARD_S_SUCCESS> {
    static LONG Close(Handle card) { return SCardDisconnect(card, SCARD_LEAVE_CARD); }
};

// A list the service allocated, freed with the context it came from.
struct TCardListTraits : TOwnedTraits<char*, LONG, SCARD_S_SUCCESS> {
    explicit TCardListTraits(SCARDCONTEXT context = 0) : context(context) {}
    SCARDCONTEXT context;
    LONG Close(Handle list) const { return SCardFreeMemory(context, list); }
};

// The caller's error text, or one of the search's own when the caller gave none: the search
// reads back what it wrote (its log lines carry it), and what its own text holds at the end goes
// to VYRNLog.
class TSearchText {
public:
    explicit TSearchText(std::string* errorText) : caller(errorText) {}
    ~TSearchText() {
        if (caller != nullptr)
            return;
        try {
            VYRNLog(own);
        } catch (...) {
        }
    }
    TSearchText(const TSearchText&) = delete;
    TSearchText& operator=(const TSearchText&) = delete;

    std::string& Get() { return caller != nullptr ? *caller : own; }

private:
    std::string* caller;
    std::string own;
};

struct ShareModeTry {
    DWORD mode;
    const wchar_t* connected;
    const char* failed;
    bool logFailure;
};

const ShareModeTry shareModeTries[] = {
    {SCARD_SHARE_SHARED, L"SCardConnect with SCARD_SHARE_SHARED", "Failed SCardConnect with SCARD_SHARE_SHARED", true},
    {SCARD_SHARE_DIRECT, L"SCardConnect with SCARD_SHARE_DIRECT", "Failed SCardConnect with SCARD_SHARE_DIRECT", true},
    {SCARD_SHARE_EXCLUSIVE, L"SCardConnect with SCARD_SHARE_EXCLUSIVE",
     "Failed SCardConnect with SCARD_SHARE_EXCLUSIVE", false},
};

LONG ConnectToReader(SCARDCONTEXT context, const char* reader, SCARDHANDLE* card, std::string* errorText) {
    LONG result = SCARD_S_SUCCESS;
    for (const ShareModeTry& attempt : shareModeTries) {
        DWORD protocol = 0;
        result = SCardConnectA(context, reader, attempt.mode, AnyProtocol, card, &protocol);
        if (result == SCARD_S_SUCCESS) {
            WriteDebugLineW(attempt.connected);
            return result;
        }
        *card = 0;
        LogOrStoreError(errorText, attempt.failed, result);
        if (attempt.logFailure)
            WriteDebugLineStr(*errorText);
    }
    return result;
}

}  // namespace

int ListCardReaders(SCARDCONTEXT context, std::vector<std::string>& readers, std::string* errorText) {
    TSearchText search(errorText);
    std::string& text = search.Get();
    readers.clear();
    TOwned<TCardListTraits> names(nullptr, TCardListTraits(context));
    DWORD length = SCARD_AUTOALLOCATE;
    const LONG result = SCardListReadersA(context, nullptr, reinterpret_cast<char*>(names.Receive()), &length);
    if (result != SCARD_S_SUCCESS) {
        names.Release();  // nothing was allocated
        text = result == NoReadersAvailable ? "Reader is not in groups." : "Failed SCardListReaders";
        return result;
    }
    try {
        // A NUL ends each name, an empty name the list; nothing past the length given is read.
        const char* list = names.Get();
        for (DWORD at = 0; list && at < length && list[at] != '\0';) {
            readers.emplace_back(list + at, strnlen(list + at, length - at));
            at += static_cast<DWORD>(readers.back().size()) + 1;
        }
    } catch (...) {
        readers.clear();
        return OutOfMemory;
    }
    const LONG freed = names.Close();
    if (freed != SCARD_S_SUCCESS) {
        text = "Failed SCardFreeMemory";
        return freed;
    }
    return 0;
}

int IsCardInReader(SCARDCONTEXT context, const char* reader, DWORD& state, std::string* errorText) {
    TSearchText search(errorText);
    std::string& text = search.Get();
    try {
        TOwned<TCardTraits> card;
        LONG result = ConnectToReader(context, reader, card.Receive(), &text);
        if (result != SCARD_S_SUCCESS)
            return result;

        char name[200];
        DWORD nameLength = sizeof name;
        DWORD protocol = 0;
        BYTE atr[32];
        DWORD atrLength = sizeof atr;
        result = SCardStatusA(card.Get(), name, &nameLength, &state, &protocol, atr, &atrLength);
        if (result != SCARD_S_SUCCESS)
            text = "Failed SCardStatus";

        WriteDebugLineW(L"Try to disconect from SCard");
        const LONG disconnected = card.Close();
        if (disconnected != SCARD_S_SUCCESS) {
            if (!text.empty())
                text += ": ";
            text += "Failed SCardDisconnect";
            if (result == SCARD_S_SUCCESS)
                result = disconnected;
        }
        return result;
    } catch (...) {
        return OutOfMemory;
    }
}

int FindReaderWithCard(SCARDCONTEXT context, std::string& reader, std::string* errorText) {
    TSearchText search(errorText);
    std::string& text = search.Get();
    std::vector<std::string> readers;
    const int listed = ListCardReaders(context, readers, &text);
    if (listed != 0)
        return listed;
    try {
        bool cardFound = false;
        int last = 0;
        for (const std::string& name : readers) {
            DWORD state = 0;
            WriteDebugLineStr("Reader located: " + name);
            last = IsCardInReader(context, name.c_str(), state, &text);
            if (last != 0) {
                WriteDebugLineStr("IsCardInReader failed for reader: " + name + ": " + text);
                text.clear();
                continue;
            }
            WriteDebugLineStr("Reader tested: " + name + " with state " + std::to_string(state));
            if (state == SCARD_ABSENT) {
                WriteDebugLineStr("SmartCard absent in reader: " + name);
                continue;
            }
            if (cardFound) {
                text = "Обнаружено несколько карт. Извлеките все лишние карты, а затем попробуйте заново.";
                return -1;
            }
            cardFound = true;
            reader = name;
        }
        return cardFound ? 0 : last;
    } catch (...) {
        return OutOfMemory;
    }
}

int FindCardReader(std::string& reader, std::string* errorText) {
    TSearchText search(errorText);
    std::string& text = search.Get();
    TOwned<TCardContextTraits> context;
    const LONG established = SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, context.Receive());
    if (established != SCARD_S_SUCCESS) {
        context.Release();  // nothing was established
        try {
            LogOrStoreError(&text, "Failed SCardEstablishContext", established);
        } catch (...) {
        }
        return established;
    }
    int result = FindReaderWithCard(context.Get(), reader, &text);
    const LONG released = context.Close();
    if (released != SCARD_S_SUCCESS) {
        try {
            text += "Failed SCardReleaseContext";
        } catch (...) {
        }
        if (result == 0)
            result = released;
    }
    return result;
}
