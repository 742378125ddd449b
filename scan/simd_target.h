// SPDX-License-Identifier: GPL-3.0-or-later
// Whether this build can compile AVX2 code paths next to the portable ones, each function
// marked with the instruction set it uses and called only after a run-time check.
#pragma once

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define QUOREL_HAS_AVX2_PATH 1
#define QUOREL_TARGET_AVX2 __attribute__((target("avx2,bmi,popcnt")))
#else
#define QUOREL_HAS_AVX2_PATH 0
#endif
