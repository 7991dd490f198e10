#pragma once
// X keysyms, which xkbcommon shares, as virtual-key codes: for the X11 and Wayland backends.

// The virtual key of a key whose unshifted keysym is `keysym`; 0 for one GetKeyState does not
// know. The keypad's operator keys carry the same keysym whether NumLock is on or off.
int VirtualKeyOfKeysym(unsigned long keysym);
