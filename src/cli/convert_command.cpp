// livrano-cli convert: the texture converter on its own, for painters who want to check or
// redo one texture without a build.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/exit_status.h"
#include "cli/output_file.h"
#include "texture/texture_converter.h"

namespace livrano::cli {

namespace {

int fail(const std::string& message, int status) {
    std::fprintf(stderr, "livrano-cli convert: %s\n", message.c_str());
    return status;
}

int runConvert(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    TextureOptions options;
    TextureContainer container = TextureContainer::FsBitmap;
    bool force = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--format") {
            if (i + 1 >= args.size())
                return fail("--format needs dxt3 or argb32", kUnusableInput);
            const std::string& f = args[++i];
            if (f == "dxt3")
                options.format = TextureFormat::Dxt3;
            else if (f == "argb32")
                options.format = TextureFormat::Argb32;
            else
                return fail("unknown format \"" + f + "\" (use dxt3 or argb32)", kUnusableInput);
        } else if (a == "--mips") {
            options.mipmaps = true;
        } else if (a == "--dds") {
            container = TextureContainer::Dds;
        } else if (a == "--force") {
            force = true;
        } else if (a.starts_with("--")) {
            return fail("unknown option \"" + a + "\"", kUnusableInput);
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 3)
        return fail("expected COLOUR.bmp ALPHA.bmp OUT", kUnusableInput);
    if (const auto refused = outputRefusal(files[2], {files[0], files[1]}, force))
        return fail(*refused, kUnusableInput);
    if (Status s = convertTexture(files[0], files[1], files[2], container, options); !s)
        return fail(s.message(), exitStatus(s));
    std::printf("Wrote %s: %s, %s%s\n", files[2].c_str(), describe(container).c_str(),
                describe(options.format).c_str(), options.mipmaps ? ", with mipmaps" : "");
    return kDone;
}

const CommandRegistration kConvert{Command{
    "convert", "COLOUR.bmp ALPHA.bmp OUT [--format dxt3|argb32] [--mips] [--dds] [--force]",
    "turns a colour and an alpha bitmap into a simulator texture (DXT3 unless told otherwise)", runConvert}};

} // namespace
} // namespace livrano::cli
