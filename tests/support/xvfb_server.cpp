#include "tests/support/xvfb_server.h"

#include <X11/Xatom.h>
#include <X11/extensions/XTest.h>

#include <fcntl.h>
#include <poll.h>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <ctime>
#include <unistd.h>

namespace {

const int POLL_INTERVAL_MS = 10;

long NowMs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000 + now.tv_nsec / 1000000;
}

// Reads the display number Xvfb writes once it listens; empty on failure or timeout.
std::string ReadDisplayNumber(int fd)
{
    std::string number;
    const long deadline = NowMs() + HANG_MS;
    for (;;) {
        pollfd pending = {fd, POLLIN, 0};
        const long left = deadline - NowMs();
        if (left <= 0 || poll(&pending, 1, (int)left) <= 0)
            return "";
        char c;
        if (read(fd, &c, 1) != 1)
            return "";
        if (c == '\n')
            return number;
        number += c;
    }
}

bool AcceptsConnections(const std::string& name)
{
    return WaitUntil([&name] {
        Display* display = XOpenDisplay(name.c_str());
        if (display != nullptr)
            XCloseDisplay(display);
        return display != nullptr;
    });
}

void SilenceOutput()
{
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    close(null);
}

std::vector<char*> ArgumentPointers(std::vector<std::string>& arguments)
{
    std::vector<char*> pointers;
    pointers.reserve(arguments.size() + 1);
    for (std::string& argument : arguments)
        pointers.push_back(&argument[0]);
    pointers.push_back(nullptr);
    return pointers;
}

bool IsViewableAndNamed(Display* display, Window window, const char* name)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable &&
           ReadStringProperty(display, window, "_NET_WM_NAME") == name;
}

void SleepMs(int ms)
{
    timespec pause = {ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&pause, nullptr);
}

}  // namespace

bool WaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    for (const long deadline = NowMs() + timeoutMs; !done(); SleepMs(POLL_INTERVAL_MS))
        if (NowMs() >= deadline)
            return false;
    return true;
}

// --- Xvfb ---

bool XvfbServer::Start(const std::vector<std::string>& extraArguments)
{
    int displayPipe[2];
    if (pipe(displayPipe) != 0)
        return false;
    std::vector<std::string> arguments = {"Xvfb", "-displayfd", std::to_string(displayPipe[1]),
                                          "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                                          "-noreset"};  // no reset when the last client leaves
    arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
    std::vector<char*> argv = ArgumentPointers(arguments);
    pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlive a crashed test
        close(displayPipe[0]);
        SilenceOutput();
        execvp("Xvfb", argv.data());
        _exit(127);
    }
    close(displayPipe[1]);
    const std::string number = pid > 0 ? ReadDisplayNumber(displayPipe[0]) : "";
    close(displayPipe[0]);
    displayName = ":" + number;
    if (number.empty() || !AcceptsConnections(displayName)) {
        Kill();
        return false;
    }
    return true;
}

void XvfbServer::End(int signal)
{
    if (pid <= 0)
        return;
    kill(pid, signal);
    waitpid(pid, nullptr, 0);
    pid = -1;
}

void XvfbServer::Stop()
{
    End(SIGTERM);
}

void XvfbServer::Kill()
{
    End(SIGKILL);
}

void XvfbServer::UseAsDefault() const
{
    setenv("DISPLAY", displayName.c_str(), 1);
}

// --- child processes ---

ChildProcess::~ChildProcess()
{
    if (pid > 0)
        WaitForExit(0);
    if (errorPipe >= 0)
        close(errorPipe);
}

namespace {

struct ExecContext {
    std::vector<char*> argv;
    const Environment& environment;
};

int ExecBody(void* context)
{
    ExecContext& exec = *(ExecContext*)context;
    for (const auto& variable : exec.environment)
        setenv(variable.first.c_str(), variable.second.c_str(), 1);
    execv(exec.argv[0], exec.argv.data());
    return 127;
}

}  // namespace

bool ChildProcess::Start(const std::vector<std::string>& commandLine, const Environment& environment)
{
    std::vector<std::string> arguments = commandLine;
    ExecContext exec = {ArgumentPointers(arguments), environment};
    return Fork(ExecBody, &exec);
}

// The child's standard error goes into a pipe that WaitForExit reads.
bool ChildProcess::Fork(int (*body)(void*), void* context)
{
    if (errorPipe >= 0)
        close(errorPipe);  // of an earlier child
    errorPipe = -1;
    standardError.clear();
    int errors[2];
    if (pipe(errors) != 0)
        return false;
    pid = fork();
    if (pid == 0) {
        dup2(errors[1], STDERR_FILENO);
        close(errors[0]);
        close(errors[1]);
        _exit(body(context));
    }
    close(errors[1]);
    errorPipe = errors[0];
    return pid > 0;
}

void ChildProcess::ReadStandardError()
{
    char buffer[512];
    for (ssize_t got; (got = read(errorPipe, buffer, sizeof buffer)) > 0;)
        standardError.append(buffer, (size_t)got);
}

int ChildProcess::WaitForExit(int timeoutMs)
{
    if (pid <= 0)
        return -1;
    int status = 0;
    if (!WaitUntil([&] { return waitpid(pid, &status, WNOHANG) != 0; }, timeoutMs)) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        status = -1;
    }
    pid = -1;
    ReadStandardError();
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// --- X helpers ---

void SendClientMessage(Display* display, Window destination, long eventMask, Window window,
                       const char* type, long first, long second)
{
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, type, False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = first;
    event.xclient.data.l[1] = second;
    XSendEvent(display, destination, False, eventMask, &event);
    XSync(display, False);
}

void RequestClose(Display* display, Window window)
{
    SendClientMessage(display, window, NoEventMask, window, "WM_PROTOCOLS",
                      (long)XInternAtom(display, "WM_DELETE_WINDOW", False), CurrentTime);
}

std::string ReadStringProperty(Display* display, Window window, const char* name)
{
    Atom type;
    int format;
    unsigned long count, remaining;
    unsigned char* data = nullptr;
    std::string value;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1024, False,
                           AnyPropertyType, &type, &format, &count, &remaining,
                           &data) == Success &&
        data && format == 8)
        value.assign((const char*)data, count);
    if (data)
        XFree(data);
    return value;
}

namespace {

// Depth first, so that a client reparented into a window manager's frame is found too.
Window FindWindowNamed(Display* display, Window parent, const char* name)
{
    Window root, grandparent, *children = nullptr;
    unsigned count = 0;
    XQueryTree(display, parent, &root, &grandparent, &children, &count);
    Window found = None;
    for (unsigned i = 0; i < count && found == None; ++i)
        found = IsViewableAndNamed(display, children[i], name)
                    ? children[i]
                    : FindWindowNamed(display, children[i], name);
    if (children)
        XFree(children);
    return found;
}

// A window manager makes and destroys windows of its own while the tree is walked.
int IgnoreVanishedWindow(Display*, XErrorEvent*)
{
    return 0;
}

}  // namespace

Window WaitForWindowNamed(Display* display, const char* name, int timeoutMs)
{
    const XErrorHandler previous = XSetErrorHandler(IgnoreVanishedWindow);
    Window found = None;
    WaitUntil([&] { return (found = FindWindowNamed(display, DefaultRootWindow(display), name)) != None; },
              timeoutMs);
    XSync(display, False);
    XSetErrorHandler(previous);
    return found;
}

bool WaitForFocus(Display* display, Window window, int timeoutMs)
{
    return WaitUntil([=] {
        Window focus;
        int revert;
        XGetInputFocus(display, &focus, &revert);
        return focus == window;
    }, timeoutMs);
}

void PressKey(Display* display, unsigned long keysym)
{
    FakeKey(display, keysym, true);
    FakeKey(display, keysym, false);
}

void FakeKey(Display* display, unsigned long keysym, bool press)
{
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, keysym), press ? True : False, CurrentTime);
    XSync(display, False);
}

void FakePointerMove(Display* display, int x, int y)
{
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XSync(display, False);
}

void FakeButton(Display* display, unsigned button, bool press)
{
    XTestFakeButtonEvent(display, button, press ? True : False, CurrentTime);
    XSync(display, False);
}
