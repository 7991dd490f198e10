#pragma once
// What the parts of the browser backend share. Nothing outside platform/web includes it.

#include <windows.h>

#include <cstddef>

struct HDC__ {
    HWND window;
};

struct HWND__ {
    WNDPROC procedure;
    HDC__ deviceContext;
    int pixelFormat;  // 0 until SetPixelFormat
};

// --- message queue (message_queue.cpp) ---

bool PostToQueue(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// --- input state (message_queue.cpp) ---

// Records a key or button as the page reported it; keys post WM_KEYDOWN or WM_KEYUP to `hwnd`,
// buttons post nothing. True when a message was posted.
bool TrackKey(HWND hwnd, int virtualKey, bool down);
void ReleaseAllKeys();

// --- text (message_queue.cpp) ---

// Windows-1252 to UTF-8, cut at a whole character to fit `outSize` with its terminating zero.
void Cp1252ToUtf8(const char* text, char* out, size_t outSize);
