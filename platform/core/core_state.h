#pragma once
// The core's one state record, shared by its files. Nothing outside platform/core/ includes it.

#include "platform/core/backend.h"

const int MAX_CLASSES = 8;
const int MAX_TIMERS = 8;
const int QUEUE_CAPACITY = 1024;
const int KEY_COUNT = 256;

struct WindowClass {
    char name[256];
    WNDPROC procedure;
};

struct Timer {
    bool inUse;
    HWND hwnd;
    UINT_PTR id;
    TIMERPROC procedure;
    int64_t period;  // nanoseconds
    int64_t due;     // BackendNow time
};

struct KeyState {
    bool down;
    bool toggled;
};

struct CoreState {
    WindowClass classes[MAX_CLASSES];
    int classCount;
    HWND__ windows[MAX_WINDOWS];
    MSG queue[QUEUE_CAPACITY];  // posted messages, a ring
    unsigned char queueCharacters[QUEUE_CAPACITY];  // what each queued WM_KEYDOWN types
    int queueHead;
    int queueLength;
    MSG fetchedKeyDown;  // the WM_KEYDOWN GetMessageA fetched last, for TranslateMessage
    unsigned char fetchedCharacter;
    bool quitPosted;
    int quitCode;
    Timer timers[MAX_TIMERS];
    UINT_PTR nextThreadTimerId = 1;
    KeyState keys[KEY_COUNT];
};

extern CoreState core;

// Appends a message with the character a WM_KEYDOWN types (0 for any other message).
bool PostTypingMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                       unsigned char character);
