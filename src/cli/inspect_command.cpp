// SPDX-License-Identifier: MIT
// livrano-cli inspect: says what a texture file holds and can turn it back into an ordinary
// bitmap, so a painter can look at a result, or at an aircraft's own textures, without the
// simulator.

#include <cstdio>
#include <memory>
#include <string>

#include "app/file_bytes.h"
#include "cli/command.h"
#include "cli/exit_status.h"
#include "cli/output_file.h"
#include "cli/terminal_text.h"
#include "texture/bmp_writer.h"
#include "texture/texture_reader.h"

namespace livrano::cli {

namespace {

int fail(const std::string& message, int status) {
    say(stderr, "livrano-cli inspect: %s\n", message.c_str());
    return status;
}

struct Options {
    std::string file;
    std::string toBmp;
    bool force = false;
};

int run(const Options& o) {
    const std::string& file = o.file;
    const std::string& toBmp = o.toBmp;
    if (!toBmp.empty()) {
        if (const auto refused = outputRefusal(toBmp, {file}, o.force))
            return fail(*refused, kUnusableInput);
    }
    DecodedTexture texture;
    Status decoded = Status::Ok();
    if (const Status read = withFileBytes(
            file, [&](std::span<const std::uint8_t> bytes) { decoded = decodeTexture(bytes, texture); });
        !read)
        return fail("cannot read " + file + ": " + read.message(), kUnusableInput);
    // What the header told is worth saying even when the pixels cannot be read.
    if (texture.width > 0)
        say(stdout, "Container: %s\nFormat: %s\nSize: %d x %d\nMip levels: %d\n",
            describeContainer(texture).c_str(), texture.format.c_str(), texture.width, texture.height,
            texture.levels);
    if (!decoded)
        return fail(file + ": " + decoded.text(), exitStatus(decoded));
    say(stdout, "Decoded: yes, %s\n", usesAlpha(texture.image) ? "with alpha" : "opaque");
    const RgbaImage& image = texture.image;
    if (!toBmp.empty()) {
        if (!replaceFileBytes(toBmp, encodeBmp32(image.width, image.height, image.rgba)))
            return fail("cannot write " + toBmp, kFailed);
        say(stdout, "Wrote %s\n", toBmp.c_str());
    }
    return kDone;
}

} // namespace

CommandRun defineInspectCommand(CLI::App& command) {
    const auto o = std::make_shared<Options>();
    command
        .add_option("FILE", o->file,
                    "a texture: BMP (DXT1/3/5 or uncompressed, with or without FS70 block) or DDS")
        ->required();
    command
        .add_option("--to-bmp", o->toBmp, "also decode it into this ordinary BMP (default: describe only)")
        ->type_name("OUT");
    command.add_flag("--force", o->force, "replace an existing --to-bmp file (default: refuse to)");
    command.footer("Exit status:\n"
                   "  0  described (and decoded)\n"
                   "  1  OUT cannot be written\n"
                   "  2  usage, FILE cannot be read or decoded, or an OUT that must not be replaced\n");
    return [o] { return run(*o); };
}

} // namespace livrano::cli
