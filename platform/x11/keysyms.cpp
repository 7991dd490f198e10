// The keysyms that stand for a virtual key.

#include "platform/x11/keysyms.h"

#include "platform/core/windows.h"

#include <X11/keysym.h>

namespace {

struct KeysymToVirtualKey {
    unsigned long keysym;
    int virtualKey;
};

// Only the keypad's operator keys count as VK_ADD and the rest; the main keyboard's + and - are
// the OEM keys, = or + unshifted depending on the layout.
const KeysymToVirtualKey KEY_TABLE[] = {
    {XK_Escape, VK_ESCAPE},   {XK_Return, VK_RETURN},   {XK_KP_Enter, VK_RETURN},
    {XK_space, VK_SPACE},     {XK_Tab, VK_TAB},         {XK_BackSpace, VK_BACK},
    {XK_Left, VK_LEFT},       {XK_Up, VK_UP},           {XK_Right, VK_RIGHT},
    {XK_Down, VK_DOWN},       {XK_KP_Add, VK_ADD},      {XK_KP_Subtract, VK_SUBTRACT},
    {XK_KP_Multiply, VK_MULTIPLY}, {XK_KP_Divide, VK_DIVIDE}, {XK_equal, VK_OEM_PLUS},
    {XK_plus, VK_OEM_PLUS},   {XK_minus, VK_OEM_MINUS},
};

}  // namespace

int VirtualKeyOfKeysym(unsigned long keysym)
{
    if (keysym >= XK_a && keysym <= XK_z)
        return (int)('A' + (keysym - XK_a));
    if (keysym >= XK_0 && keysym <= XK_9)
        return (int)('0' + (keysym - XK_0));
    for (const KeysymToVirtualKey& entry : KEY_TABLE)
        if (entry.keysym == keysym)
            return entry.virtualKey;
    return 0;
}
