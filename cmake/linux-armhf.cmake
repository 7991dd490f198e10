# 32-bit Arm Linux, hard float, with Debian's g++-arm-linux-gnueabihf (its
# baseline FPU, VFPv3-D16, has no fused multiply-add), run under qemu-arm.
set(CMAKE_SYSTEM_PROCESSOR arm)
set(LINUX_TRIPLET arm-linux-gnueabihf)
set(QEMU_PROGRAM qemu-arm)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
