// The null backend: received events, a clock that moves only when told, and a surface with
// nothing to draw on.

#include "platform/null/null_backend.h"

#include <cstdio>

namespace {

const int MAX_RECEIVED = 64;
const size_t TEXT_BYTES = 4096;

struct Received {
    void (*deliver)(HWND);
    HWND hwnd;
};

struct NullState {
    Received received[MAX_RECEIVED];
    int receivedCount;
    int64_t now;
    int frameWidth, frameHeight;
};

NullState null;

}  // namespace

bool NullReceive(void (*deliver)(HWND), HWND hwnd)
{
    if (null.receivedCount == MAX_RECEIVED)
        return false;
    null.received[null.receivedCount++] = Received{deliver, hwnd};
    return true;
}

void NullAdvanceClock(int64_t nanoseconds)
{
    null.now += nanoseconds;
}

void NullSetFrame(int width, int height)
{
    null.frameWidth = width;
    null.frameHeight = height;
}

// --- what the core asks of a backend ---

bool BackendOpen()
{
    return true;
}

bool BackendCreateWindow(HWND hwnd)
{
    if (null.frameWidth != 0 || null.frameHeight != 0)
        CoreClientSized(hwnd, hwnd->width - null.frameWidth, hwnd->height - null.frameHeight);
    return true;
}

void BackendShowWindow(HWND)
{
}

void BackendDestroyWindow(HWND)
{
}

// What finds no room in the core's queue waits here, in order.
void BackendDrainEvents()
{
    int delivered = 0;
    for (; delivered < null.receivedCount && CoreHasRoom(); ++delivered)
        null.received[delivered].deliver(null.received[delivered].hwnd);
    null.receivedCount -= delivered;
    for (int i = 0; i < null.receivedCount; ++i)
        null.received[i] = null.received[delivered + i];
}

bool BackendWaitForEvents(int64_t deadline)
{
    if (null.receivedCount > 0)
        return true;
    if (deadline == NO_DEADLINE)
        return false;
    if (deadline > null.now)
        null.now = deadline;
    return true;
}

int64_t BackendNow()
{
    return null.now;
}

void BackendClose()
{
    null = NullState{};
}

// --- drawing surface and message box ---

int BackendChoosePixelFormat(HWND, const PIXELFORMATDESCRIPTOR&)
{
    return 0;
}

bool BackendSetPixelFormat(HWND, int)
{
    return false;
}

void* BackendCreateContext(HWND)
{
    return nullptr;
}

// No context can be current, so making none current always succeeds.
bool BackendMakeCurrent(HWND, void* context)
{
    return context == nullptr;
}

void BackendDeleteContext(void*)
{
}

void BackendPresent(HWND)
{
}

void BackendMessageBox(HWND, const char* text, const char* caption)
{
    char textUtf8[TEXT_BYTES];
    char captionUtf8[TEXT_BYTES];
    Cp1252ToUtf8(text, textUtf8, sizeof textUtf8);
    Cp1252ToUtf8(caption, captionUtf8, sizeof captionUtf8);
    fprintf(stderr, "%s: %s\n", captionUtf8, textUtf8);
}
