/* Counts the heap allocations an unchanged program makes once its frames run.
 * An LD_PRELOAD interposer: it splits them into "ours" (made by the main
 * executable's own code) and "theirs" (made inside a shared library: Mesa,
 * GLU, freeglut, Xlib). At exit it prints on stderr
 *     alloc-counter: ours N theirs M frames F
 * and, for ours, the allocating call sites as PROGRAM+ADDRESS (for
 * addr2line -f -C -e PROGRAM ADDRESS).
 *
 * Counting starts after the ALLOC_COUNTER_AFTER_SWAPS-th glXSwapBuffers
 * (default 10, past start-up: freeglut initialises in the first frame, Mesa
 * finishes its set-up in the first draws); 0 counts from load. F is the
 * number of swaps counted.
 *
 * Attribution: the allocation's stack is walked (backtrace) and the first
 * frame that lies outside this interposer, libc and libstdc++ decides it: in
 * the main executable (the object holding the process's entry point) it is
 * ours, anywhere else theirs. Skipping libc and libstdc++ makes our
 * operator new, strdup or fopen ours, and a library's qsort theirs. */
#define _GNU_SOURCE
#include <GL/glx.h>
#include <dlfcn.h>
#include <errno.h>
#include <link.h>
#include <execinfo.h>
#include <pthread.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/auxv.h>
#include <unistd.h>

/* glibc's allocator under its exported names: no dlsym, which itself allocates. */
extern void* __libc_malloc(size_t size);
extern void* __libc_calloc(size_t count, size_t size);
extern void* __libc_realloc(void* block, size_t size);
extern void* __libc_memalign(size_t alignment, size_t size);

enum { MAX_FRAMES = 64, MAX_SITES = 16, DEFAULT_AFTER_SWAPS = 10 };

struct Site {
    uintptr_t offset; /* call site as the executable's file sees it */
    long count;
};

/* Objects whose frames are skipped, by load base; the executable's base. */
static const void* interposerBase;
static const void* libcBase;
static const void* libstdcxxBase;
static const void* executableBase;
static uintptr_t executableBias; /* load address minus link address, for addr2line */
static char executablePath[4096] = "?";

static long afterSwaps = DEFAULT_AFTER_SWAPS;
static long swaps;
static int counting; /* read by every thread, set once */
static long oursCount;
static long theirsCount;
static long countedFrames;

static pthread_mutex_t sitesLock = PTHREAD_MUTEX_INITIALIZER;
static struct Site sites[MAX_SITES];
static int siteCount;
static long unlistedOurs;

/* Set while this thread is inside the hook: whatever the walk allocates passes uncounted. */
static __thread int inHook __attribute__((tls_model("initial-exec")));

/* --- attribution --- */

static const void* BaseOf(const void* address)
{
    Dl_info info;
    if (address == NULL || dladdr(address, &info) == 0)
        return NULL;
    return info.dli_fbase;
}

static int IsSkipped(const void* base)
{
    return base == interposerBase || base == libcBase ||
           (libstdcxxBase != NULL && base == libstdcxxBase);
}

static void RecordOurs(uintptr_t offset)
{
    pthread_mutex_lock(&sitesLock);
    int i = 0;
    while (i < siteCount && sites[i].offset != offset)
        ++i;
    if (i < siteCount)
        ++sites[i].count;
    else if (siteCount < MAX_SITES)
        sites[siteCount++] = (struct Site){offset, 1};
    else
        ++unlistedOurs;
    pthread_mutex_unlock(&sitesLock);
}

/* A return address points after the call; one byte back is inside it. */
static const char* CallSite(const void* returnAddress)
{
    return (const char*)returnAddress - 1;
}

/* The first call outside the skipped objects, NULL when there is none. The
 * direct caller settles most allocations without unwinding the stack. */
static const char* DecidingCall(const void* directCaller)
{
    if (!IsSkipped(BaseOf(CallSite(directCaller))))
        return CallSite(directCaller);
    void* frames[MAX_FRAMES];
    const int depth = backtrace(frames, MAX_FRAMES);
    for (int i = 0; i < depth; ++i)
        if (!IsSkipped(BaseOf(CallSite(frames[i]))))
            return CallSite(frames[i]);
    return NULL;
}

static void Count(const void* directCaller)
{
    if (inHook || !__atomic_load_n(&counting, __ATOMIC_ACQUIRE))
        return;
    inHook = 1;
    const char* site = DecidingCall(directCaller);
    if (site != NULL && executableBase != NULL && BaseOf(site) == executableBase) {
        __atomic_add_fetch(&oursCount, 1, __ATOMIC_RELAXED);
        RecordOurs((uintptr_t)site - executableBias);
    } else {
        __atomic_add_fetch(&theirsCount, 1, __ATOMIC_RELAXED);
    }
    inHook = 0;
}

/* --- allocation entry points --- */

void* malloc(size_t size)
{
    Count(__builtin_return_address(0));
    return __libc_malloc(size);
}

void* calloc(size_t count, size_t size)
{
    Count(__builtin_return_address(0));
    return __libc_calloc(count, size);
}

void* realloc(void* block, size_t size)
{
    Count(__builtin_return_address(0));
    return __libc_realloc(block, size);
}

void* memalign(size_t alignment, size_t size)
{
    Count(__builtin_return_address(0));
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(size_t alignment, size_t size)
{
    Count(__builtin_return_address(0));
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** block, size_t alignment, size_t size)
{
    if (alignment == 0 || alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    Count(__builtin_return_address(0));
    void* allocated = __libc_memalign(alignment, size);
    if (allocated == NULL)
        return ENOMEM;
    *block = allocated;
    return 0;
}

/* --- frames --- */

static void (*realSwapBuffers)(Display*, GLXDrawable);

void glXSwapBuffers(Display* display, GLXDrawable drawable)
{
    realSwapBuffers(display, drawable);
    if (__atomic_load_n(&counting, __ATOMIC_ACQUIRE))
        ++countedFrames;
    else if (++swaps >= afterSwaps)
        __atomic_store_n(&counting, 1, __ATOMIC_RELEASE);
}

/* --- load and exit --- */

static void Marker(void) {}

__attribute__((constructor)) static void Load(void)
{
    inHook = 1;
    /* The first backtrace loads the unwinder, which allocates: do it now. */
    void* warmUp[2];
    backtrace(warmUp, 2);
    realSwapBuffers = (void (*)(Display*, GLXDrawable))dlsym(RTLD_NEXT, "glXSwapBuffers");
    interposerBase = BaseOf((const void*)Marker);
    libcBase = BaseOf((const void*)__libc_malloc);
    libstdcxxBase = BaseOf(dlsym(RTLD_DEFAULT, "_ZSt9terminatev"));
    const void* entry = (const void*)getauxval(AT_ENTRY);
    executableBase = BaseOf(entry);
    Dl_info info;
    struct link_map* executableMap = NULL;
    if (dladdr1(entry, &info, (void**)&executableMap, RTLD_DL_LINKMAP) != 0 && executableMap != NULL)
        executableBias = executableMap->l_addr;
    const ssize_t length = readlink("/proc/self/exe", executablePath, sizeof executablePath - 1);
    if (length > 0)
        executablePath[length] = '\0';
    const char* after = getenv("ALLOC_COUNTER_AFTER_SWAPS");
    if (after != NULL)
        afterSwaps = strtol(after, NULL, 10);
    if (afterSwaps <= 0)
        counting = 1;
    inHook = 0;
}

__attribute__((destructor)) static void Report(void)
{
    __atomic_store_n(&counting, 0, __ATOMIC_RELEASE);
    inHook = 1;
    fprintf(stderr, "alloc-counter: ours %ld theirs %ld frames %ld\n", oursCount, theirsCount,
            countedFrames);
    pthread_mutex_lock(&sitesLock);
    for (int i = 0; i < siteCount; ++i)
        fprintf(stderr, "alloc-counter: ours %ld at %s+0x%lx\n", sites[i].count,
                executablePath, (unsigned long)sites[i].offset);
    if (unlistedOurs > 0)
        fprintf(stderr, "alloc-counter: ours %ld at further sites\n", unlistedOurs);
    pthread_mutex_unlock(&sitesLock);
}
