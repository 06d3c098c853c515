// SPDX-License-Identifier: MIT
#include "texture/guide_picture.h"

#include <algorithm>
#include <cassert>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <string_view>

#include <png.h>

namespace livrano {
namespace {

// What a box draws, worked out once: the rows then only fill spans.
struct BoxPlan {
    PixelRect box;
    GuideBoxLook look;
    std::string_view name;
};

// Sets pixels from .. to - 1 of a row `width` pixels wide to `colour`, those inside the row.
void fill(std::uint8_t* row, int width, int from, int to, Rgba8 colour) {
    const int left = std::max(from, 0), right = std::min(to, width);
    for (int x = left; x < right; ++x) {
        std::uint8_t* pixel = row + std::size_t(x) * 4;
        pixel[0] = colour.red;
        pixel[1] = colour.green;
        pixel[2] = colour.blue;
        pixel[3] = colour.alpha;
    }
}

// Row y of the guide, `width` pixels, into `row`.
void drawRow(const std::vector<BoxPlan>& plans, int width, int y, std::uint8_t* row) {
    std::memset(row, 0, std::size_t(width) * 4);
    for (const BoxPlan& plan : plans) {
        const PixelRect &box = plan.box, &interior = plan.look.interior, &backing = plan.look.backing;
        if (y < box.top || y >= box.bottom)
            continue;
        if (y < interior.top || y >= interior.bottom) {
            fill(row, width, box.left, box.right, kGuideOutline);
            continue;
        }
        fill(row, width, box.left, interior.left, kGuideOutline);
        fill(row, width, interior.right, box.right, kGuideOutline);
        if (y < backing.top || y >= backing.bottom)
            continue;
        fill(row, width, backing.left, backing.right, kGuideBacking);
        const int scale = plan.look.scale;
        drawText(RgbaRows{row, width, y, 1}, backing, backing.left + scale, backing.top + scale, plan.name,
                 scale, kGuideLettering);
    }
}

// What libpng said: its failure, and the last warning before it, which often says more ("Image
// width exceeds user limit" before "Invalid IHDR data").
struct PngFailure {
    char reason[200] = {};
    char warning[200] = {};
};

// libpng reports a failure by calling this, which must not return: it keeps the reason and jumps
// back to the setjmp in writeRows.
[[noreturn]] void onPngError(png_structp png, png_const_charp message) {
    auto* failure = static_cast<PngFailure*>(png_get_error_ptr(png));
    std::snprintf(failure->reason, sizeof failure->reason, "%s", message);
    png_longjmp(png, 1);
}

// Nothing is printed from the core: a warning is kept for the failure that may follow it.
void onPngWarning(png_structp png, png_const_charp message) {
    auto* failure = static_cast<PngFailure*>(png_get_error_ptr(png));
    std::snprintf(failure->warning, sizeof failure->warning, "%s", message);
}

// The jump out of libpng must not pass a C++ object's destructor: the allocation that may fail is
// over before png_error jumps.
void onPngWrite(png_structp png, png_bytep data, std::size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    bool grown = true;
    try {
        out->insert(out->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        grown = false;
    }
    if (!grown)
        png_error(png, "there is not enough memory for the picture's bytes");
}

void onPngFlush(png_structp) {}

// Writes the guide's header, rows and end through `png`; false when libpng failed (the reason is
// in its error pointer). Only plain values live in this frame, so the jump back to it is safe.
bool writeRows(png_structp png, png_infop info, std::vector<std::uint8_t>* out,
               const std::vector<BoxPlan>& plans, int width, int height, int zlibLevel, std::uint8_t* row) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, out, onPngWrite, onPngFlush);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, zlibLevel);
    // Mostly empty rows and straight lines: "up" makes a row like the one above it all zeros.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        drawRow(plans, width, y, row);
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    return true;
}

} // namespace

GuideBoxLook guideBoxLook(const GuideBox& box) {
    GuideBoxLook look;
    look.outline = std::min(box.width, box.height) >= 8 ? 2 : 1;
    look.scale = std::clamp(box.width / 256, 1, 8);
    const int left = box.x + look.outline, top = box.y + look.outline;
    look.interior = {left, top, std::max(left, box.x + box.width - look.outline),
                     std::max(top, box.y + box.height - look.outline)};
    if (!box.name.empty()) {
        const std::int64_t textRight = left + 2 * std::int64_t(look.scale) + textWidth(box.name, look.scale);
        look.backing = {left, top, int(std::min<std::int64_t>(textRight, look.interior.right)),
                        std::min(top + (kGlyphHeight + 2) * look.scale, look.interior.bottom)};
    }
    return look;
}

Status encodeGuidePng(int width, int height, const std::vector<GuideBox>& boxes, int zlibLevel,
                      std::vector<std::uint8_t>& png) {
    assert(width >= 1 && height >= 1 && zlibLevel >= 0 && zlibLevel <= 9);
    png.clear();
    std::vector<BoxPlan> plans;
    for (const GuideBox& box : boxes)
        if (box.width >= 1 && box.height >= 1)
            plans.push_back(
                {{box.x, box.y, box.x + box.width, box.y + box.height}, guideBoxLook(box), box.name});
    std::vector<std::uint8_t> row(std::size_t(width) * 4);

    PngFailure failure;
    png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, &failure, onPngError, onPngWarning);
    png_infop info = writer ? png_create_info_struct(writer) : nullptr;
    bool written = false;
    if (info)
        written = writeRows(writer, info, &png, plans, width, height, zlibLevel, row.data());
    else
        std::snprintf(failure.reason, sizeof failure.reason, "libpng could not start");
    png_destroy_write_struct(&writer, &info);
    if (written)
        return Status::Ok();
    png.clear();
    png.shrink_to_fit();
    std::string reason = failure.reason;
    if (failure.warning[0] != '\0')
        reason += std::string(" (") + failure.warning + ")";
    return Status::Error("The guide picture could not be made: " + reason + ".");
}

} // namespace livrano
