// The process entry: Linux and the page start at main, a Win32 program at WinMain. The run
// ends through exit, not a return: in the page main has long returned to the browser when
// WinMain ends (Asyncify), and exit is what hands the code to it (Module.onExit).

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
