// SPDX-License-Identifier: MIT
// livrano-cli convert: the texture converter on its own, for painters who want to check or
// redo one texture without a build.

#include <cstdio>
#include <memory>
#include <string>

#include "cli/command.h"
#include "cli/exit_status.h"
#include "cli/output_file.h"
#include "cli/terminal_text.h"
#include "output/build_lock.h"
#include "texture/texture_converter.h"

namespace livrano::cli {

namespace {

int fail(const std::string& message, int status) {
    say(stderr, "livrano-cli convert: %s\n", message.c_str());
    return status;
}

struct Options {
    std::string colour, alpha, out;
    std::string format = "dxt3";
    bool mips = false;
    bool dds = false;
    bool force = false;
};

int run(const Options& o) {
    TextureOptions options;
    options.format = o.format == "argb32" ? TextureFormat::Argb32 : TextureFormat::Dxt3;
    options.mipmaps = o.mips;
    const TextureContainer container = o.dds ? TextureContainer::Dds : TextureContainer::FsBitmap;
    if (const auto refused = outputRefusal(o.out, {o.colour, o.alpha}, o.force))
        return fail(*refused, kUnusableInput);
    // An output in a program or aircraft folder is not replaced under a build there.
    BuildLock lock;
    if (Status s = lock.acquireForFile(o.out); !s)
        return fail(s.text(), exitStatus(s));
    if (Status s = convertTexture(o.colour, o.alpha, o.out, container, options); !s)
        return fail(s.text(), exitStatus(s));
    say(stdout, "Wrote %s: %s, %s%s\n", o.out.c_str(), describe(container).c_str(),
        describe(options.format).c_str(), options.mipmaps ? ", with mipmaps" : "");
    return kDone;
}

} // namespace

CommandRun defineConvertCommand(CLI::App& command) {
    const auto o = std::make_shared<Options>();
    command.add_option("COLOUR", o->colour, "the colour bitmap")->required()->type_name("COLOUR.bmp");
    command.add_option("ALPHA", o->alpha, "the alpha bitmap")->required()->type_name("ALPHA.bmp");
    command.add_option("OUT", o->out, "the texture to write")->required();
    command.add_option("--format", o->format, "the texture format")
        ->check(CLI::IsMember({"dxt3", "argb32"}))
        ->capture_default_str();
    command.add_flag("--mips", o->mips, "add mipmaps (default: one level)");
    command.add_flag("--dds", o->dds, "write a DDS file (default: a simulator bitmap with its FS70 block)");
    command.add_flag("--force", o->force, "replace an existing OUT (default: refuse to)");
    command.footer("Exit status:\n"
                   "  0  written\n"
                   "  1  OUT cannot be written\n"
                   "  2  usage, an input that cannot be read or converted, or an OUT that must not be\n"
                   "     replaced\n"
                   "  3  a build is at work in the program or aircraft folder OUT lies in\n");
    return [o] { return run(*o); };
}

} // namespace livrano::cli
