// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/scan_kernel.h"

#include "scan/simd_target.h"

namespace quorel {

ScanKernel BestScanKernel() {
#if QUOREL_HAS_AVX2_PATH
  // The AVX2 code also uses the bit instructions that every AVX2 processor has.
  static const bool has_avx2 = __builtin_cpu_supports("avx2") != 0 &&
                               __builtin_cpu_supports("bmi") != 0 &&
                               __builtin_cpu_supports("popcnt") != 0;
  return has_avx2 ? ScanKernel::kAvx2 : ScanKernel::kPortable;
#else
  return ScanKernel::kPortable;
#endif
}

}  // namespace quorel
