# 64-bit RISC-V Linux with Debian's g++-riscv64-linux-gnu, run under qemu-riscv64.
set(CMAKE_SYSTEM_PROCESSOR riscv64)
set(LINUX_TRIPLET riscv64-linux-gnu)
set(QEMU_PROGRAM qemu-riscv64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
