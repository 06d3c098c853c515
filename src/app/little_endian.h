// SPDX-License-Identifier: MIT
#pragma once
// Little-endian integer fields of the binary files the program reads and writes: bitmaps,
// simulator textures, DDS files, cursors, region data, sounds. `Bytes` is anything indexed by
// byte position (a std::vector or std::span of std::uint8_t, a byte pointer, a QByteArray). The
// readers and put* need `at` plus the field's width to lie inside the bytes.

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace livrano {

template <class Bytes> std::uint32_t readLe16(const Bytes& in, std::size_t at) {
    return std::uint32_t{static_cast<std::uint8_t>(in[at])} |
           (std::uint32_t{static_cast<std::uint8_t>(in[at + 1])} << 8);
}

template <class Bytes> std::uint32_t readLe32(const Bytes& in, std::size_t at) {
    return readLe16(in, at) | (readLe16(in, at + 2) << 16);
}

template <class Bytes> void putLe16(Bytes& out, std::size_t at, std::uint32_t value) {
    using Byte = std::remove_reference_t<decltype(out[at])>;
    out[at] = static_cast<Byte>(value & 0xFFu);
    out[at + 1] = static_cast<Byte>((value >> 8) & 0xFFu);
}

template <class Bytes> void putLe32(Bytes& out, std::size_t at, std::uint32_t value) {
    putLe16(out, at, value & 0xFFFFu);
    putLe16(out, at + 2, value >> 16);
}

template <class Bytes> void appendLe16(Bytes& out, std::uint32_t value) {
    using Byte = typename Bytes::value_type;
    out.push_back(static_cast<Byte>(value & 0xFFu));
    out.push_back(static_cast<Byte>((value >> 8) & 0xFFu));
}

template <class Bytes> void appendLe32(Bytes& out, std::uint32_t value) {
    appendLe16(out, value & 0xFFFFu);
    appendLe16(out, value >> 16);
}

} // namespace livrano
