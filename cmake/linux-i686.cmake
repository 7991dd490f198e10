# 32-bit x86 Linux with the host's g++ -m32 (lib32stdc++-12-dev, lib32gcc-12-dev,
# libc6-dev-i386). CompilerFlags.cmake adds SSE2 arithmetic. The host runs the programs, or
# qemu-i386 where the kernel was built without 32-bit support (its SSE2 rounds as IEEE's does).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
# gcc-multilib, which conflicts with the aarch64 cross compiler, would link
# /usr/include/asm to the kernel's x86 headers; they serve both widths, and are
# searched last so that the 32-bit C library headers come first.
set(CMAKE_C_FLAGS_INIT "-m32 -idirafter /usr/include/x86_64-linux-gnu")
set(CMAKE_CXX_FLAGS_INIT "-m32 -idirafter /usr/include/x86_64-linux-gnu")
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -m32)

execute_process(COMMAND /lib/ld-linux.so.2 --version RESULT_VARIABLE host_runs_i686
                OUTPUT_QUIET ERROR_QUIET)
if(NOT host_runs_i686 EQUAL 0)
  set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386)
endif()
