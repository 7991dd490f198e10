#pragma once
// Test support for anything that needs an X server.
//
// XvfbServer starts a private Xvfb (screen 0 1024x768x24, no TCP, no reset) on a display number the server
// picks itself (-displayfd, so parallel runs never collide), waits until it accepts connections,
// and stops it again (Stop: SIGTERM and wait; Kill: SIGKILL, for tests of a server that vanishes;
// the destructor stops it). Extra arguments go to Xvfb, e.g. {"-extension", "GLX"} for a server
// without OpenGL. UseAsDefault() sets DISPLAY for the code under test and for child processes.
//
// ChildProcess runs a program (with DISPLAY as the environment has it), captures its standard
// error, and waits for it with a deadline; a child still running at the deadline is killed.
//
// Every wait here polls for what the program does, and gives up only at a deadline that a hang
// reaches (HANG_MS), never one that a slow but working program on a busy machine could reach.
//
// The X helpers work on a test's own connection and inject input through XTest, which the server
// treats like real devices (synthetic XSendEvent input does not change the pointer or key state).

#include <X11/Xlib.h>

#include <functional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

const int HANG_MS = 120000;

// Variables set in a child's environment, each a name and a value.
using Environment = std::vector<std::pair<std::string, std::string>>;

class XvfbServer {
public:
    XvfbServer() = default;
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;
    ~XvfbServer() { Stop(); }

    // False when Xvfb cannot be started or never accepts connections.
    bool Start(const std::vector<std::string>& extraArguments = {});
    void Stop();
    void Kill();
    void UseAsDefault() const;
    const std::string& DisplayName() const { return displayName; }

private:
    void End(int signal);

    pid_t pid = -1;
    std::string displayName;
};

class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    bool Start(const std::vector<std::string>& commandLine, const Environment& environment = {});
    // Runs `body` in a forked copy of this process, which exits with body's result.
    bool Fork(int (*body)(void*), void* context);
    // The exit code, or -1 when the child had to be killed at the deadline or died by a signal.
    int WaitForExit(int timeoutMs = HANG_MS);
    const std::string& StandardError() const { return standardError; }

private:
    void ReadStandardError();

    pid_t pid = -1;
    int errorPipe = -1;
    std::string standardError;
};

// Polls `done` until it holds; false when the deadline passes first.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = HANG_MS);

// The viewable window whose _NET_WM_NAME (UTF-8) is `name`, at any depth (a window manager
// reparents its clients), or None after the deadline.
Window WaitForWindowNamed(Display* display, const char* name, int timeoutMs = HANG_MS);
// Waits until `window` has the keyboard focus; false after the deadline.
bool WaitForFocus(Display* display, Window window, int timeoutMs = HANG_MS);
// XTest input: keys by keysym, pointer in root coordinates, buttons by number.
void FakeKey(Display* display, unsigned long keysym, bool press);
// A press and its release, for programs that act on key messages. One that polls its keys once
// per frame must see the key held over a frame: hold it for frames (see frame_count.h).
void PressKey(Display* display, unsigned long keysym);
void FakePointerMove(Display* display, int x, int y);
void FakeButton(Display* display, unsigned button, bool press);
// A 32-bit client message about `window`, of the named type, sent to `destination`.
void SendClientMessage(Display* display, Window destination, long eventMask, Window window,
                       const char* type, long first, long second);
// What a window manager sends when the user closes `window`: WM_DELETE_WINDOW.
void RequestClose(Display* display, Window window);
// The string property `name` of `window`, empty when absent.
std::string ReadStringProperty(Display* display, Window window, const char* name);
