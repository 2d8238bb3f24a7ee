// The largest single allocation made through operator new, so that tests can tell that a decoder
// refused a hostile size before it allocated the picture, not after.
#pragma once

#include <cstddef>

namespace testing_support {

void ResetLargestAllocation();
std::size_t LargestAllocation();

}  // namespace testing_support
