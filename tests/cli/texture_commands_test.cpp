// SPDX-License-Identifier: MIT
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "livrano_version.h"
#include "support/data_rows.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "texture/bmp_reader.h"
#include "texture/bmp_writer.h"
#include "texture/texture_fixtures.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;
using testkit::runCli;
using testkit::TempDir;

struct Inputs {
    TempDir dir;
    Inputs() {
        testkit::writeFile(dir / "c.bmp", encodeBmp24(testkit::gradientPicture(16, 8)));
        const Bitmap grey = testkit::greyPicture(16, 8);
        testkit::writeFile(dir / "a.bmp", encodeBmp8(grey, grey.palette));
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
                                   "\nSize: 16 x 8\nMip levels: " + c.levels +
                                   "\nDecoded: yes, with alpha\nWrote " + (in.dir / "back.bmp").string() +
                                   "\n");
        const auto back = readBmpFile(in.dir / "back.bmp");
        ASSERT_TRUE(back);
        EXPECT_EQ(std::pair(back->width, back->height), std::pair(16, 8));
        if (std::string(c.format) == "32-bit BGRA") { // lossless: the painter sees the colour as painted
            EXPECT_EQ(back->pixels, testkit::gradientPicture(16, 8).pixels);
        }
    }
}

// Mistakes exit non-zero, saying what is wrong; help says how each command is used
// (tests/data/cli_messages.txt).
TEST(CliMessages, MistakesAndHelpSayWhatTheyShould) {
    for (const std::vector<std::string>& row : testkit::dataRows("cli_messages.txt", "message")) {
        SCOPED_TRACE(row[0]);
        Inputs in;
        testkit::writeFile(in.dir / "a.txt", "hello");
        // File names are made absolute so the test does not depend on the working folder.
        std::istringstream words(row[0]);
        std::string absolute;
        for (std::string word; words >> word;)
            absolute += (word.find('.') != std::string::npos ? in.path(word.c_str()) : word) + " ";
        const testkit::CliRun r = runCli(absolute);
        const int status = std::stoi(row[1]);
        EXPECT_EQ(r.exitCode, status);
        const std::string said = status == 0 ? r.out : r.err; // help on stdout, mistakes on stderr
        std::string text = row[2];
        if (const std::size_t at = text.find("@VERSION@"); at != std::string::npos)
            text.replace(at, 9, LIVRANO_VERSION);
        EXPECT_THAT(said, HasSubstr(text));
        EXPECT_FALSE(fs::exists(in.dir / "t.bmp"));
        EXPECT_EQ(testkit::readFile(in.dir / "a.txt"), "hello");
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
        EXPECT_THAT(help.out, HasSubstr("Exit status:\n  0  ")) << name;
        ++seen;
    }
    EXPECT_GE(seen, 6);
}

// Each help lists the exit codes of its own command, and no other.
TEST(CliMessages, HelpListsOnlyTheCommandsOwnExitCodes) {
    const std::regex code("\n  ([0-9])  ");
    for (const std::vector<std::string>& row : testkit::dataRows("cli_messages.txt", "exits")) {
        const std::string out = runCli(row[0]).out;
        std::string codes;
        for (std::sregex_iterator m(out.begin(), out.end(), code), end; m != end; ++m)
            codes += (codes.empty() ? "" : " ") + (*m)[1].str();
        EXPECT_EQ(codes, row[1]) << row[0];
    }
}

} // namespace
} // namespace livrano
