// Keeps Mesa's driver loaded to the end of a sanitized program; counts nothing.
// Linked into every program of a sanitizer build. Mesa unloads its DRI driver
// (swrast_dri.so here) when a display connection closes, and the blocks it still
// holds then look leaked to LeakSanitizer, from an "<unknown module>". Kept
// loaded, its data stays reachable; every other library is unloaded as usual.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <link.h>
#include <string.h>

static int IsDriDriver(void* handle)
{
    static const char SUFFIX[] = "_dri.so";
    const size_t suffixLength = sizeof SUFFIX - 1;
    struct link_map* map = NULL;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name)
        return 0;
    const size_t length = strlen(map->l_name);
    return length >= suffixLength && strcmp(map->l_name + length - suffixLength, SUFFIX) == 0;
}

// Exported from the executable, so it comes before the C library's for
// libGLX_mesa, which closes the driver.
int dlclose(void* handle)
{
    if (IsDriDriver(handle))
        return 0;
    int (*const next)(void*) = (int (*)(void*))dlsym(RTLD_NEXT, "dlclose");
    return next(handle);
}
