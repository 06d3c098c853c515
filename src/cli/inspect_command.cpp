// SPDX-License-Identifier: MIT
// livrano-cli inspect: says what a texture file holds and can turn it back into an ordinary
// bitmap, so a painter can look at a result without the simulator.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/file_bytes.h"
#include "cli/command.h"
#include "cli/exit_status.h"
#include "cli/output_file.h"
#include "cli/terminal_text.h"
#include "texture/bmp_reader.h"
#include "texture/bmp_writer.h"
#include "texture/texture_file.h"

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
    std::optional<Bitmap> plain;
    const bool read = withFileBytes(file, [&](std::span<const std::uint8_t> bytes) {
        decoded = decodeTexture(bytes, texture);
        if (!decoded)
            plain = decodeBmp(bytes);
    });
    if (!read)
        return fail("cannot read " + file, kUnusableInput);

    std::vector<std::uint8_t> picture;
    if (decoded) {
        say(stdout, "Container: %s\nFormat: %s\nSize: %d x %d\nMip levels: %d\n",
            describe(texture.container).c_str(), describe(texture.format).c_str(), texture.image.width,
            texture.image.height, texture.levels);
        if (!toBmp.empty())
            picture = encodeBmp32(texture.image.width, texture.image.height, texture.image.rgba);
    } else if (plain) {
        // An intermediate bitmap or a template: worth describing too.
        say(stdout, "Container: ordinary BMP\nFormat: %s\nSize: %d x %d\nMip levels: 1\n",
            plain->bytesPerPixel == 1 ? "palettised" : "colour", plain->width, plain->height);
        if (!toBmp.empty())
            picture = encodeBmp24(toColour(*plain));
    } else {
        return fail(file + ": " + decoded.text(), exitStatus(decoded));
    }
    if (!toBmp.empty()) {
        if (!replaceFileBytes(toBmp, picture))
            return fail("cannot write " + toBmp, kFailed);
        say(stdout, "Wrote %s\n", toBmp.c_str());
    }
    return kDone;
}

} // namespace

CommandRun defineInspectCommand(CLI::App& command) {
    const auto o = std::make_shared<Options>();
    command.add_option("FILE", o->file, "a texture (simulator bitmap or DDS) or an ordinary BMP")->required();
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
