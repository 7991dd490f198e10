// The thread's message queue, timers, key-state table and text conversion in the browser.
// The waits return to the browser, which delivers the page's events meanwhile.

#include "web_state.h"

#include <emscripten.h>

#include <cmath>

extern "C" void WebWait(int milliseconds);

namespace {

const int QUEUE_CAPACITY = 1024;
const int MAX_TIMERS = 8;
const double MINIMUM_TIMER_PERIOD_MS = 10;  // USER_TIMER_MINIMUM on Windows
const int WAIT_FOR_EVENTS = -1;
const int KEY_COUNT = 256;
const SHORT DOWN_BIT = (SHORT)0x8000;
const SHORT TOGGLED_BIT = 1;

MSG queue[QUEUE_CAPACITY];
int queueHead = 0;
int queueLength = 0;
bool quitPosted = false;
int quitCode = 0;

struct Timer {
    bool inUse;
    HWND hwnd;
    UINT_PTR id;
    TIMERPROC procedure;
    double period;  // milliseconds
    double due;     // emscripten_get_now milliseconds
};

Timer timers[MAX_TIMERS];
UINT_PTR nextThreadTimerId = 1;

struct KeyState {
    bool down;
    bool toggled;
};

KeyState keys[KEY_COUNT];

DWORD MessageTime()
{
    return (DWORD)(uint64_t)emscripten_get_now();
}

bool TakePosted(MSG* message)
{
    if (queueLength == 0)
        return false;
    *message = queue[queueHead];
    queueHead = (queueHead + 1) % QUEUE_CAPACITY;
    --queueLength;
    return true;
}

// --- timers ---

Timer* FindTimer(HWND hwnd, UINT_PTR id)
{
    for (Timer& timer : timers)
        if (timer.inUse && timer.hwnd == hwnd && timer.id == id)
            return &timer;
    return nullptr;
}

Timer* FreeTimer()
{
    for (Timer& timer : timers)
        if (!timer.inUse)
            return &timer;
    return nullptr;
}

Timer* EarliestTimer()
{
    Timer* earliest = nullptr;
    for (Timer& timer : timers)
        if (timer.inUse && (!earliest || timer.due < earliest->due))
            earliest = &timer;
    return earliest;
}

// Ticks are due on a steady schedule; all that fell due while the program was busy make one.
bool TakeDueTimer(MSG* message)
{
    Timer* timer = EarliestTimer();
    const double now = emscripten_get_now();
    if (!timer || timer->due > now)
        return false;
    const double missed = std::floor((now - timer->due) / timer->period);
    timer->due += (missed + 1) * timer->period;
    *message = MSG{timer->hwnd, WM_TIMER, timer->id, (LPARAM)timer->procedure, MessageTime(), {0, 0}};
    return true;
}

// Until the next timer falls due or a handler posts a message; for ever when no timer runs.
void WaitForEvents()
{
    const Timer* timer = EarliestTimer();
    if (!timer) {
        WebWait(WAIT_FOR_EVENTS);
        return;
    }
    const double left = timer->due - emscripten_get_now();
    if (left > 0)
        WebWait((int)std::ceil(left));
}

// --- text ---

// 0x80 to 0x9F; the five unassigned bytes map to the C1 controls, as Windows converts them.
const unsigned short HIGH_CONTROL_RANGE[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int EncodeUtf8(unsigned codePoint, char* out)
{
    if (codePoint < 0x80) {
        out[0] = (char)codePoint;
        return 1;
    }
    if (codePoint < 0x800) {
        out[0] = (char)(0xC0 | (codePoint >> 6));
        out[1] = (char)(0x80 | (codePoint & 0x3F));
        return 2;
    }
    out[0] = (char)(0xE0 | (codePoint >> 12));
    out[1] = (char)(0x80 | ((codePoint >> 6) & 0x3F));
    out[2] = (char)(0x80 | (codePoint & 0x3F));
    return 3;
}

}  // namespace

bool PostToQueue(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (queueLength == QUEUE_CAPACITY)
        return false;
    queue[(queueHead + queueLength) % QUEUE_CAPACITY] =
        MSG{hwnd, message, wParam, lParam, MessageTime(), {0, 0}};
    ++queueLength;
    return true;
}

// --- message loop ---

void WINAPI PostQuitMessage(int exitCode)
{
    quitPosted = true;
    quitCode = exitCode;
}

// Priorities as on Windows: posted messages, then the quit message, then one timer. Every
// fetch first gives the browser its turn, as it delivers the page's events only then.
BOOL WINAPI GetMessageA(MSG* message, HWND, UINT, UINT)
{
    if (!message)
        return -1;
    WebWait(0);
    for (;;) {
        if (TakePosted(message))
            return TRUE;
        if (quitPosted) {
            quitPosted = false;
            *message = MSG{nullptr, WM_QUIT, (WPARAM)quitCode, 0, MessageTime(), {0, 0}};
            return FALSE;
        }
        if (TakeDueTimer(message))
            return TRUE;
        WaitForEvents();
    }
}

BOOL WINAPI TranslateMessage(const MSG*)
{
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* message)
{
    if (!message)
        return 0;
    if (message->message == WM_TIMER && message->lParam) {
        ((TIMERPROC)message->lParam)(message->hwnd, WM_TIMER, message->wParam, message->time);
        return 0;
    }
    return SendMessageA(message->hwnd, message->message, message->wParam, message->lParam);
}

UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC timerProc)
{
    if (!hwnd)
        id = nextThreadTimerId++;
    Timer* timer = FindTimer(hwnd, id);
    if (!timer)
        timer = FreeTimer();
    if (!timer)
        return 0;
    const double period = elapse < MINIMUM_TIMER_PERIOD_MS ? MINIMUM_TIMER_PERIOD_MS : elapse;
    *timer = Timer{true, hwnd, id, timerProc, period, emscripten_get_now() + period};
    return id;
}

// --- input state ---

bool TrackKey(HWND hwnd, int virtualKey, bool down)
{
    KeyState& key = keys[virtualKey & 0xFF];
    const bool wasDown = key.down;
    if (down && !wasDown)
        key.toggled = !key.toggled;
    key.down = down;
    if (virtualKey == VK_LBUTTON || virtualKey == VK_RBUTTON || virtualKey == VK_MBUTTON || !hwnd)
        return false;
    // lParam: repeat count 1, previous state, transition.
    const LPARAM lParam = (LPARAM)(1 | (wasDown ? 1u << 30 : 0u) | (down ? 0u : 1u << 31));
    return PostToQueue(hwnd, down ? WM_KEYDOWN : WM_KEYUP, (WPARAM)virtualKey, lParam);
}

void ReleaseAllKeys()
{
    for (KeyState& key : keys)
        key.down = false;
}

SHORT WINAPI GetKeyState(int virtualKey)
{
    if (virtualKey < 0 || virtualKey >= KEY_COUNT)
        return 0;
    const KeyState& key = keys[virtualKey];
    return (SHORT)((key.down ? DOWN_BIT : 0) | (key.toggled ? TOGGLED_BIT : 0));
}

// --- text ---

void Cp1252ToUtf8(const char* text, char* out, size_t outSize)
{
    size_t used = 0;
    for (; *text; ++text) {
        const unsigned char c = (unsigned char)*text;
        const unsigned codePoint = c >= 0x80 && c < 0xA0 ? HIGH_CONTROL_RANGE[c - 0x80] : c;
        char encoded[3];
        const int length = EncodeUtf8(codePoint, encoded);
        if (used + length >= outSize)
            break;
        for (int i = 0; i < length; ++i)
            out[used++] = encoded[i];
    }
    out[used] = '\0';
}
