// SPDX-License-Identifier: MIT
#pragma once
// One StretchBlt case as a line of text, shared by the Windows side and the host side:
//
//   bytesPerPixel srcWidth srcHeight dstWidth dstHeight dx dy dw dh sx sy sw sh srcHex dstHex [expectedHex]
//
// Pixels are hex bytes, rows top-down without padding; dstHex is what the destination holds
// before the call. Blank lines and lines starting with # hold no case.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

struct StretchCase {
    int bpp = 0, srcW = 0, srcH = 0, dstW = 0, dstH = 0;
    int dx = 0, dy = 0, dw = 0, dh = 0, sx = 0, sy = 0, sw = 0, sh = 0;
    std::string srcHex, dstHex, expectedHex;
};

inline bool holdsCase(const std::string& line) {
    return !line.empty() && line[0] != '#' && line[0] != '\r';
}

inline std::optional<StretchCase> parseCase(const std::string& line) {
    std::istringstream in(line);
    StretchCase c;
    if (!(in >> c.bpp >> c.srcW >> c.srcH >> c.dstW >> c.dstH >> c.dx >> c.dy >> c.dw >> c.dh >> c.sx >>
          c.sy >> c.sw >> c.sh >> c.srcHex >> c.dstHex))
        return std::nullopt;
    in >> c.expectedHex;
    return c;
}

inline std::string toHex(const std::uint8_t* bytes, std::size_t count) {
    std::string out;
    char buf[3];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(buf, sizeof buf, "%02x", bytes[i]);
        out += buf;
    }
    return out;
}

inline std::vector<std::uint8_t> fromHex(const std::string& text) {
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    return out;
}
