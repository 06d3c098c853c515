// SPDX-License-Identifier: MIT
// livrano-cli config: the aircraft maker's tools for configuration files. Encipher a plain
// configuration for shipping, decipher one to edit it, and show how the program reads one
// together with the faults that would spoil a build.

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "aircraft/aircraft_spec_checks.h"
#include "aircraft/aircraft_spec_loader.h"
#include "aircraft/cipher.h"
#include "aircraft/configuration_file.h"
#include "app/file_bytes.h"
#include "app/platform.h"
#include "cli/aircraft_spec_report.h"
#include "cli/command.h"
#include "cli/exit_status.h"
#include "cli/output_file.h"
#include "cli/terminal_text.h"
#include "output/build_lock.h"

namespace livrano::cli {

namespace {

namespace fs = std::filesystem;

struct Options {
    std::string in;
    std::string out;
    std::optional<std::string> key;
    bool force = false;
    bool plain = false;
    bool dxt3 = false;
};

const char* const kExitStatus = "Exit status:\n"
                                "  0  done (show: no problems)\n"
                                "  1  OUT could not be written\n"
                                "  2  usage, a file that cannot be read or used, or (show) a configuration\n"
                                "     with problems\n"
                                "  3  a build is at work in the program or aircraft folder OUT lies in\n";
// show writes nothing: it cannot fail part-way, nor wait for a build.
const char* const kShowExitStatus =
    "Exit status:\n"
    "  0  no problems\n"
    "  2  usage, a file that cannot be read or used, or a configuration with\n"
    "     problems\n";

CLI::Option* addKeyOption(CLI::App& tool, Options& o) {
    return tool.add_option("--key", o.key, "the Blowfish key (default: the program's key)")
        ->check([](const std::string& key) { return key.empty() ? "needs a key that is not empty" : ""; });
}

// The tools of config, declared on `command`.
struct Tools {
    CLI::App* decrypt;
    CLI::App* encrypt;
    CLI::App* show;
};

Tools defineTools(CLI::App& command, Options& o) {
    command.require_subcommand(1);
    command.footer(kExitStatus);
    Tools tools{command.add_subcommand("decrypt", "decipher a configuration to edit it"),
                command.add_subcommand("encrypt", "encipher a plain configuration for shipping"),
                command.add_subcommand(
                    "show", "print a configuration as the program reads it, then the problems to fix")};
    for (CLI::App* tool : {tools.decrypt, tools.encrypt, tools.show})
        tool->group("Tools");
    for (CLI::App* tool : {tools.decrypt, tools.encrypt}) {
        const bool encipher = tool == tools.encrypt;
        tool->add_option("IN", o.in, encipher ? "the plain configuration" : "the enciphered configuration")
            ->required()
            ->type_name(encipher ? "IN.cfg" : "IN.bin");
        tool->add_option("OUT", o.out, "the file to write")
            ->required()
            ->type_name(encipher ? "OUT.bin" : "OUT.cfg");
        addKeyOption(*tool, o);
        tool->add_flag("--force", o.force, "replace an existing OUT (default: refuse to)");
        tool->footer(kExitStatus);
    }
    tools.show->add_option("FILE", o.in, "the configuration, enciphered unless --plain")->required();
    CLI::Option* key = addKeyOption(*tools.show, o);
    tools.show->add_flag("--plain", o.plain, "FILE is plain text (default: enciphered)")->excludes(key);
    tools.show->add_flag("--dxt3", o.dxt3, "read it as a DXT3 build would (default: 32-bit)");
    tools.show->footer(kShowExitStatus);
    return tools;
}

int fail(const std::string& message, int status = kUnusableInput) {
    say(stderr, "livrano-cli config: %s\n", message.c_str());
    return status;
}

std::string quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

// encrypt and decrypt: the whole file in memory, the output written beside and renamed.
int convert(const Options& o, bool encipher) {
    const fs::path in = o.in;
    const fs::path out = o.out;
    std::optional<std::string> bytes = readFileBytes(in);
    if (!bytes)
        return fail("cannot read " + quoted(in) + ".");
    if (const auto refused = outputRefusal(out, {in}, o.force))
        return fail(*refused);
    const std::string_view key = o.key ? std::string_view(*o.key) : kProgramKey;
    const std::size_t inSize = bytes->size();

    clsEncrypt cipher;
    if (Status s = cipher.Key(key); !s.ok())
        return fail(s.text());
    if (encipher) {
        if (bytes->empty())
            return fail(quoted(in) + " is empty: there is nothing to encipher.");
        cipher.EncryptByte(*bytes);
    } else if (!cipher.DecryptByte(*bytes)) {
        return fail(quoted(in) + " does not decipher with " + (o.key ? "this key" : "the program's key") +
                    ": it is damaged or was enciphered with another key. Nothing was written.");
    }
    // An output in a program or aircraft folder is not replaced under a build there.
    BuildLock lock;
    if (Status s = lock.acquireForFile(out); !s)
        return fail(s.text(), exitStatus(s));
    if (Status s = replaceFileBytes(out, *bytes); !s.ok())
        return fail(s.text(), exitStatus(s));
    say(stdout, "%s %s (%zu bytes) into %s (%zu bytes)%s.\n", encipher ? "Enciphered" : "Deciphered",
        quoted(in).c_str(), inSize, quoted(out).c_str(), bytes->size(),
        o.key ? " with the given key" : " with the program's key");
    return kDone;
}

int show(const Options& o) {
    const fs::path file = o.in;
    std::optional<std::string> text;
    std::string source;
    if (o.plain) {
        text = readFileBytes(file);
        if (!text)
            return fail("cannot read " + quoted(file) + ".");
        source = "from " + quoted(file) + ", plain text";
    } else {
        if (!readFileBytes(file))
            return fail("cannot read " + quoted(file) + ".");
        text = decipherConfiguration(file, o.key ? std::string_view(*o.key) : kProgramKey);
        if (!text)
            return fail(quoted(file) + " does not decipher with " +
                        (o.key ? "this key" : "the program's key") +
                        ": it is damaged, enciphered with another key, or plain text (use --plain).");
        source =
            "from " + quoted(file) + ", deciphered with " + (o.key ? "the given key" : "the program's key");
    }

    if (Status s = usableConfiguration(file, text); !s)
        return fail(s.text());
    const ProfileDocument profile(std::move(*text));
    AircraftSpec spec;
    ExtraTextureSpec extraTextures;
    ExtraFieldSpec extraFields;
    std::vector<SpecValueNote> notes;
    if (!readAircraftSpec(profile, o.dxt3, spec, extraTextures, extraFields, &notes))
        return fail(quoted(file) + " is too large to be read in the memory left.");
    const std::vector<SpecProblem> problems =
        checkAircraftSpec(profile, spec, extraTextures, extraFields, notes);

    const bool colour = takesEscapeSequences(stdout) && std::getenv("NO_COLOR") == nullptr;
    const std::string report = formatSpecReport({source, spec, extraTextures, extraFields, problems}, colour);
    std::fwrite(report.data(), 1, report.size(), stdout);
    // A configuration with problems is one a build cannot use as it stands.
    return problems.empty() ? kDone : kUnusableInput;
}

} // namespace

CommandRun defineConfigCommand(CLI::App& command) {
    const auto options = std::make_shared<Options>();
    const Tools tools = defineTools(command, *options);
    return [options, tools] {
        if (tools.show->parsed())
            return show(*options);
        return convert(*options, tools.encrypt->parsed());
    };
}

} // namespace livrano::cli
