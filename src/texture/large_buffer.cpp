// SPDX-License-Identifier: MIT
#include "texture/large_buffer.h"

#include <sys/mman.h>

namespace livrano {

std::vector<std::uint8_t> largeBuffer(std::size_t bytes) {
    std::vector<std::uint8_t> buffer;
    buffer.reserve(bytes);
#ifdef MADV_HUGEPAGE
    // Only whole large pages inside the buffer can be given; small buffers have none.
    constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(buffer.data());
    const std::uintptr_t first = (start + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t end = (start + bytes) & ~(kLargePage - 1);
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#endif
    return buffer;
}

} // namespace livrano
