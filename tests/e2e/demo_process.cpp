#include "tests/e2e/demo_process.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

DemoProcess::DemoProcess(const std::string& program, const std::string& display)
{
    char pattern[] = "/tmp/boulles-stderr-XXXXXX";
    const int errorFd = mkstemp(pattern);
    errorPath = pattern;
    pid = fork();
    if (pid == 0) {
        if (display.empty())
            unsetenv("DISPLAY");
        else
            setenv("DISPLAY", display.c_str(), 1);
        dup2(errorFd, STDERR_FILENO);
        const int devNull = open("/dev/null", O_RDONLY);
        dup2(devNull, STDIN_FILENO);
        execl(program.c_str(), program.c_str(), (char*)nullptr);
        _exit(127);
    }
    close(errorFd);
}

DemoProcess::~DemoProcess()
{
    if (Running()) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    std::remove(errorPath.c_str());
}

bool DemoProcess::Running()
{
    if (ended || pid <= 0)
        return false;
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) != pid)
        return true;
    ended = true;
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    return false;
}

int DemoProcess::WaitForExit(double seconds)
{
    const timespec pause = {0, 10 * 1000 * 1000};
    for (double waited = 0; waited < seconds; waited += 0.01) {
        if (!Running())
            return exitCode;
        nanosleep(&pause, nullptr);
    }
    return Running() ? -1 : exitCode;
}

std::string DemoProcess::StandardError() const
{
    std::ifstream file(errorPath);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}
