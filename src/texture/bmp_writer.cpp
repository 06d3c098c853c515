// SPDX-License-Identifier: MIT
#include "texture/bmp_writer.h"

#include <cassert>
#include <cstring>

#include "app/little_endian.h"
#include "texture/large_buffer.h"

namespace livrano {

namespace {

// Both headers; the pixel rows start at dataOffset.
std::vector<std::uint8_t> headers(int width, int height, int bitCount, std::size_t dataOffset,
                                  std::size_t rowStride) {
    const std::size_t size = dataOffset + rowStride * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> out = largeBuffer(size);
    out.resize(size);
    out[0] = 'B';
    out[1] = 'M';
    putLe32(out, 2, static_cast<std::uint32_t>(size));
    putLe32(out, 10, static_cast<std::uint32_t>(dataOffset));
    putLe32(out, 14, 40);
    putLe32(out, 18, static_cast<std::uint32_t>(width));
    putLe32(out, 22, static_cast<std::uint32_t>(height));
    putLe16(out, 26, 1);
    putLe16(out, 28, static_cast<std::uint32_t>(bitCount));
    return out;
}

std::size_t paddedStride(std::size_t rowBytes) {
    return (rowBytes + 3) / 4 * 4;
}

// Copies top-down rows of rowBytes into the file's bottom-up, padded rows.
void putRows(std::vector<std::uint8_t>& out, std::size_t dataOffset, const std::uint8_t* rows,
             std::size_t rowBytes, int height) {
    const std::size_t stride = paddedStride(rowBytes);
    for (int y = 0; y < height; ++y) {
        const std::size_t fileRow = static_cast<std::size_t>(height - 1 - y);
        if (rowBytes > 0)
            std::memcpy(out.data() + dataOffset + fileRow * stride,
                        rows + static_cast<std::size_t>(y) * rowBytes, rowBytes);
    }
}

} // namespace

std::vector<std::uint8_t> encodeBmp24(int width, int height, const BmpRows& rows) {
    assert(width >= 1 && height >= 1);
    const std::size_t stride = paddedStride(std::size_t(width) * 3);
    auto out = headers(width, height, 24, 54, stride);
    for (int y = 0; y < height; ++y)
        rows(y, out.data() + 54 + std::size_t(height - 1 - y) * stride);
    return out;
}

std::vector<std::uint8_t> encodeBmp8(int width, int height, std::span<const PaletteEntry> table,
                                     const BmpRows& rows) {
    assert(width >= 1 && height >= 1);
    const std::size_t stride = paddedStride(std::size_t(width));
    auto out = headers(width, height, 8, 1078, stride);
    for (std::size_t i = 0; i < 256 && i < table.size(); ++i) {
        out[54 + i * 4] = table[i].blue;
        out[54 + i * 4 + 1] = table[i].green;
        out[54 + i * 4 + 2] = table[i].red;
    }
    for (int y = 0; y < height; ++y)
        rows(y, out.data() + 1078 + std::size_t(height - 1 - y) * stride);
    return out;
}

std::vector<std::uint8_t> encodeBmp24(const Bitmap& colour) {
    assert(colour.bytesPerPixel == 3 &&
           colour.pixels.size() == colour.rowBytes() * std::size_t(colour.height));
    const std::size_t rowBytes = colour.rowBytes();
    auto out = headers(colour.width, colour.height, 24, 54, paddedStride(rowBytes));
    putRows(out, 54, colour.pixels.data(), rowBytes, colour.height);
    return out;
}

std::vector<std::uint8_t> encodeBmp8(const Bitmap& indexed, std::span<const PaletteEntry> table) {
    assert(indexed.bytesPerPixel == 1 &&
           indexed.pixels.size() == indexed.rowBytes() * std::size_t(indexed.height));
    const std::size_t rowBytes = indexed.rowBytes();
    auto out = headers(indexed.width, indexed.height, 8, 1078, paddedStride(rowBytes));
    for (std::size_t i = 0; i < 256 && i < table.size(); ++i) {
        out[54 + i * 4] = table[i].blue;
        out[54 + i * 4 + 1] = table[i].green;
        out[54 + i * 4 + 2] = table[i].red;
    }
    putRows(out, 1078, indexed.pixels.data(), rowBytes, indexed.height);
    return out;
}

std::vector<std::uint8_t> encodeBmp32(int width, int height, std::span<const std::uint8_t> rgba) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    auto out = headers(width, height, 32, 54, rowBytes);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = rgba.data() + static_cast<std::size_t>(y) * rowBytes;
        std::uint8_t* dst = out.data() + 54 + static_cast<std::size_t>(height - 1 - y) * rowBytes;
        for (std::size_t x = 0; x < rowBytes; x += 4) {
            dst[x] = src[x + 2];
            dst[x + 1] = src[x + 1];
            dst[x + 2] = src[x];
            dst[x + 3] = src[x + 3];
        }
    }
    return out;
}

} // namespace livrano
