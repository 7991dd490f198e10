// The process entry in the page. Under Asyncify, main has long returned to the browser when
// WinMain ends, so its result would reach nobody: the run ends through exit, which hands the
// code to the page (Module.onExit).

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
