// SPDX-License-Identifier: MIT
#pragma once
// Room for a picture's bytes. A fresh allocation of many megabytes costs one page fault per 4 KiB
// touched, and on a virtual machine each fault costs more than the copying it serves; asking
// for large pages makes that a few faults per megabyte-sized picture.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace livrano {

// An empty vector whose capacity is at least `bytes`, its memory marked for large pages where the
// system offers them (a hint: without them it is an ordinary reservation). Fill it by appending
// or resizing up to `bytes`; it must not reallocate.
std::vector<std::uint8_t> largeBuffer(std::size_t bytes);

} // namespace livrano
