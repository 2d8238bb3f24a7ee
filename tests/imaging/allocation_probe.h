// What a test program allocates through operator new: the largest single request, so that tests
// can tell that a decoder refused a hostile size before it allocated the picture, and the most
// held at once, so that they can bound what a whole operation costs.
#pragma once

#include <cstddef>

namespace testing_support {

void ResetLargestAllocation();
std::size_t LargestAllocation();

// The most bytes held at once since the last ResetPeakHeld, beyond what was held then.
void ResetPeakHeld();
std::size_t PeakHeld();

// Makes every request above `bytes` fail as if memory had run out; SIZE_MAX lifts the limit.
void FailAllocationsAbove(std::size_t bytes);

}  // namespace testing_support
