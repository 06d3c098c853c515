// SPDX-License-Identifier: MIT
#include "texture/bmp_reader.h"

#include <bit>
#include <system_error>

#include "app/file_bytes.h"
#include "app/little_endian.h"
#include "texture/large_buffer.h"
#include "texture/pixel_masks.h"

namespace livrano {

namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

// Header fields, with the bounds check a parser asks for before it reads them.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    std::size_t size() const { return m_bytes.size(); }
    bool has(std::size_t offset, std::size_t count) const {
        return offset <= m_bytes.size() && count <= m_bytes.size() - offset;
    }
    std::uint8_t u8(std::size_t offset) const { return m_bytes[offset]; }
    std::uint16_t u16(std::size_t offset) const {
        return static_cast<std::uint16_t>(readLe16(m_bytes, offset));
    }
    std::uint32_t u32(std::size_t offset) const { return readLe32(m_bytes, offset); }
    const std::uint8_t* at(std::size_t offset) const { return m_bytes.data() + offset; }

private:
    std::span<const std::uint8_t> m_bytes;
};

struct Header {
    std::int64_t width = 0;
    std::int64_t height = 0; // positive; topDown tells the row order
    bool topDown = false;
    unsigned bitCount = 0;
    std::uint32_t compression = kRgb;
    std::size_t infoSize = 0; // 12 for OS/2 1.x, whose fields are 16-bit
    std::size_t tableOffset = 0;
    std::size_t tableEntrySize = 4;
    std::size_t tableCount = 0;
    std::size_t pixelOffset = 0;
    PixelMasks masks;
    // Bits that no colour mask uses, above them all, when the header gives no alpha mask: writers
    // of 1555 and 4444 pictures and of 32-bit ones keep alpha there, others leave them 0.
    std::uint32_t spareAlpha = 0;
    bool fs70Block = false;
};

constexpr const char* kTruncated = "it is truncated";
constexpr const char* kDamaged = "its header is damaged";

// Why a header is refused; nullopt when it passes.
using Refusal = std::optional<std::string>;

// The file header and the information header into `h`, with the colour table taken to start right
// after them (and after the masks that follow a 40-byte header).
Refusal readHeaders(const Reader& r, Header& h) {
    if (!r.has(0, 2) || r.u8(0) != 'B' || r.u8(1) != 'M')
        return "it is not a BMP file";
    if (!r.has(0, 18))
        return kTruncated;
    h.pixelOffset = r.u32(10);
    h.infoSize = r.u32(14);
    if (!r.has(14, h.infoSize))
        return kTruncated;
    h.tableOffset = 14 + h.infoSize;
    if (h.infoSize == 12) {
        // OS/2 1.x: unsigned 16-bit sizes, always bottom-up, three-byte colour table entries.
        h.width = r.u16(18);
        h.height = r.u16(20);
        if (r.u16(22) != 1)
            return kDamaged;
        h.bitCount = r.u16(24);
        h.tableEntrySize = 3;
        return std::nullopt;
    }
    if (h.infoSize != 40 && h.infoSize != 52 && h.infoSize != 56 && h.infoSize != 108 && h.infoSize != 124)
        return "its header of " + std::to_string(h.infoSize) + " bytes is not one this reader knows";
    h.width = static_cast<std::int32_t>(r.u32(18));
    const std::int64_t height = static_cast<std::int32_t>(r.u32(22));
    h.topDown = height < 0;
    h.height = height < 0 ? -height : height;
    if (r.u16(26) != 1)
        return kDamaged;
    h.bitCount = r.u16(28);
    h.compression = r.u32(30);
    h.tableCount = r.u32(46);
    if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
        // The masks follow a 40-byte header; longer headers hold them inside.
        if (h.infoSize == 40) {
            const std::size_t count = h.compression == kAlphaBitFields ? 4 : 3;
            if (!r.has(54, count * 4))
                return kTruncated;
            h.tableOffset += count * 4;
        }
        const bool alphaMask = h.compression == kAlphaBitFields || h.infoSize >= 56;
        h.masks = {r.u32(54), r.u32(58), r.u32(62), alphaMask ? r.u32(66) : 0};
    }
    h.fs70Block = hasFs70Block(std::span(r.at(0), r.size()));
    return std::nullopt;
}

bool isIndexed(const Header& h) {
    return h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8;
}

// Whether the depth and the compression go together; fills in the masks an uncompressed depth
// implies.
Refusal checkEncoding(Header& h) {
    const unsigned bpp = h.bitCount;
    const std::string depth = "its depth of " + std::to_string(bpp) + " bits per pixel";
    if ((!isIndexed(h) && bpp != 16 && bpp != 24 && bpp != 32) ||
        (h.infoSize == 12 && (bpp == 16 || bpp == 32)))
        return depth + " is not supported";
    const std::string compression = "its compression (" + std::to_string(h.compression) + ")";
    switch (h.compression) {
    case kRgb:
        break;
    case kRle8:
        if (bpp != 8 || h.topDown)
            return compression + " does not go with " + depth + " or top-down rows";
        break;
    case kRle4:
        if (bpp != 4 || h.topDown)
            return compression + " does not go with " + depth + " or top-down rows";
        break;
    case kBitFields:
    case kAlphaBitFields:
        if (bpp != 16 && bpp != 32)
            return compression + " does not go with " + depth;
        break;
    default:
        return compression + " is not supported";
    }
    if (h.compression == kRgb && bpp == 16)
        h.masks = {0x7C00, 0x03E0, 0x001F, 0};
    if (h.compression == kRgb && (bpp == 24 || bpp == 32))
        h.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
    const std::uint32_t colour = h.masks.red | h.masks.green | h.masks.blue;
    if ((bpp == 16 || bpp == 32) && h.masks.alpha == 0 && colour != 0 && std::bit_width(colour) < bpp)
        h.spareAlpha = static_cast<std::uint32_t>((std::uint64_t{1} << bpp) -
                                                  (std::uint64_t{1} << std::bit_width(colour)));
    return std::nullopt;
}

// Whether the size is within the limits and the pixels lie after the headers and within the
// file; the colour table is cut to what the depth can index and what fits before the pixels.
Refusal checkLayout(const Reader& r, const BmpLimits& limits, Header& h) {
    const std::string size = std::to_string(h.width) + " x " + std::to_string(h.height);
    if (h.width <= 0 || h.height <= 0)
        return "its size " + size + " holds no pixel";
    if (h.width > limits.maxSide || h.height > limits.maxSide || h.width * h.height > limits.maxPixels)
        return "its size " + size + " is too large (at most " + std::to_string(limits.maxSide) +
               " pixels a side and " + std::to_string(limits.maxPixels) + " pixels)";
    if (h.pixelOffset < h.tableOffset || h.pixelOffset > r.size())
        return h.pixelOffset > r.size() ? kTruncated : kDamaged;
    if (!isIndexed(h)) {
        h.tableCount = 0;
        return std::nullopt;
    }
    const std::size_t full = std::size_t{1} << h.bitCount;
    if (h.tableCount == 0 || h.tableCount > full)
        h.tableCount = full;
    // Writers that shorten the table without saying so still put the pixels after it.
    const std::size_t room = (h.pixelOffset - h.tableOffset) / h.tableEntrySize;
    if (h.tableCount > room)
        h.tableCount = room;
    return std::nullopt;
}

// The header, or nullopt with the reason in `why`.
std::optional<Header> parseHeader(const Reader& r, const BmpLimits& limits, std::string& why) {
    Header h;
    Refusal refusal = readHeaders(r, h);
    if (!refusal)
        refusal = checkEncoding(h);
    if (!refusal)
        refusal = checkLayout(r, limits, h);
    if (refusal) {
        why = std::move(*refusal);
        return std::nullopt;
    }
    return h;
}

std::vector<PaletteEntry> readTable(const Reader& r, const Header& h) {
    std::vector<PaletteEntry> table(h.tableCount);
    for (std::size_t i = 0; i < h.tableCount; ++i) {
        const std::size_t at = h.tableOffset + i * h.tableEntrySize;
        table[i] = PaletteEntry{r.u8(at), r.u8(at + 1), r.u8(at + 2), 0};
    }
    return table;
}

std::size_t rowStride(const Header& h) {
    return (static_cast<std::size_t>(h.width) * h.bitCount + 31) / 32 * 4;
}

// The bytes uncompressed pixels need; the final row's padding is often missing, so not counted.
std::size_t uncompressedSize(const Header& h) {
    const std::size_t lastRow = (static_cast<std::size_t>(h.width) * h.bitCount + 7) / 8;
    return rowStride(h) * (static_cast<std::size_t>(h.height) - 1) + lastRow;
}

// One row of 16 or 32-bit pixels through the masks: colour into `dst`, alpha into `alpha` when
// that is given. `spareBits` gathers the spare alpha bits the row sets.
void decodeMaskedRow(const std::uint8_t* src, const Header& h, std::uint8_t* dst, std::uint8_t* alpha,
                     std::uint32_t& spareBits) {
    const std::size_t bytes = h.bitCount / 8;
    const MaskChannel red(h.masks.red), green(h.masks.green), blue(h.masks.blue);
    const MaskChannel alphaChannel(h.masks.alpha | h.spareAlpha);
    for (std::size_t x = 0; x < static_cast<std::size_t>(h.width); ++x) {
        const std::uint32_t v = pixelValue(src + x * bytes, bytes);
        dst[x * 3] = blue(v);
        dst[x * 3 + 1] = green(v);
        dst[x * 3 + 2] = red(v);
        if (alpha != nullptr)
            alpha[x] = alphaChannel(v);
        spareBits |= v & h.spareAlpha;
    }
}

// Precondition: the file holds uncompressedSize(h) bytes from the pixel offset.
bool decodeUncompressed(const Reader& r, const Header& h, Bitmap& out) {
    const std::size_t width = static_cast<std::size_t>(h.width);
    const std::size_t height = static_cast<std::size_t>(h.height);
    const std::size_t stride = rowStride(h);
    if (h.bitCount >= 16 && (h.masks.alpha | h.spareAlpha) != 0)
        out.alpha.resize(width * height);
    std::uint32_t spareBits = 0;
    for (std::size_t fileRow = 0; fileRow < height; ++fileRow) {
        const std::uint8_t* src = r.at(h.pixelOffset + fileRow * stride);
        const std::size_t y = h.topDown ? fileRow : height - 1 - fileRow;
        std::uint8_t* dst = out.row(static_cast<int>(y));
        switch (h.bitCount) {
        case 1:
        case 4:
        case 8: {
            const unsigned bpp = h.bitCount;
            const unsigned perByte = 8 / bpp;
            const unsigned mask = (1u << bpp) - 1;
            for (std::size_t x = 0; x < width; ++x) {
                const unsigned shift = (perByte - 1 - static_cast<unsigned>(x % perByte)) * bpp;
                dst[x] = static_cast<std::uint8_t>((src[x / perByte] >> shift) & mask);
            }
            break;
        }
        case 16:
        case 32:
            decodeMaskedRow(src, h, dst, out.alpha.empty() ? nullptr : out.alpha.data() + y * width,
                            spareBits);
            break;
        default:
            return false;
        }
    }
    // Spare bits that are 0 throughout are a writer that left them alone, not a transparent
    // picture; in the simulator's bitmap they are its alpha whatever they hold.
    if (h.spareAlpha != 0 && spareBits == 0 && !h.fs70Block)
        out.alpha.clear();
    return true;
}

// Run-length encoded pixels, bottom-up. Pixels the stream skips stay index 0; pixels it places
// beyond the right edge or above the top are dropped. The stream must end with its end-of-picture
// mark or with an end-of-line or delta that leaves the top row, else the file is truncated.
bool decodeRle(const Reader& r, const Header& h, Bitmap& out) {
    const bool four = h.compression == kRle4;
    const std::int64_t width = h.width;
    const std::int64_t height = h.height;
    std::int64_t x = 0;
    std::int64_t line = 0; // counted from the bottom
    std::size_t pos = h.pixelOffset;
    auto put = [&](std::uint8_t index) {
        if (x < width && line < height)
            out.row(static_cast<int>(height - 1 - line))[x] = index;
        ++x;
    };
    while (line < height) {
        if (!r.has(pos, 2))
            return false;
        const unsigned count = r.u8(pos);
        const std::uint8_t value = r.u8(pos + 1);
        pos += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i)
                put(four ? static_cast<std::uint8_t>(i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
            continue;
        }
        switch (value) {
        case 0: // end of line
            x = 0;
            ++line;
            break;
        case 1: // end of picture
            return true;
        case 2: // move right and up
            if (!r.has(pos, 2))
                return false;
            x += r.u8(pos);
            line += r.u8(pos + 1);
            pos += 2;
            break;
        default: { // literal pixels, padded to a 16-bit boundary
            const std::size_t bytes = four ? (value + 1u) / 2u : value;
            const std::size_t padded = (bytes + 1) / 2 * 2;
            if (!r.has(pos, padded))
                return false;
            for (unsigned i = 0; i < value; ++i) {
                const std::uint8_t b = r.u8(pos + (four ? i / 2 : i));
                put(four ? static_cast<std::uint8_t>(i % 2 == 0 ? b >> 4 : b & 0x0F) : b);
            }
            pos += padded;
            break;
        }
        }
    }
    return true;
}

// The header of a picture whose pixels can be read: all of an uncompressed picture's are present
// (checked before anything is allocated for them).
std::optional<Header> readableHeader(const Reader& r, const BmpLimits& limits, std::string& why) {
    std::optional<Header> h = parseHeader(r, limits, why);
    const bool compressed = h && (h->compression == kRle8 || h->compression == kRle4);
    if (h && !compressed && !r.has(h->pixelOffset, uncompressedSize(*h))) {
        why = kTruncated;
        return std::nullopt;
    }
    return h;
}

// Whether the file's rows are a Bitmap's rows as they stand: uncompressed 8 and 24-bit pixels.
bool readableInPlace(const Header& h) {
    return h.compression == kRgb && (h.bitCount == 8 || h.bitCount == 24);
}

// The picture where the file holds it. Precondition: readableInPlace, and readableHeader passed.
BitmapView viewInFile(const Reader& r, const Header& h, std::span<const PaletteEntry> palette) {
    const auto stride = static_cast<std::ptrdiff_t>(rowStride(h));
    const std::uint8_t* first = r.at(h.pixelOffset); // the top row of a top-down file, else the bottom
    return BitmapView{static_cast<int>(h.width),        static_cast<int>(h.height),
                      static_cast<int>(h.bitCount / 8), h.topDown ? first : first + (h.height - 1) * stride,
                      h.topDown ? stride : -stride,     palette};
}

// Why a file is refused unread: it is larger than any picture within the limits can be (no such
// picture needs more than four bytes a pixel, as 32-bit rows or the worst run-length stream,
// besides its headers and table), say a film picked by mistake, which is then not pulled whole
// into memory. Null when it may be read; a file without a size is left to the read to say why.
const char* refusedUnread(const std::filesystem::path& path, const BmpLimits& limits) {
    constexpr std::uintmax_t kHeaderRoom = 1 << 20;
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    return !ec && size > static_cast<std::uintmax_t>(limits.maxPixels) * 4 + kHeaderRoom
               ? "it is larger than any picture within the limits"
               : nullptr;
}

} // namespace

bool hasFs70Block(std::span<const std::uint8_t> file) {
    const Reader r(file);
    return r.has(0, 74) && r.u8(0) == 'B' && r.u8(1) == 'M' && r.u32(14) == 40 && r.u32(10) >= 74 &&
           r.u32(30) != kBitFields && r.u32(30) != kAlphaBitFields && r.u8(54) == 'F' && r.u8(55) == 'S' &&
           r.u8(56) == '7' && r.u8(57) == '0' && r.u32(58) == 20;
}

std::optional<Bitmap> decodeBmp(std::span<const std::uint8_t> file, const BmpLimits& limits,
                                std::string* fault, BmpLayout* layout) {
    std::string why;
    const auto refuse = [&](std::string reason) {
        if (fault != nullptr)
            *fault = std::move(reason);
        return std::nullopt;
    };
    const Reader r(file);
    const std::optional<Header> h = readableHeader(r, limits, why);
    if (!h)
        return refuse(why);
    Bitmap out;
    out.width = static_cast<int>(h->width);
    out.height = static_cast<int>(h->height);
    out.bytesPerPixel = isIndexed(*h) ? 1 : 3;
    if (isIndexed(*h))
        out.palette = readTable(r, *h);
    if (readableInPlace(*h)) {
        // The file's rows are the picture's bytes: appended in the picture's order, they are
        // copied once and never cleared first.
        const BitmapView rows = viewInFile(r, *h, out.palette);
        out.pixels = largeBuffer(out.rowBytes() * static_cast<std::size_t>(out.height));
        for (int y = 0; y < out.height; ++y)
            out.pixels.insert(out.pixels.end(), rows.row(y), rows.row(y) + out.rowBytes());
        if (layout != nullptr)
            *layout = BmpLayout{h->bitCount, false, h->fs70Block, h->masks};
        return out;
    }
    out.pixels.assign(out.rowBytes() * static_cast<std::size_t>(out.height), 0);
    const bool compressed = h->compression == kRle8 || h->compression == kRle4;
    const bool ok = compressed ? decodeRle(r, *h, out) : decodeUncompressed(r, *h, out);
    if (!ok)
        return refuse("its run-length pixel data is damaged or cut short");
    if (layout != nullptr) {
        const bool alpha = !out.alpha.empty();
        *layout = BmpLayout{h->bitCount, compressed, h->fs70Block, h->masks};
        layout->masks.alpha = alpha ? h->masks.alpha | h->spareAlpha : 0;
    }
    return out;
}

std::optional<Bitmap> readBmpFile(const std::filesystem::path& path, const BmpLimits& limits,
                                  std::string* fault) {
    if (const char* refused = refusedUnread(path, limits)) {
        if (fault != nullptr)
            *fault = refused;
        return std::nullopt;
    }
    std::optional<Bitmap> picture;
    const Status read = withFileBytes(
        path, [&](std::span<const std::uint8_t> bytes) { picture = decodeBmp(bytes, limits, fault); });
    if (!read && fault != nullptr)
        *fault = read.message();
    return picture;
}

bool withBmpFile(const std::filesystem::path& path, const std::function<void(const BitmapView&)>& use,
                 const BmpLimits& limits, std::string* fault) {
    if (const char* refused = refusedUnread(path, limits)) {
        if (fault != nullptr)
            *fault = refused;
        return false;
    }
    bool used = false;
    const Status read = withFileBytes(path, [&](std::span<const std::uint8_t> bytes) {
        const Reader r(bytes);
        std::string why;
        const std::optional<Header> h = readableHeader(r, limits, why);
        if (h && readableInPlace(*h)) {
            const std::vector<PaletteEntry> palette = readTable(r, *h);
            use(viewInFile(r, *h, palette));
            used = true;
        } else if (const std::optional<Bitmap> picture = decodeBmp(bytes, limits, fault)) {
            use(viewOf(*picture));
            used = true;
        }
    });
    if (!read && fault != nullptr)
        *fault = read.message();
    return used;
}

} // namespace livrano
