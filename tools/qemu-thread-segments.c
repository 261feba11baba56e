/* Gives each thread of a 32-bit process its own segment descriptors under qemu-i386.

   qemu-user keeps one descriptor table for all threads of a process, so the thread-local slots
   that set_thread_area fills (glibc's %gs, Wine's %fs) hold the base of the thread that set them
   last. A thread that reloads its segment registers (each signal return does, and Wine returns
   from every exception through one) then runs on another thread's TEB and C library data: an
   exception raised once a second thread exists fails "not in stack limits", hangs or crashes.
   The local descriptor table is the process's on Linux too, and qemu gives it one entry per
   thread correctly. So, loaded into every 32-bit process by LD_PRELOAD:
   - the thread-local slots left free are taken, so that Wine allocates a local descriptor for
     each thread's %fs (its own fallback when set_thread_area finds no slot);
   - every thread moves glibc's %gs to a local descriptor of its own, from the top of the table
     down (Wine takes its entries from the bottom up), with the same base; an entry is not taken
     back when its thread ends, which leaves room for some 7 000 threads a process;
   - pthread_create is given back glibc's own selector, with this thread's base, for the call,
     because glibc takes the new thread's slot from %gs.
   Built without the C library's headers (a 64-bit host may have no 32-bit development files):
   the few declarations it needs are its own. Used only where 32-bit programs are emulated. */

typedef unsigned int u32;
struct user_desc {
    u32 entry_number, base_addr, limit, flags;
};
enum { DATA_SEGMENT = 0x51 }; /* 32-bit, limit in pages, usable */
enum { SYS_MODIFY_LDT = 123, SYS_SET_THREAD_AREA = 243, WRITE_LDT = 0x11, LDT_ENTRIES = 8192 };

void* malloc(u32 size);
void free(void* block);
void* dlsym(void* module, const char* name);
#define RTLD_NEXT ((void*)-1)

static long syscall3(long number, long a, long b, long c) {
    long result;
    __asm__ volatile("int $0x80" : "=a"(result) : "a"(number), "b"(a), "c"(b), "d"(c) : "memory");
    return result;
}

/* glibc's thread control block begins with a pointer to itself. */
static u32 TlsBase(void) {
    u32 base;
    __asm__("movl %%gs:0,%0" : "=r"(base));
    return base;
}
static unsigned short Gs(void) {
    unsigned short selector;
    __asm__ volatile("movw %%gs,%0" : "=r"(selector));
    return selector;
}
static void SetGs(unsigned short selector) { __asm__ volatile("movw %0,%%gs" ::"r"(selector)); }

static unsigned short glibcSelector;
static volatile int nextLocalEntry = LDT_ENTRIES - 1;

static void MoveGsToALocalDescriptor(void) {
    const int entry = __sync_fetch_and_sub(&nextLocalEntry, 1);
    struct user_desc d = {(u32)entry, TlsBase(), 0xfffff, DATA_SEGMENT};
    if (syscall3(SYS_MODIFY_LDT, WRITE_LDT, (long)&d, sizeof d) == 0)
        SetGs((unsigned short)((entry << 3) | 7));
}

struct ThreadStart {
    void* (*routine)(void*);
    void* argument;
};

static void* StartThread(void* p) {
    const struct ThreadStart start = *(struct ThreadStart*)p;
    free(p);
    MoveGsToALocalDescriptor();
    return start.routine(start.argument);
}

typedef int (*CreateThread)(void*, const void*, void* (*)(void*), void*);

int pthread_create(void* thread, const void* attributes, void* (*routine)(void*), void* argument) {
    static CreateThread create;
    if (!create)
        create = (CreateThread)dlsym(RTLD_NEXT, "pthread_create");
    struct ThreadStart* start = malloc(sizeof *start);
    if (!start)
        return 11; /* EAGAIN, as glibc gives when it lacks what a thread needs */
    start->routine = routine;
    start->argument = argument;
    const unsigned short own = Gs();
    if (own != glibcSelector) {
        struct user_desc d = {(u32)(glibcSelector >> 3), TlsBase(), 0xfffff, DATA_SEGMENT};
        syscall3(SYS_SET_THREAD_AREA, (long)&d, 0, 0);
        SetGs(glibcSelector);
    }
    const int result = create(thread, attributes, StartThread, start);
    SetGs(own);
    if (result != 0)
        free(start);
    return result;
}

__attribute__((constructor)) static void TakeTheSlotsAndMoveGs(void) {
    glibcSelector = Gs();
    for (int slot = 0; slot < 3; ++slot) {
        struct user_desc d = {(u32)-1, 0, 0xfffff, DATA_SEGMENT};
        if (syscall3(SYS_SET_THREAD_AREA, (long)&d, 0, 0) < 0)
            break;
    }
    MoveGsToALocalDescriptor();
}
