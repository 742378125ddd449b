// SPDX-License-Identifier: GPL-3.0-or-later
// The instruction sets that the fast scan can use, chosen once at run time so that one build
// runs on every x86-64 processor and on other machines too.
#pragma once

namespace quorel {

enum class ScanKernel {
  kPortable,  // plain 64-bit words, any processor
  kAvx2,      // 256-bit vectors; only where the processor has AVX2
};

// The fastest kernel that the processor running the program supports.
ScanKernel BestScanKernel();

}  // namespace quorel
