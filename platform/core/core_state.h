#pragma once
// The core's one state record, shared by its files. Nothing outside platform/core/ includes it.

#include "platform/core/backend.h"

const int MAX_CLASSES = 8;
const int MAX_TIMERS = 8;
const int QUEUE_CAPACITY = 1024;
const int KEY_COUNT = 256;
const int MAX_CONTEXTS = 8;

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

// An OpenGL context handle: the backend's context, while the slot is in use.
struct HGLRC__ {
    void* native;
};

enum class BackendState { CLOSED, OPEN, FAILED };

struct CoreState {
    BackendState backend;
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
    KeyState keys[KEY_COUNT];  // as of the last message retrieved: what GetKeyState reads
    bool keysPosted[KEY_COUNT];  // down as the backend reported them, queued messages included
    int keysPostedDown;          // how many keysPosted are down: each may need a release message
    POINT cursor;                // as of the last message retrieved: what GetCursorPos reads
    POINT cursorPosted;          // as the backend reported it last
    HWND inputWindow;            // the window of the latest key or button, where releases go
    HGLRC__ contexts[MAX_CONTEXTS];
    HGLRC current;  // the context made current last; null when none is
};

extern CoreState core;

// BackendOpen, once until ClosePlatform; false when it failed.
bool OpenBackend();
// Makes no context current and deletes every context (ClosePlatform).
void ForgetContexts();
// The window a handle names when it is one of the live windows; null for a stale or foreign one.
HWND LiveWindow(HWND hwnd);

// Appends a message with the character a WM_KEYDOWN types (0 for any other message), and the
// cursor as the backend reported it last.
bool PostTypingMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                       unsigned char character);
// The message queued last, when it is `message` for `hwnd` and not yet retrieved; else null.
MSG* LastQueued(HWND hwnd, UINT message);
// What a retrieved message changes: the key state and the cursor that GetKeyState and
// GetCursorPos report (key_state.cpp).
void TakeInputState(const MSG& message);
