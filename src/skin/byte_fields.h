// SPDX-License-Identifier: MIT
#pragma once
// Little-endian integer fields of the binary files the skin writes and reads (region data,
// cursors, sounds). Readers need `at` plus the field's width to lie inside the data.

#include <QByteArray>

#include <cstdint>

namespace livrano {

inline void appendLe16(QByteArray& out, std::uint32_t value) {
    out.append(static_cast<char>(value & 0xFFu));
    out.append(static_cast<char>((value >> 8) & 0xFFu));
}

inline void appendLe32(QByteArray& out, std::uint32_t value) {
    appendLe16(out, value & 0xFFFFu);
    appendLe16(out, value >> 16);
}

inline std::uint32_t readLe16(const QByteArray& data, qsizetype at) {
    return static_cast<std::uint8_t>(data[at]) |
           (std::uint32_t{static_cast<std::uint8_t>(data[at + 1])} << 8);
}

inline std::uint32_t readLe32(const QByteArray& data, qsizetype at) {
    return readLe16(data, at) | (readLe16(data, at + 2) << 16);
}

} // namespace livrano
