# 64-bit IBM Z Linux, big-endian, with Debian's g++-s390x-linux-gnu, run under qemu-s390x.
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(LINUX_TRIPLET s390x-linux-gnu)
set(QEMU_PROGRAM qemu-s390x)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
