// SPDX-License-Identifier: MIT
// Zip archives: what goes in comes out, and the limits count the bytes that really come out.

#include <gtest/gtest.h>

#include "output/zip_archive.h"

namespace livrano {
namespace {

TEST(ZipReader, ReadsBackWhatWasPackedWithinTheLimits) {
    const std::string plain(3000, 'a');
    std::string zip;
    ASSERT_TRUE(makeZip({{"a.bin", plain}, {"Café/b.bin", "b"}}, zip));
    const std::uint64_t big = 1 << 20;
    const struct {
        ZipLimits limits;
        bool opens;
    } cases[] = {
        {{}, true},
        {{1, big, 200, 0}, false},   // too many entries
        {{2, 3000, 200, 0}, false},  // one byte too many inflated
        {{2, 3001, 200, big}, true}, // the ratio beyond 200, below the grace
        {{2, big, 2, 0}, false},     // the ratio counts without a grace
        {{2, big, 2, 3000}, false},  // and once the grace is passed
    };
    for (const auto& c : cases) {
        ZipReader reader;
        const Status opened = reader.open(zip, c.limits);
        EXPECT_EQ(opened.ok(), c.opens) << opened.message();
        if (!opened)
            continue;
        ASSERT_EQ(reader.entries().size(), 2u);
        EXPECT_EQ(reader.entries()[1].name, "Café/b.bin");
        std::string bytes;
        ASSERT_TRUE(reader.read(0, bytes));
        EXPECT_EQ(bytes, plain);
    }
}

} // namespace
} // namespace livrano
