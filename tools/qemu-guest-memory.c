/* Lets Wine's server reach the memory of emulated processes.

   Under qemu-i386 a 32-bit process's address A lies at A + the guest base in the emulator's own
   address space; the sandbox gives every emulated process the same base (QEMU_GUEST_BASE). Wine's
   server reads and writes a client's memory (another process's VirtualAllocEx block, a list
   view's text fetched across processes) word by word through ptrace at the client's addresses;
   here those addresses are moved by the base. Loaded by LD_PRELOAD into the sandbox's 64-bit
   programs; only ptrace's peeks and pokes change. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/types.h>

enum { PEEK_TEXT = 1, PEEK_DATA = 2, POKE_TEXT = 4, POKE_DATA = 5 };

static uintptr_t GuestBase(void) {
    static int read;
    static uintptr_t base;
    if (!read) {
        const char* text = getenv("QEMU_GUEST_BASE");
        base = text ? (uintptr_t)strtoull(text, NULL, 0) : 0;
        read = 1;
    }
    return base;
}

long ptrace(int request, ...) {
    va_list arguments;
    va_start(arguments, request);
    const pid_t pid = va_arg(arguments, pid_t);
    void* address = va_arg(arguments, void*);
    void* data = va_arg(arguments, void*);
    va_end(arguments);
    static long (*real)(int, pid_t, void*, void*);
    if (!real)
        real = (long (*)(int, pid_t, void*, void*))dlsym(RTLD_NEXT, "ptrace");
    if (request == PEEK_TEXT || request == PEEK_DATA || request == POKE_TEXT || request == POKE_DATA)
        address = (char*)address + GuestBase();
    return real(request, pid, address, data);
}
