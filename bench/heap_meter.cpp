// SPDX-License-Identifier: GPL-3.0-or-later
#include "heap_meter.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

namespace quorel::bench {
namespace {

// The benchmark runs on one thread; plain counters keep the accounting cheap.
std::size_t in_use = 0;
std::size_t peak = 0;

void* Allocate(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) {
    throw std::bad_alloc();
  }
  in_use += malloc_usable_size(block);
  if (in_use > peak) {
    peak = in_use;
  }
  return block;
}

void Release(void* block) {
  if (block != nullptr) {
    in_use -= malloc_usable_size(block);
    std::free(block);
  }
}

}  // namespace

std::size_t HeapInUse() {
  return in_use;
}
std::size_t HeapPeak() {
  return peak;
}
void ResetHeapPeak() {
  peak = in_use;
}

}  // namespace quorel::bench

void* operator new(std::size_t size) {
  return quorel::bench::Allocate(size);
}
void* operator new[](std::size_t size) {
  return quorel::bench::Allocate(size);
}
void operator delete(void* block) noexcept {
  quorel::bench::Release(block);
}
void operator delete[](void* block) noexcept {
  quorel::bench::Release(block);
}
void operator delete(void* block, std::size_t) noexcept {
  quorel::bench::Release(block);
}
void operator delete[](void* block, std::size_t) noexcept {
  quorel::bench::Release(block);
}
