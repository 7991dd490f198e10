# 64-bit little-endian POWER Linux with Debian's g++-powerpc64le-linux-gnu, run
# under qemu-ppc64le.
set(CMAKE_SYSTEM_PROCESSOR ppc64le)
set(LINUX_TRIPLET powerpc64le-linux-gnu)
set(QEMU_PROGRAM qemu-ppc64le)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
