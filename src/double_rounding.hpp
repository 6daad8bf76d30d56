// The models' arithmetic must round each operation once, to double: the
// tables are the same everywhere because every build computes the same
// kind of doubles. Where the compiler would evaluate doubles in a wider
// format (the x87 unit of 32-bit x86, FLT_EVAL_METHOD 2) and round twice,
// the build stops here.
#pragma once

#include <cfloat>

#if !defined(FLT_EVAL_METHOD) || FLT_EVAL_METHOD != 0
#error \
    "doubles would be evaluated in excess precision and rounded twice: build with SSE2 arithmetic (-msse2 -mfpmath=sse), which CMake selects for 32-bit x86 by itself"
#endif
