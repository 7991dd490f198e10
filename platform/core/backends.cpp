// The backends of a build that carries several, tried in order when the core first needs one:
// a Wayland compositor that answers wins, otherwise X11, as one Linux binary serves both.

#include "platform/core/backend.h"

namespace {

const BackendFunctions* const BACKENDS[] = {
#ifdef BOULLES_WAYLAND
    &WAYLAND_BACKEND,
#endif
    &X11_BACKEND,
};
const BackendFunctions* const LAST = BACKENDS[sizeof BACKENDS / sizeof BACKENDS[0] - 1];

// Until one connects, the last answers: it is the one whose failure the user is told about.
const BackendFunctions* chosen = LAST;

}  // namespace

bool BackendOpen()
{
    for (const BackendFunctions* backend : BACKENDS)
        if (backend->open()) {
            chosen = backend;
            return true;
        }
    return false;
}

void BackendClose()
{
    chosen->close();
    chosen = LAST;
}

// --- the rest goes to the backend that connected ---

bool BackendCreateWindow(HWND hwnd) { return chosen->createWindow(hwnd); }
void BackendShowWindow(HWND hwnd) { chosen->showWindow(hwnd); }
void BackendDestroyWindow(HWND hwnd) { chosen->destroyWindow(hwnd); }
void BackendDrainEvents() { chosen->drainEvents(); }
bool BackendWaitForEvents(int64_t deadline) { return chosen->waitForEvents(deadline); }
int64_t BackendNow() { return chosen->now(); }

int BackendChoosePixelFormat(HWND hwnd, const PIXELFORMATDESCRIPTOR& wanted)
{
    return chosen->choosePixelFormat(hwnd, wanted);
}

bool BackendSetPixelFormat(HWND hwnd, int format) { return chosen->setPixelFormat(hwnd, format); }
void* BackendCreateContext(HWND hwnd) { return chosen->createContext(hwnd); }
bool BackendMakeCurrent(HWND hwnd, void* context) { return chosen->makeCurrent(hwnd, context); }
void BackendDeleteContext(void* context) { chosen->deleteContext(context); }
void BackendPresent(HWND hwnd) { chosen->present(hwnd); }

void BackendMessageBox(HWND owner, const char* text, const char* caption)
{
    chosen->messageBox(owner, text, caption);
}
