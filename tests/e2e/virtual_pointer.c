/* A long-lived pointer for the Wayland tests (wlr-virtual-pointer-v1): one-shot tools lose
 * their events when they leave. Reads commands from standard input, one a line, and answers
 * each with "ok" once the compositor has handled it:
 *   move X Y     the pointer to X,Y of the output's WIDTHxHEIGHT (arguments of the helper)
 *   button 1|0   the left button down or up
 *   wheel N      N notches, positive towards the user
 * Usage: virtual_pointer WIDTH HEIGHT */
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wayland-client.h>

static struct wl_seat* seat;
static struct zwlr_virtual_pointer_manager_v1* manager;

static void GlobalAdded(void* data, struct wl_registry* registry, uint32_t name,
                        const char* interface, uint32_t version)
{
    (void)data;
    (void)version;
    if (strcmp(interface, wl_seat_interface.name) == 0)
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        manager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
}

static void GlobalRemoved(void* data, struct wl_registry* registry, uint32_t name)
{
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener REGISTRY_LISTENER = {GlobalAdded, GlobalRemoved};

int main(int argc, char** argv)
{
    struct wl_display* display = wl_display_connect(NULL);
    if (display == NULL || argc != 3)
        return 2;
    const unsigned width = (unsigned)atoi(argv[1]), height = (unsigned)atoi(argv[2]);
    wl_registry_add_listener(wl_display_get_registry(display), &REGISTRY_LISTENER, NULL);
    wl_display_roundtrip(display);
    if (manager == NULL)
        return 3;
    struct zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
    char line[64];
    unsigned time = 0;
    while (fgets(line, sizeof line, stdin) != NULL) {
        int a = 0, b = 0;
        time += 10;
        if (sscanf(line, "move %d %d", &a, &b) == 2)
            zwlr_virtual_pointer_v1_motion_absolute(pointer, time, (unsigned)a, (unsigned)b,
                                                    width, height);
        else if (sscanf(line, "button %d", &a) == 1)
            zwlr_virtual_pointer_v1_button(pointer, time, BTN_LEFT, a ? 1 : 0);
        else if (sscanf(line, "wheel %d", &a) == 1)
            zwlr_virtual_pointer_v1_axis_discrete(pointer, time, WL_POINTER_AXIS_VERTICAL_SCROLL,
                                                  wl_fixed_from_int(10 * a), a);
        zwlr_virtual_pointer_v1_frame(pointer);
        if (wl_display_roundtrip(display) < 0)
            return 4;
        printf("ok\n");
        fflush(stdout);
    }
    return 0;
}
