#pragma once
// The trajectory is the same on every build only where float and double
// expressions are evaluated in their own types. x87 arithmetic (32-bit x86
// without SSE2 arithmetic) carries 80-bit intermediates and changes last bits;
// MSVC's /fp:fast reports -1. Such a build stops here rather than run wrong.

#include <cfloat>

#if !defined(FLT_EVAL_METHOD) || FLT_EVAL_METHOD != 0
// cppcheck reads no system header, so it never sees FLT_EVAL_METHOD defined.
// cppcheck-suppress preprocessorErrorDirective
#error "float arithmetic is not evaluated in its own types (FLT_EVAL_METHOD != 0): build 32-bit x86 with -msse2 -mfpmath=sse (GCC, Clang) or /arch:SSE2 (MSVC), never with fast-math or /fp:fast"
#endif
