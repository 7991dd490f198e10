// The process entry: Linux starts at main, a Win32 program at WinMain.

#include <windows.h>

namespace {

char emptyCommandLine[] = "";
int moduleInstance;  // its address stands for the module, as an HINSTANCE does

}  // namespace

int main()
{
    return WinMain((HINSTANCE)&moduleInstance, nullptr, emptyCommandLine, SW_SHOWDEFAULT);
}
