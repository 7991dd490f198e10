# The simulation must be reproducible to the last bit: every float expression is
# evaluated in double precision exactly as written, never fused or reassociated.
if(MSVC)
  # Visual Studio 2022 and later never contract under /fp:precise (older ones could).
  add_compile_options(/fp:precise /W4)
  if(BOULLES_WERROR)
    add_compile_options(/WX)
  endif()
else()
  # No auto-vectorisation: GCC 12's vectorised force loop dropped a float
  # rounding and changed last bits (the golden trace caught it). sqrt need not
  # set errno; that changes no value.
  add_compile_options(-ffp-contract=off -fno-fast-math -fno-math-errno -fno-tree-vectorize -Wall -Wextra)
  # x87 arithmetic would round intermediates to 80 bits; SSE2 rounds as written.
  if(EMSCRIPTEN)
    # WebAssembly has no x87; its SIMD carries the step's SSE2 intrinsics.
    add_compile_options(-msimd128 -msse2)
  else()
    # The compiler is asked, not the processor name: a toolchain file may not give one.
    include(CheckCXXSourceCompiles)
    check_cxx_source_compiles("#ifndef __i386__
#error not 32-bit x86
#endif
int main() { return 0; }"
                              BOULLES_TARGETS_X86_32)
  endif()
  if(BOULLES_TARGETS_X86_32)
    add_compile_options(-msse2 -mfpmath=sse)
  endif()
  if(BOULLES_WERROR)
    add_compile_options(-Werror)
  endif()
  # Hardening for the release builds of ELF targets (Linux, native or cross);
  # MinGW would need libssp and the PE format has no RELRO, emscripten has
  # neither. None of it touches the arithmetic.
  if(NOT WIN32 AND NOT EMSCRIPTEN AND NOT BOULLES_SANITIZE)
    set(release $<CONFIG:Release,MinSizeRel>)
    add_compile_options($<${release}:-D_FORTIFY_SOURCE=2> $<${release}:-fstack-protector-strong>)
    add_link_options($<${release}:LINKER:-z,relro,-z,now>)
  endif()
  if(BOULLES_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
  endif()
endif()

# MinGW's own runtime is linked in, or the exe would not start without MinGW's
# DLLs beside it.
if(MINGW)
  add_link_options(-static-libgcc -static-libstdc++)
endif()
