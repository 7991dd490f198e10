// The thread's message queue: posted messages, the quit flag, timers and the wait for X events.

#include "x11_state.h"

#include <X11/Xutil.h>

#include <poll.h>
#include <ctime>

namespace {

const int QUEUE_CAPACITY = 1024;
const int MAX_TIMERS = 8;
const UINT MINIMUM_TIMER_PERIOD_MS = 10;  // USER_TIMER_MINIMUM on Windows
const int64_t NANOSECONDS_PER_MILLISECOND = 1000000;
const int64_t NO_DEADLINE = -1;

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
    int64_t period;  // nanoseconds
    int64_t due;     // CLOCK_MONOTONIC nanoseconds
};

Timer timers[MAX_TIMERS];
UINT_PTR nextThreadTimerId = 1;

int64_t Now()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (int64_t)now.tv_sec * 1000000000 + now.tv_nsec;
}

DWORD MessageTime()
{
    return (DWORD)(Now() / NANOSECONDS_PER_MILLISECOND);
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
    const int64_t now = Now();
    if (!timer || timer->due > now)
        return false;
    const int64_t missed = (now - timer->due) / timer->period;
    timer->due += (missed + 1) * timer->period;
    *message = MSG{timer->hwnd, WM_TIMER, timer->id, (LPARAM)timer->procedure, MessageTime(), {0, 0}};
    return true;
}

int64_t NextDeadline()
{
    const Timer* timer = EarliestTimer();
    return timer ? timer->due : NO_DEADLINE;
}

// --- X events ---

void SendSizeIfChanged(HWND hwnd, int width, int height)
{
    if (width == hwnd->clientWidth && height == hwnd->clientHeight)
        return;
    hwnd->clientWidth = width;
    hwnd->clientHeight = height;
    SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
}

// Win32 reports minimising as a size of 0 by 0; X unmaps the window instead.
void HandleStructureEvent(HWND hwnd, const XEvent& event)
{
    if (event.type == ConfigureNotify && !hwnd->minimized) {
        SendSizeIfChanged(hwnd, event.xconfigure.width, event.xconfigure.height);
    } else if (event.type == UnmapNotify && !hwnd->minimized) {
        hwnd->minimized = true;
        SendMessageA(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
    } else if (event.type == MapNotify && hwnd->minimized) {
        hwnd->minimized = false;
        XWindowAttributes attributes;
        XGetWindowAttributes(event.xmap.display, hwnd->xWindow, &attributes);
        SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(attributes.width, attributes.height));
        hwnd->clientWidth = attributes.width;
        hwnd->clientHeight = attributes.height;
    }
}

// The window manager's close button arrives as a WM_DELETE_WINDOW client message.
void HandleClientMessage(HWND hwnd, const XClientMessageEvent& event)
{
    if (event.message_type == InternAtom("WM_PROTOCOLS") && event.format == 32 &&
        (Atom)event.data.l[0] == InternAtom("WM_DELETE_WINDOW"))
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
}

void DispatchXEvent(XEvent& event)
{
    if (event.type == MappingNotify) {
        XRefreshKeyboardMapping(&event.xmapping);
        return;
    }
    HWND hwnd = FindWindowOfX(event.xany.window);
    if (!hwnd)
        return;
    if (TrackInputEvent(hwnd, event))
        return;
    if (event.type == ClientMessage)
        HandleClientMessage(hwnd, event.xclient);
    else
        HandleStructureEvent(hwnd, event);
}

void DrainXEvents(Display* display)
{
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        DispatchXEvent(event);
    }
}

// Blocks on the connection until something arrives or the next timer falls due; never spins.
void WaitForEvents(Display* display)
{
    const int64_t deadline = NextDeadline();
    timespec timeout = {};
    if (deadline != NO_DEADLINE) {
        const int64_t left = deadline - Now();
        if (left <= 0)
            return;
        timeout.tv_sec = (time_t)(left / 1000000000);
        timeout.tv_nsec = (long)(left % 1000000000);
    }
    pollfd connection = {display ? ConnectionNumber(display) : -1, POLLIN, 0};
    ppoll(&connection, 1, deadline == NO_DEADLINE ? nullptr : &timeout, nullptr);
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

void ForgetQueueAndTimers()
{
    queueHead = 0;
    queueLength = 0;
    quitPosted = false;
    quitCode = 0;
    for (Timer& timer : timers)
        timer = Timer{};
    nextThreadTimerId = 1;
}

// --- message loop ---

void WINAPI PostQuitMessage(int exitCode)
{
    quitPosted = true;
    quitCode = exitCode;
}

// Priorities as on Windows: posted messages, then the quit message, then input, then one timer.
BOOL WINAPI GetMessageA(MSG* message, HWND, UINT, UINT)
{
    if (!message)
        return -1;
    for (;;) {
        if (TakePosted(message))
            return TRUE;
        if (quitPosted) {
            quitPosted = false;
            *message = MSG{nullptr, WM_QUIT, (WPARAM)quitCode, 0, MessageTime(), {0, 0}};
            return FALSE;
        }
        Display* display = CurrentDisplay();
        if (display)
            DrainXEvents(display);
        if (queueLength > 0 || quitPosted)
            continue;
        if (TakeDueTimer(message))
            return TRUE;
        if (!display && NextDeadline() == NO_DEADLINE)
            return -1;  // nothing could ever arrive
        WaitForEvents(display);
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
    const UINT period = elapse < MINIMUM_TIMER_PERIOD_MS ? MINIMUM_TIMER_PERIOD_MS : elapse;
    *timer = Timer{true, hwnd, id, timerProc, (int64_t)period * NANOSECONDS_PER_MILLISECOND,
                   Now() + (int64_t)period * NANOSECONDS_PER_MILLISECOND};
    return id;
}
