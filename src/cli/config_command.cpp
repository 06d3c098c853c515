// livrano-cli config: the aircraft maker's tools for configuration files. Encipher a plain
// configuration for shipping, decipher one to edit it, and show how the program reads one
// together with the faults that would spoil a build.

#include <cstdio>
#include <cstdlib>
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

namespace livrano::cli {

namespace {

namespace fs = std::filesystem;

const char* const kUsage = "decrypt IN OUT | encrypt IN OUT | show FILE.bin | show --plain FILE.cfg";

void printHelp(std::FILE* out) {
    std::fprintf(out, "Usage:\n"
                      "  livrano-cli config decrypt IN.bin OUT.cfg [--key KEY] [--force]\n"
                      "  livrano-cli config encrypt IN.cfg OUT.bin [--key KEY] [--force]\n"
                      "  livrano-cli config show FILE.bin [--key KEY] [--dxt3]\n"
                      "  livrano-cli config show --plain FILE.cfg [--dxt3]\n"
                      "\n"
                      "decrypt and encrypt use the program's key unless --key gives another; they refuse to\n"
                      "replace an existing OUT unless --force is given.\n"
                      "show prints the configuration as the program reads it, then the problems to fix.\n"
                      "Exit status: 0 done (show: no problems); 1 the output could not be written; 2 usage,\n"
                      "a file that cannot be read or used, or (show) a configuration with problems.\n");
}

struct Options {
    std::vector<std::string> files;
    std::optional<std::string> key;
    bool force = false;
    bool plain = false;
    bool dxt3 = false;
};

// Nullopt (after printing why) when the arguments do not parse.
std::optional<Options> parseOptions(const std::vector<std::string>& args) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--key") {
            if (i + 1 == args.size() || args[i + 1].empty()) {
                std::fprintf(stderr, "livrano-cli config: --key needs a key that is not empty\n");
                return std::nullopt;
            }
            o.key = args[++i];
        } else if (a == "--force") {
            o.force = true;
        } else if (a == "--plain") {
            o.plain = true;
        } else if (a == "--dxt3") {
            o.dxt3 = true;
        } else if (a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "livrano-cli config: unknown option \"%s\"\n", a.c_str());
            return std::nullopt;
        } else {
            o.files.push_back(a);
        }
    }
    return o;
}

int usageError(const char* why) {
    std::fprintf(stderr, "livrano-cli config: %s\n\n", why);
    printHelp(stderr);
    return kUnusableInput;
}

int fail(const std::string& message, int status = kUnusableInput) {
    std::fprintf(stderr, "livrano-cli config: %s\n", message.c_str());
    return status;
}

std::string quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

// encrypt and decrypt: the whole file in memory, the output written beside and renamed.
int convert(const Options& o, bool encipher) {
    if (o.files.size() != 2 || o.plain || o.dxt3)
        return usageError(encipher ? "encrypt takes IN OUT [--key KEY] [--force]"
                                   : "decrypt takes IN OUT [--key KEY] [--force]");
    const fs::path in = o.files[0];
    const fs::path out = o.files[1];
    std::optional<std::string> bytes = readFileBytes(in);
    if (!bytes)
        return fail("cannot read " + quoted(in) + ".");
    if (const auto refused = outputRefusal(out, {in}, o.force))
        return fail(*refused);
    const std::string_view key = o.key ? std::string_view(*o.key) : kProgramKey;
    const std::size_t inSize = bytes->size();

    clsEncrypt cipher;
    if (Status s = cipher.Key(key); !s.ok())
        return fail(s.message());
    if (encipher) {
        if (bytes->empty())
            return fail(quoted(in) + " is empty: there is nothing to encipher.");
        cipher.EncryptByte(*bytes);
    } else if (!cipher.DecryptByte(*bytes)) {
        return fail(quoted(in) + " does not decipher with " + (o.key ? "this key" : "the program's key") +
                    ": it is damaged or was enciphered with another key. Nothing was written.");
    }
    if (Status s = replaceFileBytes(out, *bytes); !s.ok())
        return fail(s.message(), exitStatus(s));
    std::printf("%s %s (%zu bytes) into %s (%zu bytes)%s.\n", encipher ? "Enciphered" : "Deciphered",
                quoted(in).c_str(), inSize, quoted(out).c_str(), bytes->size(),
                o.key ? " with the given key" : " with the program's key");
    return kDone;
}

int show(const Options& o) {
    if (o.files.size() != 1 || o.force || (o.plain && o.key))
        return usageError("show takes FILE.bin [--key KEY] [--dxt3], or --plain FILE.cfg [--dxt3]");
    const fs::path file = o.files[0];
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
        return fail(s.message());
    const ProfileDocument profile(std::move(*text));
    AircraftSpec spec;
    ExtraTextureSpec extraTextures;
    ExtraFieldSpec extraFields;
    std::vector<SpecValueNote> notes;
    if (!readAircraftSpec(profile, o.dxt3, spec, extraTextures, extraFields, &notes))
        return fail(quoted(file) + " is too large to be read in the memory left.");
    const std::vector<SpecProblem> problems =
        checkAircraftSpec(profile, spec, extraTextures, extraFields, notes);

    const bool colour = isTerminal(stdout) && std::getenv("NO_COLOR") == nullptr;
    const std::string report = formatSpecReport({source, spec, extraTextures, extraFields, problems}, colour);
    std::fwrite(report.data(), 1, report.size(), stdout);
    // A configuration with problems is one a build cannot use as it stands.
    return problems.empty() ? kDone : kUnusableInput;
}

int run(const std::vector<std::string>& args) {
    if (args.empty())
        return usageError("which tool? decrypt, encrypt or show");
    const std::string& tool = args[0];
    if (tool == "help" || tool == "--help" || tool == "-h") {
        printHelp(stdout);
        return kDone;
    }
    const std::optional<Options> options = parseOptions({args.begin() + 1, args.end()});
    if (!options)
        return kUnusableInput;
    if (tool == "encrypt")
        return convert(*options, true);
    if (tool == "decrypt")
        return convert(*options, false);
    if (tool == "show")
        return show(*options);
    return usageError(("unknown tool \"" + tool + "\"").c_str());
}

const CommandRegistration
    registration({"config", kUsage, "encipher, decipher and check aircraft configurations", run, printHelp});

} // namespace

} // namespace livrano::cli
