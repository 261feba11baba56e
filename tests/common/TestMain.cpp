// The entry point of every test program: GoogleTest's, except that under qemu-i386 emulation
// (VORSALT_EMULATED=1, tools/test.sh) the program's debug-output lines are dropped at their sinks
// (support/DebugOutputApi.h) instead of raised: there the exception of each line breaks a process
// that has a second thread. A capture (DebugOutputCapture.h) still takes them, at the sinks or as
// the real calls raise them.
#include "DebugOutputApi.h"
#include "Seam.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>

namespace {
void WINAPI DropAnsi(LPCSTR) {}
void WINAPI DropWide(LPCWSTR) {}
}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const char* emulated = std::getenv("VORSALT_EMULATED");
    if (emulated != nullptr && std::strcmp(emulated, "1") == 0) {
        Seam<TDebugOutputApi>().OutputDebugStringA = DropAnsi;
        Seam<TDebugOutputApi>().OutputDebugStringW = DropWide;
    }
    return RUN_ALL_TESTS();
}
