// Replaces the global operator new of this test program with one that notes the largest request
// and counts the bytes held; each block carries its size in front of it.
#include "allocation_probe.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

std::atomic<std::size_t> largest{0};
std::atomic<std::size_t> held{0};
std::atomic<std::size_t> peak{0};
std::atomic<std::size_t> held_at_reset{0};
std::atomic<std::size_t> limit{SIZE_MAX};

constexpr std::size_t kHeader = alignof(std::max_align_t);

void RaiseTo(std::atomic<std::size_t>& mark, std::size_t value) {
  std::size_t seen = mark.load(std::memory_order_relaxed);
  while (value > seen && !mark.compare_exchange_weak(seen, value, std::memory_order_relaxed)) {
  }
}

void* TryAllocate(std::size_t size) noexcept {
  RaiseTo(largest, size);
  if (size > limit || size > SIZE_MAX - kHeader) return nullptr;
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (block == nullptr) return nullptr;
  std::memcpy(block, &size, sizeof size);
  RaiseTo(peak, held.fetch_add(size, std::memory_order_relaxed) + size);
  return block + kHeader;
}

void* Allocate(std::size_t size) {
  if (void* p = TryAllocate(size)) return p;
  throw std::bad_alloc();
}

void Free(void* p) noexcept {
  if (p == nullptr) return;
  auto* block = static_cast<unsigned char*>(p) - kHeader;
  std::size_t size;
  std::memcpy(&size, block, sizeof size);
  held.fetch_sub(size, std::memory_order_relaxed);
  std::free(block);
}

}  // namespace

namespace testing_support {

void ResetLargestAllocation() { largest = 0; }
std::size_t LargestAllocation() { return largest; }

void ResetPeakHeld() {
  held_at_reset = held.load();
  peak = held.load();
}
std::size_t PeakHeld() { return peak - held_at_reset; }

void FailAllocationsAbove(std::size_t bytes) { limit = bytes; }

}  // namespace testing_support

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return TryAllocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return TryAllocate(size); }
void operator delete(void* p) noexcept { Free(p); }
void operator delete[](void* p) noexcept { Free(p); }
void operator delete(void* p, std::size_t) noexcept { Free(p); }
void operator delete[](void* p, std::size_t) noexcept { Free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Free(p); }
