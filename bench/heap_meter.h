// SPDX-License-Identifier: GPL-3.0-or-later
// Counts the bytes that this program holds on the heap, so a benchmark can report the peak that
// one run of the scan adds. Replaces the global operator new and delete of the program that
// links it; meant for the benchmark program only.
#pragma once

#include <cstddef>

namespace quorel::bench {

// Bytes held right now, and the most held since the last ResetHeapPeak.
std::size_t HeapInUse();
std::size_t HeapPeak();
void ResetHeapPeak();

}  // namespace quorel::bench
