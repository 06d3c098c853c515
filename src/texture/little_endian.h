// SPDX-License-Identifier: MIT
#pragma once
// Little-endian fields of the BMP, simulator-bitmap and DDS headers. Callers have sized the
// buffer: `at` plus the field's width lies inside it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace livrano {

inline void put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline std::uint32_t get16(std::span<const std::uint8_t> in, std::size_t at) {
    return static_cast<std::uint32_t>(in[at] | (in[at + 1] << 8));
}

inline std::uint32_t get32(std::span<const std::uint8_t> in, std::size_t at) {
    return get16(in, at) | (get16(in, at + 2) << 16);
}

} // namespace livrano
