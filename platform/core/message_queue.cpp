// The thread's message queue: posted messages, the quit flag and the timers, with the
// priorities of Windows. The backend is asked for its events and waited on in between.

#include "platform/core/core_state.h"

#include <ctime>

namespace {

const UINT MINIMUM_TIMER_PERIOD_MS = 10;  // USER_TIMER_MINIMUM on Windows
const int MESSAGES_PER_EVENT = 2;  // the most one native event posts: a move and a button
const int64_t NANOSECONDS_PER_MILLISECOND = 1000000;

DWORD MessageTime()
{
    return (DWORD)(BackendNow() / NANOSECONDS_PER_MILLISECOND);
}

bool TakePosted(MSG* message)
{
    if (core.queueLength == 0)
        return false;
    *message = core.queue[core.queueHead];
    TakeInputState(*message);
    if (message->message == WM_KEYDOWN) {
        core.fetchedKeyDown = *message;
        core.fetchedCharacter = core.queueCharacters[core.queueHead];
    }
    core.queueHead = (core.queueHead + 1) % QUEUE_CAPACITY;
    --core.queueLength;
    return true;
}

// As Windows posts a translated character: the next message fetched, ahead of later input.
bool PostAtFront(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (core.queueLength == QUEUE_CAPACITY)
        return false;
    core.queueHead = (core.queueHead + QUEUE_CAPACITY - 1) % QUEUE_CAPACITY;
    core.queue[core.queueHead] = MSG{hwnd, message, wParam, lParam, MessageTime(), core.cursor};
    core.queueCharacters[core.queueHead] = 0;
    ++core.queueLength;
    return true;
}

bool IsFetchedKeyDown(const MSG& message)
{
    const MSG& fetched = core.fetchedKeyDown;
    return message.message == WM_KEYDOWN && message.hwnd == fetched.hwnd &&
           message.wParam == fetched.wParam && message.lParam == fetched.lParam &&
           message.time == fetched.time;
}

bool TakeQuit(MSG* message)
{
    if (!core.quitPosted)
        return false;
    core.quitPosted = false;
    *message = MSG{nullptr, WM_QUIT, (WPARAM)core.quitCode, 0, MessageTime(), core.cursor};
    return true;
}

// --- timers ---

Timer* FindTimer(HWND hwnd, UINT_PTR id)
{
    for (Timer& timer : core.timers)
        if (timer.inUse && timer.hwnd == hwnd && timer.id == id)
            return &timer;
    return nullptr;
}

Timer* FreeTimer()
{
    for (Timer& timer : core.timers)
        if (!timer.inUse)
            return &timer;
    return nullptr;
}

Timer* EarliestTimer()
{
    Timer* earliest = nullptr;
    for (Timer& timer : core.timers)
        if (timer.inUse && (!earliest || timer.due < earliest->due))
            earliest = &timer;
    return earliest;
}

// Ticks are due on a steady schedule; all that fell due while the program was busy make one.
bool TakeDueTimer(MSG* message)
{
    Timer* timer = EarliestTimer();
    const int64_t now = BackendNow();
    if (!timer || timer->due > now)
        return false;
    const int64_t missed = (now - timer->due) / timer->period;
    timer->due += (missed + 1) * timer->period;
    *message = MSG{timer->hwnd, WM_TIMER, timer->id, (LPARAM)timer->procedure, MessageTime(),
                   core.cursor};
    return true;
}

int64_t NextDeadline()
{
    const Timer* timer = EarliestTimer();
    return timer ? timer->due : NO_DEADLINE;
}

}  // namespace

int64_t MonotonicClock()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (int64_t)now.tv_sec * 1000000000 + now.tv_nsec;
}

bool CorePostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return PostTypingMessage(hwnd, message, wParam, lParam, 0);
}

bool PostTypingMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                       unsigned char character)
{
    if (core.queueLength == QUEUE_CAPACITY)
        return false;
    const int tail = (core.queueHead + core.queueLength) % QUEUE_CAPACITY;
    core.queue[tail] = MSG{hwnd, message, wParam, lParam, MessageTime(), core.cursorPosted};
    core.queueCharacters[tail] = character;
    ++core.queueLength;
    return true;
}

MSG* LastQueued(HWND hwnd, UINT message)
{
    if (core.queueLength == 0)
        return nullptr;
    MSG& last = core.queue[(core.queueHead + core.queueLength - 1) % QUEUE_CAPACITY];
    return last.hwnd == hwnd && last.message == message ? &last : nullptr;
}

// Room for what one more event posts, beyond the release of every key held: a release is
// never refused, so no key ever stays down for want of room.
bool CoreHasRoom()
{
    return QUEUE_CAPACITY - core.queueLength >= core.keysPostedDown + MESSAGES_PER_EVENT;
}

// --- message loop ---

void WINAPI PostQuitMessage(int exitCode)
{
    core.quitPosted = true;
    core.quitCode = exitCode;
}

// Priorities as on Windows: posted messages, then the quit message, then input, then one timer.
BOOL WINAPI GetMessageA(MSG* message, HWND, UINT, UINT)
{
    if (!message)
        return -1;
    for (;;) {
        if (TakePosted(message))
            return TRUE;
        if (TakeQuit(message))
            return FALSE;
        BackendDrainEvents();
        if (core.queueLength > 0 || core.quitPosted)
            continue;
        if (TakeDueTimer(message))
            return TRUE;
        if (!BackendWaitForEvents(NextDeadline()))
            return -1;  // nothing could ever arrive
    }
}

// The character goes with the key-down's lParam, as on Windows. Key messages report TRUE
// whether or not they type anything.
BOOL WINAPI TranslateMessage(const MSG* message)
{
    if (!message || (message->message != WM_KEYDOWN && message->message != WM_KEYUP))
        return FALSE;
    if (IsFetchedKeyDown(*message) && core.fetchedCharacter != 0)
        PostAtFront(message->hwnd, WM_CHAR, core.fetchedCharacter, message->lParam);
    return TRUE;
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
        id = core.nextThreadTimerId++;
    Timer* timer = FindTimer(hwnd, id);
    if (!timer)
        timer = FreeTimer();
    if (!timer)
        return 0;
    const UINT period = elapse < MINIMUM_TIMER_PERIOD_MS ? MINIMUM_TIMER_PERIOD_MS : elapse;
    const int64_t periodNs = (int64_t)period * NANOSECONDS_PER_MILLISECOND;
    *timer = Timer{true, hwnd, id, timerProc, periodNs, BackendNow() + periodNs};
    return id;
}
