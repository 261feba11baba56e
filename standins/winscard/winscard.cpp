// Stand-in smart-card service: answers as ScardScript says and writes each call to the
// environment variable VORSALT_SCARD_JOURNAL (entries ended by ";"). Leaves the last error alone.
#include "LastErrorKept.h"
#include "ScardScript.h"
#include "StandinScript.h"
#include <windows.h>
#include <map>
#include <set>
#include <string>

typedef ULONG_PTR SCARDCONTEXT;
typedef ULONG_PTR SCARDHANDLE;

namespace {

constexpr LONG InvalidHandle = static_cast<LONG>(0x80100003);
constexpr LONG UnknownReader = static_cast<LONG>(0x80100009);
constexpr LONG InsufficientBuffer = static_cast<LONG>(0x80100008);
constexpr LONG InvalidValue = static_cast<LONG>(0x80100011);
constexpr DWORD AutoAllocate = 0xFFFFFFFF;

ScardScript script;
std::set<SCARDCONTEXT> contexts;
std::map<SCARDHANDLE, size_t> cards;  // handle -> reader index
std::set<void*> blocks;
ULONG_PTR lastHandle = 0x1000;

void Journal(const std::string& entry) {
    AppendJournal("VORSALT_SCARD_JOURNAL", entry);
}

std::string Number(unsigned long value) {
    return std::to_string(value);
}

int ShareModeIndex(DWORD mode) {
    switch (mode) {
    case 2:
        return 0;  // shared
    case 3:
        return 1;  // direct
    case 1:
        return 2;  // exclusive
    default:
        return -1;
    }
}

}  // namespace

extern "C" {

LONG WINAPI SCardEstablishContext(DWORD scope, LPCVOID, LPCVOID, SCARDCONTEXT* context) {
    TLastErrorKept kept;
    script = ParseScardScript(EnvironmentText("VORSALT_SCARD"));
    Journal("establish " + Number(scope));
    if (script.establish != 0)
        return static_cast<LONG>(script.establish);
    *context = ++lastHandle;
    contexts.insert(*context);
    return 0;
}

LONG WINAPI SCardReleaseContext(SCARDCONTEXT context) {
    TLastErrorKept kept;
    Journal("release");
    if (contexts.erase(context) == 0)
        return InvalidHandle;
    return static_cast<LONG>(script.release);
}

LONG WINAPI SCardListReadersA(SCARDCONTEXT context, LPCSTR groups, LPSTR readers, LPDWORD length) {
    TLastErrorKept kept;
    Journal(std::string("list ") + (groups ? groups : "all") +
            (length && *length == AutoAllocate ? " auto" : " fixed"));
    if (!contexts.count(context))
        return InvalidHandle;
    if (!length || *length != AutoAllocate || !readers)
        return InvalidValue;
    if (script.list != 0)
        return static_cast<LONG>(script.list);
    std::string names;
    for (const ScardReaderScript& r : script.readers)
        names += r.name + '\0';
    names += '\0';
    char* block = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, names.size()));
    names.copy(block, names.size());
    blocks.insert(block);
    *reinterpret_cast<char**>(readers) = block;
    *length = static_cast<DWORD>(names.size());
    return 0;
}

LONG WINAPI SCardFreeMemory(SCARDCONTEXT, LPCVOID memory) {
    TLastErrorKept kept;
    void* block = const_cast<void*>(memory);
    if (blocks.erase(block) == 0) {
        Journal("free unknown");
        return InvalidValue;
    }
    HeapFree(GetProcessHeap(), 0, block);
    Journal("free");
    return static_cast<LONG>(script.freeMemory);
}

LONG WINAPI SCardConnectA(SCARDCONTEXT context, LPCSTR name, DWORD shareMode, DWORD protocols, SCARDHANDLE* card,
                          LPDWORD activeProtocol) {
    TLastErrorKept kept;
    Journal("connect " + std::string(name ? name : "") + " " + Number(shareMode) + " " + Number(protocols));
    if (!contexts.count(context))
        return InvalidHandle;
    const int mode = ShareModeIndex(shareMode);
    if (mode < 0 || !card || !activeProtocol)
        return InvalidValue;
    for (size_t i = 0; i < script.readers.size(); ++i) {
        if (!name || script.readers[i].name != name)
            continue;
        if (script.readers[i].connect[mode] != 0)
            return static_cast<LONG>(script.readers[i].connect[mode]);
        *card = ++lastHandle;
        *activeProtocol = 1;
        cards[*card] = i;
        return 0;
    }
    return UnknownReader;
}

LONG WINAPI SCardStatusA(SCARDHANDLE card, LPSTR name, LPDWORD nameLength, LPDWORD state, LPDWORD protocol, LPBYTE atr,
                         LPDWORD atrLength) {
    TLastErrorKept kept;
    const auto found = cards.find(card);
    const std::string reader = found != cards.end() ? script.readers[found->second].name : "?";
    Journal("status " + reader + " " + Number(nameLength ? *nameLength : 0) + " " + Number(atrLength ? *atrLength : 0));
    if (found == cards.end())
        return InvalidHandle;
    const ScardReaderScript& r = script.readers[found->second];
    if (r.status != 0)
        return static_cast<LONG>(r.status);
    if (!name || !nameLength || !atr || !atrLength)
        return InvalidValue;
    if (*nameLength < reader.size() + 2 || *atrLength < 2)
        return InsufficientBuffer;
    reader.copy(name, reader.size());
    name[reader.size()] = name[reader.size() + 1] = '\0';
    *nameLength = static_cast<DWORD>(reader.size() + 2);
    if (state)
        *state = r.state;
    if (protocol)
        *protocol = 1;
    atr[0] = 0x3B;
    atr[1] = 0x00;
    *atrLength = 2;
    return 0;
}

LONG WINAPI SCardDisconnect(SCARDHANDLE card, DWORD disposition) {
    TLastErrorKept kept;
    const auto found = cards.find(card);
    Journal("disconnect " + (found != cards.end() ? script.readers[found->second].name : "?") + " " +
            Number(disposition));
    if (found == cards.end())
        return InvalidHandle;
    const LONG result = static_cast<LONG>(script.readers[found->second].disconnect);
    cards.erase(found);
    return result;
}

}  // extern "C"
