#pragma once
// Runs the demo as a child process on a given X display and watches it end.

#include <string>

#include <sys/types.h>

class DemoProcess {
public:
    // Starts `program` with DISPLAY set to `display` (unset when empty);
    // stderr goes to a file that StandardError() reads back.
    DemoProcess(const std::string& program, const std::string& display);
    ~DemoProcess();
    DemoProcess(const DemoProcess&) = delete;
    DemoProcess& operator=(const DemoProcess&) = delete;

    // The exit code once the process has ended within `seconds`, -1 if it is
    // still running then (it is left running), -2 if it died from a signal.
    int WaitForExit(double seconds);
    bool Running();
    std::string StandardError() const;

private:
    pid_t pid = -1;
    int exitCode = -1;
    bool ended = false;
    std::string errorPath;
};
