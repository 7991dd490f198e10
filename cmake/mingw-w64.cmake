# Cross-build for Windows with Debian's MinGW-w64; the including toolchain file
# sets CMAKE_SYSTEM_PROCESSOR and MINGW_TRIPLET first.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
include(${CMAKE_CURRENT_LIST_DIR}/sysroot.cmake)
