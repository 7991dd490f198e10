// The seat's keyboard and pointer into core calls: keys through xkbcommon's keysyms, the wheel,
// the buttons and the cursor in the window's logical pixels.

#include "platform/wayland/wayland_state.h"

#include "platform/x11/keysyms.h"

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// wl_pointer.axis units of one wheel notch, as libinput and most compositors send them.
const double AXIS_PER_NOTCH = 10.0;
const unsigned EVDEV_OFFSET = 8;  // xkb keycodes are evdev codes plus 8

HWND FocusedWindow(wl_surface* surface)
{
    const WaylandWindow* window = WindowOfSurface(surface);
    return window ? window->hwnd : nullptr;
}

bool IsBoxSurface(wl_surface* surface)
{
    return surface && surface == wayland.box.window.surface;
}

// --- keyboard ---

void ForgetKeymap()
{
    Keyboard& keyboard = wayland.keyboard;
    if (keyboard.state)
        xkb_state_unref(keyboard.state);
    if (keyboard.keymap)
        xkb_keymap_unref(keyboard.keymap);
    keyboard.state = nullptr;
    keyboard.keymap = nullptr;
}

// Every virtual keyboard (wtype's included) brings a keymap of its own.
void KeymapReceived(void*, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size)
{
    Keyboard& keyboard = wayland.keyboard;
    void* text = format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1
                     ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0)
                     : MAP_FAILED;
    close(fd);
    if (text == MAP_FAILED)
        return;
    ForgetKeymap();
    if (!keyboard.context)
        keyboard.context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    keyboard.keymap = xkb_keymap_new_from_buffer(keyboard.context, (const char*)text, size - 1,
                                                 XKB_KEYMAP_FORMAT_TEXT_V1,
                                                 XKB_KEYMAP_COMPILE_NO_FLAGS);
    munmap(text, size);
    if (keyboard.keymap)
        keyboard.state = xkb_state_new(keyboard.keymap);
}

// The unshifted keysym names the physical key, as a virtual-key code does.
int VirtualKeyOf(xkb_keycode_t keycode)
{
    const xkb_keysym_t* keysyms = nullptr;
    const int count =
        xkb_keymap_key_get_syms_by_level(wayland.keyboard.keymap, keycode, 0, 0, &keysyms);
    return count > 0 ? VirtualKeyOfKeysym(keysyms[0]) : 0;
}

// xkbcommon applies Shift, Caps Lock, NumLock and the layout's levels, and gives the control
// characters Enter, Esc and Ctrl+letter type, as Windows does.
unsigned char TypedCharacter(xkb_keycode_t keycode)
{
    return CodePointToCp1252(xkb_state_key_get_utf32(wayland.keyboard.state, keycode));
}

const int MAX_KEYS_HELD = 32;

// The keys down as the window gets the keyboard back: what the core holds and they lack was
// released elsewhere.
void KeyboardEntered(void*, wl_keyboard*, uint32_t, wl_surface* surface, wl_array* keys)
{
    wayland.keyboard.focus = surface;
    HWND hwnd = FocusedWindow(surface);
    if (!hwnd || !wayland.keyboard.keymap)
        return;
    int held[MAX_KEYS_HELD];
    int count = 0;
    const uint32_t* key = static_cast<const uint32_t*>(keys->data);
    const size_t keyCount = keys->size / sizeof *key;
    for (size_t i = 0; i < keyCount && count < MAX_KEYS_HELD; ++i)
        if (const int virtualKey = VirtualKeyOf(key[i] + EVDEV_OFFSET))
            held[count++] = virtualKey;
    CoreKeysDownAre(hwnd, held, count);
}

// Releases that happen elsewhere never reach the window, so nothing may stay down.
void KeyboardLeft(void*, wl_keyboard*, uint32_t, wl_surface* surface)
{
    if (FocusedWindow(surface))
        CoreReleaseAllKeys();
    wayland.keyboard.focus = nullptr;
}

void KeyChanged(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state)
{
    if (!wayland.keyboard.state)
        return;
    const xkb_keycode_t keycode = key + EVDEV_OFFSET;
    const bool pressed = state == WL_KEYBOARD_KEY_STATE_PRESSED;
    if (IsBoxSurface(wayland.keyboard.focus)) {
        if (pressed)
            BoxKeyPressed(xkb_state_key_get_one_sym(wayland.keyboard.state, keycode));
    } else if (HWND hwnd = FocusedWindow(wayland.keyboard.focus)) {
        CoreKeyChanged(hwnd, VirtualKeyOf(keycode), key, pressed,
                       pressed ? TypedCharacter(keycode) : 0);
    }
}

void ModifiersChanged(void*, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched,
                      uint32_t locked, uint32_t group)
{
    if (wayland.keyboard.state)
        xkb_state_update_mask(wayland.keyboard.state, depressed, latched, locked, 0, 0, group);
}

void RepeatInfo(void*, wl_keyboard*, int32_t, int32_t) {}

const wl_keyboard_listener KEYBOARD_LISTENER = {KeymapReceived, KeyboardEntered, KeyboardLeft,
                                                KeyChanged,     ModifiersChanged, RepeatInfo};

// --- pointer ---

void PointerAt(wl_surface* surface, wl_fixed_t x, wl_fixed_t y)
{
    Pointer& pointer = wayland.pointer;
    pointer.focus = surface;
    pointer.x = wl_fixed_to_int(x);
    pointer.y = wl_fixed_to_int(y);
    if (HWND hwnd = FocusedWindow(surface))
        CorePointerMoved(hwnd, pointer.x, pointer.y);
}

void PointerEntered(void*, wl_pointer*, uint32_t, wl_surface* surface, wl_fixed_t x, wl_fixed_t y)
{
    PointerAt(surface, x, y);
}

void PointerLeft(void*, wl_pointer*, uint32_t, wl_surface*)
{
    wayland.pointer.focus = nullptr;
}

void PointerMoved(void*, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y)
{
    PointerAt(wayland.pointer.focus, x, y);
}

int VirtualKeyOfButton(uint32_t button)
{
    switch (button) {
    case BTN_LEFT: return VK_LBUTTON;
    case BTN_MIDDLE: return VK_MBUTTON;
    case BTN_RIGHT: return VK_RBUTTON;
    default: return 0;  // extra buttons
    }
}

void ButtonPressedOrReleased(void*, wl_pointer*, uint32_t, uint32_t, uint32_t button,
                             uint32_t state)
{
    const Pointer& pointer = wayland.pointer;
    const bool pressed = state == WL_POINTER_BUTTON_STATE_PRESSED;
    if (IsBoxSurface(pointer.focus) && button == BTN_LEFT)
        BoxButtonChanged(pointer.x, pointer.y, pressed);
    else if (HWND hwnd = FocusedWindow(pointer.focus); hwnd && VirtualKeyOfButton(button))
        CoreButtonChanged(hwnd, VirtualKeyOfButton(button), pressed, pointer.x, pointer.y);
}

// Wayland's vertical axis grows towards the user; the Win32 wheel away from them. Sideways
// scrolling has no message here.
void AxisMoved(void*, wl_pointer*, uint32_t, uint32_t axis, wl_fixed_t value)
{
    if (axis == WL_POINTER_AXIS_VERTICAL_SCROLL)
        wayland.pointer.wheelAmount -= wl_fixed_to_double(value);
}

void AxisStepped(void*, wl_pointer*, uint32_t axis, int32_t discrete)
{
    if (axis == WL_POINTER_AXIS_VERTICAL_SCROLL)
        wayland.pointer.wheelSteps -= discrete;
}

// A frame ends one gesture: a wheel's steps when it sent them, else the smooth amount.
void PointerFrameEnded(void*, wl_pointer*)
{
    Pointer& pointer = wayland.pointer;
    const int delta = pointer.wheelSteps != 0
                          ? pointer.wheelSteps * WHEEL_DELTA
                          : (int)(pointer.wheelAmount * WHEEL_DELTA / AXIS_PER_NOTCH);
    HWND hwnd = FocusedWindow(pointer.focus);
    if (hwnd && delta != 0)
        CoreWheelTurned(hwnd, delta, pointer.x, pointer.y);
    pointer.wheelSteps = 0;
    pointer.wheelAmount = 0;
}

void AxisSource(void*, wl_pointer*, uint32_t) {}
void AxisStopped(void*, wl_pointer*, uint32_t, uint32_t) {}
void AxisStepped120(void*, wl_pointer*, uint32_t, int32_t) {}  // seat version 8, not bound

const wl_pointer_listener POINTER_LISTENER = {
    PointerEntered, PointerLeft, PointerMoved, ButtonPressedOrReleased, AxisMoved,
    PointerFrameEnded, AxisSource, AxisStopped, AxisStepped, AxisStepped120,
};

void ReleaseKeyboard()
{
    Keyboard& keyboard = wayland.keyboard;
    if (!keyboard.keyboard)
        return;
    if (FocusedWindow(keyboard.focus))
        CoreReleaseAllKeys();
    wl_keyboard_release(keyboard.keyboard);
    ForgetKeymap();
    keyboard.keyboard = nullptr;
    keyboard.focus = nullptr;
}

void ReleasePointer()
{
    if (wayland.pointer.pointer)
        wl_pointer_release(wayland.pointer.pointer);
    wayland.pointer = Pointer{};
}

}  // namespace

// A seat's keyboard comes and goes (each virtual keyboard replaces it): a new one is taken each
// time it comes back.
void SeatCapabilitiesChanged(uint32_t capabilities)
{
    const bool hasKeyboard = capabilities & WL_SEAT_CAPABILITY_KEYBOARD;
    const bool hasPointer = capabilities & WL_SEAT_CAPABILITY_POINTER;
    if (hasKeyboard && !wayland.keyboard.keyboard) {
        wayland.keyboard.keyboard = wl_seat_get_keyboard(wayland.seat);
        wl_keyboard_add_listener(wayland.keyboard.keyboard, &KEYBOARD_LISTENER, nullptr);
    } else if (!hasKeyboard) {
        ReleaseKeyboard();
    }
    if (hasPointer && !wayland.pointer.pointer) {
        wayland.pointer.pointer = wl_seat_get_pointer(wayland.seat);
        wl_pointer_add_listener(wayland.pointer.pointer, &POINTER_LISTENER, nullptr);
    } else if (!hasPointer) {
        ReleasePointer();
    }
}

void ReleaseSeatDevices()
{
    ReleaseKeyboard();
    ReleasePointer();
    if (wayland.keyboard.context)
        xkb_context_unref(wayland.keyboard.context);
    wayland.keyboard = Keyboard{};
}
