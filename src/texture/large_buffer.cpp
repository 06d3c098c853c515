// SPDX-License-Identifier: MIT
#include "texture/large_buffer.h"

#include <sys/mman.h>
#include <unistd.h>

namespace livrano {

namespace {

// Linux's synchronous collapse of small pages into a large one (since 6.1); glibc's headers
// before 2.37 do not name it, and an older kernel refuses it, which costs nothing.
#ifdef MADV_COLLAPSE
constexpr int kCollapse = MADV_COLLAPSE;
#else
constexpr int kCollapse = 25;
#endif

} // namespace

std::vector<std::uint8_t> largeBuffer(std::size_t bytes) {
    std::vector<std::uint8_t> buffer;
#ifdef MADV_HUGEPAGE
    constexpr std::size_t kLargePage = std::size_t{2} << 20;
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    if (bytes < kLargePage) {
        buffer.reserve(bytes);
        return buffer;
    }
    // A large page is only used where the whole of its aligned 2 MiB lies in the mapping. Asking
    // for whole large pages less one small page has the allocator map exactly whole large pages
    // (its own header fits in that small page), which Linux places on a large-page boundary: then
    // every page of the buffer can be large, not only those inside an unaligned mapping, whose
    // two ends would cost a fault per 4 KiB.
    buffer.reserve((bytes + page + kLargePage - 1) / kLargePage * kLargePage - page);
    const auto start = reinterpret_cast<std::uintptr_t>(buffer.data()) & ~(page - 1);
    const auto end = reinterpret_cast<std::uintptr_t>(buffer.data() + buffer.capacity());
    // NOLINTNEXTLINE(performance-no-int-to-ptr): madvise takes the page's address, rounded as an integer
    void* const first = reinterpret_cast<void*>(start);
    madvise(first, end - start, MADV_HUGEPAGE);
    // The allocator wrote its header into the first small page before the advice: that large
    // page would stay 512 small ones. Collapsing it now costs one fault's work, not 511.
    madvise(first, kLargePage, kCollapse);
#else
    buffer.reserve(bytes);
#endif
    return buffer;
}

} // namespace livrano
