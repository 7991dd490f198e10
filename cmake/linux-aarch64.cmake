# 64-bit Arm Linux with Debian's g++-aarch64-linux-gnu, run under qemu-aarch64.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(LINUX_TRIPLET aarch64-linux-gnu)
set(QEMU_PROGRAM qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
