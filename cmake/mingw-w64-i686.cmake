# Cross-build for 32-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-i686-win32).
# CompilerFlags.cmake adds SSE2 arithmetic for it.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
