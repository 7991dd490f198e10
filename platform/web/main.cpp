// The process entry in the page: main calls WinMain, and its result ends the run through exit,
// which tells the page the exit code.

#include <windows.h>

#include <cstdlib>

namespace {

char emptyCommandLine[] = "";
int moduleInstance;  // its address stands for the module, as an HINSTANCE does

}  // namespace

int main()
{
    std::exit(WinMain((HINSTANCE)&moduleInstance, nullptr, emptyCommandLine, SW_SHOWDEFAULT));
}
