// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sstream>

#include "livrano_version.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "texture/bmp_reader.h"
#include "texture/bmp_writer.h"
#include "texture/texture_fixtures.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testkit::runCli;
using testkit::TempDir;

struct Inputs {
    TempDir dir;
    Inputs() {
        testkit::writeBitmapFile(dir / "c.bmp", encodeBmp24(testkit::gradientPicture(16, 8)));
        const Bitmap grey = testkit::greyPicture(16, 8);
        testkit::writeBitmapFile(dir / "a.bmp", encodeBmp8(grey, grey.palette));
    }
    std::string path(const char* name) const { return testkit::shellQuoted((dir / name).string()); }
};

TEST(ConvertAndInspectCommands, ConvertThenInspectDescribesAndDecodes) {
    struct Case {
        const char* options;
        const char* container;
        const char* format;
        const char* levels;
    };
    const Case cases[] = {
        {"", "simulator bitmap (BMP with FS70 block)", "DXT3", "1"},
        {"--format argb32 --mips", "simulator bitmap (BMP with FS70 block)", "32-bit BGRA", "5"},
        {"--dds --format dxt3", "DDS", "DXT3", "1"},
    };
    for (const Case& c : cases) {
        Inputs in;
        const testkit::CliRun convert = runCli("convert " + in.path("c.bmp") + " " + in.path("a.bmp") + " " +
                                               in.path("t.bmp") + " " + c.options);
        ASSERT_EQ(convert.exitCode, 0) << convert.err;
        const testkit::CliRun inspect =
            runCli("inspect " + in.path("t.bmp") + " --to-bmp " + in.path("back.bmp"));
        ASSERT_EQ(inspect.exitCode, 0) << inspect.err;
        EXPECT_EQ(inspect.out, std::string("Container: ") + c.container + "\nFormat: " + c.format +
                                   "\nSize: 16 x 8\nMip levels: " + c.levels + "\nWrote " +
                                   (in.dir / "back.bmp").string() + "\n");
        const auto back = readBmpFile(in.dir / "back.bmp");
        ASSERT_TRUE(back);
        EXPECT_EQ(back->width, 16);
        EXPECT_EQ(back->height, 8);
        if (std::string(c.format) == "32-bit BGRA") { // lossless: the painter sees the colour as painted
            EXPECT_EQ(back->pixels, testkit::gradientPicture(16, 8).pixels);
        }
    }
}

// Mistakes exit non-zero, saying what is wrong; help says how each command is used.
TEST(CliMessages, MistakesAndHelpSayWhatTheyShould) {
    struct Case {
        const char* what;
        const char* args;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"too few files", "convert c.bmp a.bmp", 2, "OUT is required"},
        {"bad format", "convert c.bmp a.bmp t.bmp --format=dxt5", 2, "dxt5 not in {dxt3,argb32}"},
        {"bad option", "convert c.bmp a.bmp t.bmp --fast", 2, "--fast"},
        {"option without its value", "inspect c.bmp --to-bmp", 2, "--to-bmp"},
        {"missing input", "convert nothing.bmp a.bmp t.bmp", 2, "cannot be read as a BMP file"},
        {"unwritable output", "convert c.bmp a.bmp no/such/t.bmp", 1, "cannot be written"},
        {"inspect missing", "inspect nothing.bmp", 2, "cannot read"},
        {"a file named like an option, after --", "inspect -- -x", 2, "cannot read -x"},
        {"inspect garbage", "inspect a.txt", 2, "neither a texture bitmap nor a DDS file"},
        // Outputs: never an input of the same command, and an existing file only with --force.
        {"painter's source", "convert c.bmp a.bmp c.bmp --force", 2, "is also an input"},
        {"existing output", "convert c.bmp a.bmp a.txt", 2, "add --force"},
        {"inspect over its input", "inspect c.bmp --to-bmp c.bmp --force", 2, "is also an input"},
        {"existing bitmap", "inspect c.bmp --to-bmp a.txt", 2, "add --force"},
        {"demo over a file", "demo c.bmp", 2, "add --force"},
        {"help on a command", "help build", 0, "  --variation TEXT REQUIRED"},
        {"a default in help", "help convert", 0, "--format TEXT:{dxt3,argb32}=dxt3"},
        {"a command's --help", "convert --help", 0, "Usage: livrano-cli convert [OPTIONS] COLOUR ALPHA OUT"},
        {"help on a tool", "help config show", 0, "Usage: livrano-cli config show [OPTIONS] FILE"},
        {"help", "help", 0, "livrano-cli help COMMAND"},
        {"help on nothing", "help nothing", 2, "unknown command \"nothing\""},
        {"no such command", "paint", 2, "unknown command \"paint\""},
        {"no command", "", 2, "livrano-cli help COMMAND"},
        {"version", "--version", 0, "livrano-cli " LIVRANO_VERSION "\n"},
    };
    for (const Case& c : cases) {
        Inputs in;
        testkit::writeFile(in.dir / "a.txt", "hello");
        // File names (words with a dot) are made absolute so the test does not depend on the
        // working folder.
        std::istringstream words(c.args);
        std::string absolute;
        for (std::string word; words >> word;)
            absolute += (word.find('.') != std::string::npos ? in.path(word.c_str()) : word) + " ";
        const testkit::CliRun r = runCli(absolute);
        EXPECT_EQ(r.exitCode, c.status) << c.what;
        const std::string& said = c.status == 0 ? r.out : r.err; // help on stdout, mistakes on stderr
        EXPECT_NE(said.find(c.message), std::string::npos) << c.what << ": " << said;
        EXPECT_FALSE(fs::exists(in.dir / "t.bmp")) << c.what;
        EXPECT_EQ(testkit::readFile(in.dir / "a.txt"), "hello") << c.what;
    }
}

// Every command's help page ends with what its exit codes mean.
TEST(CliMessages, EveryCommandsHelpSaysItsExitCodes) {
    const testkit::CliRun list = runCli("help");
    const std::size_t commands = list.out.find("Commands:\n");
    ASSERT_NE(commands, std::string::npos) << list.out;
    std::istringstream lines(list.out.substr(commands + 10));
    int seen = 0;
    for (std::string line; std::getline(lines, line) && line.starts_with("  ");) {
        const std::string name = line.substr(2, line.find(' ', 2) - 2);
        const testkit::CliRun help = runCli("help " + name);
        EXPECT_EQ(help.exitCode, 0) << name;
        EXPECT_NE(help.out.find("Exit status:\n  0  "), std::string::npos) << name << "\n" << help.out;
        ++seen;
    }
    EXPECT_GE(seen, 6);
}

} // namespace
} // namespace livrano
