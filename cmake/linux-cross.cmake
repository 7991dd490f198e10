# Linux on another architecture with Debian's cross compiler (g++-<triplet>);
# its programs run under qemu-user on the build machine. The including toolchain
# file sets CMAKE_SYSTEM_PROCESSOR, LINUX_TRIPLET and QEMU_PROGRAM first.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${LINUX_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${LINUX_TRIPLET}-g++)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QEMU_PROGRAM} -L /usr/${LINUX_TRIPLET})

set(CMAKE_FIND_ROOT_PATH /usr/${LINUX_TRIPLET})
include(${CMAKE_CURRENT_LIST_DIR}/sysroot.cmake)
