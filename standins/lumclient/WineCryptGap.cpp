// Vorsalt.exe asks crypt32 for the length of a hashed message before it hashes (the CSP check);
// Wine has that function only as a stub that ends the process. Under Wine this library, which the
// program loads at its start, puts a jump to HashedLengthBound over the stub, so that the demo
// and the end-to-end runs go on; on Windows it leaves crypt32 alone.
#include "HashedLengthBound.h"
#include <windows.h>
#include <cstring>

namespace {

bool UnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

void FillEncodedLengthStub() {
    const HMODULE crypt32 = GetModuleHandleA("crypt32.dll");  // loaded with the program that uses it
    auto* stub = crypt32 ? reinterpret_cast<BYTE*>(GetProcAddress(crypt32, "CryptMsgCalculateEncodedLength")) : nullptr;
    DWORD protection = 0;
    if (stub == nullptr || !VirtualProtect(stub, 5, PAGE_EXECUTE_READWRITE, &protection))
        return;
    const auto target = reinterpret_cast<BYTE*>(&HashedLengthBound);
    const LONG offset = static_cast<LONG>(target - (stub + 5));
    stub[0] = 0xE9;  // jmp rel32
    std::memcpy(stub + 1, &offset, sizeof offset);
    VirtualProtect(stub, 5, protection, &protection);
    FlushInstructionCache(GetCurrentProcess(), stub, 5);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH && UnderWine())
        FillEncodedLengthStub();
    return TRUE;
}
