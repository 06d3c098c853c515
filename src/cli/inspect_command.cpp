// livrano-cli inspect: says what a texture file holds and can turn it back into an ordinary
// bitmap, so a painter can look at a result without the simulator.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/exit_status.h"
#include "cli/output_file.h"
#include "texture/bmp_reader.h"
#include "texture/bmp_writer.h"
#include "texture/byte_files.h"
#include "texture/texture_file.h"

namespace livrano::cli {

namespace {

int fail(const std::string& message, int status) {
    std::fprintf(stderr, "livrano-cli inspect: %s\n", message.c_str());
    return status;
}

int runInspect(const std::vector<std::string>& args) {
    std::string file;
    std::string toBmp;
    bool force = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--to-bmp") {
            if (i + 1 >= args.size())
                return fail("--to-bmp needs a file name", kUnusableInput);
            toBmp = args[++i];
        } else if (args[i] == "--force") {
            force = true;
        } else if (args[i].starts_with("--")) {
            return fail("unknown option \"" + args[i] + "\"", kUnusableInput);
        } else if (file.empty()) {
            file = args[i];
        } else {
            return fail("expected one FILE", kUnusableInput);
        }
    }
    if (file.empty())
        return fail("expected FILE", kUnusableInput);
    if (!toBmp.empty()) {
        if (const auto refused = outputRefusal(toBmp, {file}, force))
            return fail(*refused, kUnusableInput);
    }
    const auto bytes = readByteFile(file);
    if (!bytes)
        return fail("cannot read " + file, kUnusableInput);

    std::vector<std::uint8_t> picture;
    DecodedTexture texture;
    const Status decoded = decodeTexture(*bytes, texture);
    if (decoded) {
        std::printf("Container: %s\nFormat: %s\nSize: %d x %d\nMip levels: %d\n",
                    describe(texture.container).c_str(), describe(texture.format).c_str(),
                    texture.image.width, texture.image.height, texture.levels);
        if (!toBmp.empty())
            picture = encodeBmp32(texture.image.width, texture.image.height, texture.image.rgba);
    } else if (const std::optional<Bitmap> plain = decodeBmp(*bytes)) {
        // An intermediate bitmap or a template: worth describing too.
        std::printf("Container: ordinary BMP\nFormat: %s\nSize: %d x %d\nMip levels: 1\n",
                    plain->bytesPerPixel == 1 ? "palettised" : "colour", plain->width, plain->height);
        if (!toBmp.empty())
            picture = encodeBmp24(toColour(*plain));
    } else {
        return fail(file + ": " + decoded.message(), exitStatus(decoded));
    }
    if (!toBmp.empty()) {
        if (!writeByteFile(toBmp, picture))
            return fail("cannot write " + toBmp, kFailed);
        std::printf("Wrote %s\n", toBmp.c_str());
    }
    return kDone;
}

const CommandRegistration kInspect{Command{"inspect", "FILE [--to-bmp OUT [--force]]",
                                           "describes a texture file and can decode it to an ordinary BMP",
                                           runInspect}};

} // namespace
} // namespace livrano::cli
