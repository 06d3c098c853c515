// SPDX-License-Identifier: MIT
// Runs the real livrano-cli config tools on files in a temporary folder.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/platform.h"
#include "support/data_rows.h"
#include "support/run_cli.h"
#include "support/sample_configuration.h"
#include "support/temp_dir.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;
using testkit::kSkylarkConfiguration;
using testkit::runCli;
using testkit::TempDir;

std::string q(const fs::path& p) {
    return testkit::shellQuoted(p.string());
}

TEST(ConfigCommand, RefusesToReplaceOrToWriteGarbageAndGivesBackEveryByte) {
    TempDir dir;
    testkit::writeConfiguration(dir / "sky.bin", kSkylarkConfiguration);
    testkit::writeFile(dir / "mine.cfg", "the maker's source");
    testkit::writeFile(dir / "empty.cfg", "");
    // A build at work in a program folder and in an aircraft folder.
    testkit::writeFile(dir / "pf" / "Data" / "airlines.cfg", "");
    fs::create_directories(dir / "Aircraft" / "Craft");
    FolderLock program, aircraft;
    ASSERT_TRUE(program.tryLock(dir / "pf", true).ok());
    ASSERT_TRUE(aircraft.tryLock(dir / "Aircraft" / "Craft", true).ok());

    // The refusals are listed in tests/data/config_refusals.txt.
    for (const std::vector<std::string>& row : testkit::dataRows("config_refusals.txt", "refuse")) {
        std::string args;
        for (auto arg = row.begin() + 2; arg != row.end(); ++arg)
            args +=
                (arg->find_first_of("./") != std::string::npos ? q(dir / *arg) : testkit::shellQuoted(*arg)) +
                " ";
        const auto run = runCli(args);
        EXPECT_EQ(run.exitCode, std::stoi(row[0])) << args;
        EXPECT_THAT(run.err, HasSubstr(row[1])) << args;
    }
    EXPECT_EQ(testkit::readFile(dir / "mine.cfg"), "the maker's source");
    EXPECT_FALSE(fs::exists(dir / "new.cfg"));
    EXPECT_FALSE(fs::exists(dir / "new.bin"));

    const auto forced =
        runCli("config decrypt " + q(dir / "sky.bin") + " " + q(dir / "mine.cfg") + " --force");
    EXPECT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_EQ(testkit::readFile(dir / "mine.cfg"), kSkylarkConfiguration);

    // Every byte value comes back, so nothing is read as text on the way, whatever the key.
    std::string binary = kSkylarkConfiguration;
    for (int b = 0; b < 256; ++b)
        binary.push_back(static_cast<char>(b));
    testkit::writeFile(dir / "binary.cfg", binary);
    for (const std::string key : {"", " --key 'another key'"}) {
        const auto enc = runCli("config encrypt " + q(dir / "binary.cfg") + " " + q(dir / "binary.bin") +
                                " --force" + key);
        ASSERT_EQ(enc.exitCode, 0) << enc.err;
        const auto dec =
            runCli("config decrypt " + q(dir / "binary.bin") + " " + q(dir / "back.cfg") + " --force" + key);
        ASSERT_EQ(dec.exitCode, 0) << dec.err;
        EXPECT_EQ(testkit::readFile(dir / "back.cfg"), binary) << key;
    }
}

// Enciphered or plain, the configuration is shown as tests/data/skylark_show.txt holds it, below
// the lines that name the file: every value, no problems, and no colour on a pipe.
TEST(ConfigCommand, ShowPrintsACleanConfiguration) {
    TempDir dir;
    const std::string shown = testkit::readFile(testkit::testData("skylark_show.txt"));
    testkit::writeConfiguration(dir / "sky.bin", kSkylarkConfiguration);
    testkit::writeFile(dir / "sky.cfg", kSkylarkConfiguration);
    for (const std::string& args :
         {"config show " + q(dir / "sky.bin"), "config show --plain " + q(dir / "sky.cfg")}) {
        const auto run = runCli(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const std::size_t body = run.out.find("\nAircraft\n");
        ASSERT_NE(body, std::string::npos) << run.out;
        EXPECT_EQ(run.out.substr(body + 1), shown);
    }
    // As DXT3, with the wings' texture rectangle starting at x 24 instead of 0.
    testkit::writeFile(dir / "shifted.cfg",
                       testkit::replaced(kSkylarkConfiguration, "Bottom=768\r\nSection.00.DestLeft=0",
                                         "Bottom=768\r\nSection.00.DestLeft=24"));
    const auto dxt3 = runCli("config show --dxt3 --plain " + q(dir / "shifted.cfg"));
    EXPECT_THAT(dxt3.out, HasSubstr("  Format               DXT3NM"));
    EXPECT_THAT(dxt3.out, HasSubstr("-> texture (24,0)-(1024,512)   1000x512  scale 0.49 x 2.00\n"));

    // Counts far beyond what the file holds: one problem for each run of missing entries.
    testkit::writeFile(dir / "hostile.cfg", testkit::hostileConfiguration());
    const auto hostile = runCli("config show --plain " + q(dir / "hostile.cfg"));
    EXPECT_EQ(hostile.exitCode, 2) << hostile.err;
    for (
        const char* part :
        {"[Texture.00] Section.00 to Section.32766 ",
         " The keys of Section.00 to Section.32766 are missing (NumSectionsOnTexture = 32767); they read as empty rectangles.\n",
         "[Texture.32766] Section.3999", "Offset.00 is missing (NumMdlOffsets = 32767)", "scale - x -\n"})
        EXPECT_THAT(hostile.out, HasSubstr(part));

    // Names that would command the terminal (set its title, clear the screen) are shown escaped.
    std::string commands = kSkylarkConfiguration;
    commands.insert(commands.find("AircraftDirectory=") + 18, "\x1b]0;owned\x07\x1b[2J\x81");
    testkit::writeFile(dir / "commands.cfg", commands);
    const auto escaped = runCli("config show --plain " + q(dir / "commands.cfg"));
    EXPECT_THAT(escaped.out, HasSubstr("Aircraft\\\\x1b]0;owned\\x07\\x1b[2J\\u0081Corvane"));
    EXPECT_EQ(escaped.out.find('\x1b'), std::string::npos) << escaped.out;
}

TEST(ConfigCommand, ShowListsTheProblemsOfAHandWrittenConfiguration) {
    // tests/data/petrel.cfg, a maker's first draft of a high-wing single: sizes, masks, a section
    // off the template, counts ahead of their keys, an unsafe folder name and a value past 16 bits.
    const auto run = runCli("config show --plain " + q(testkit::testData("petrel.cfg")));
    EXPECT_EQ(run.exitCode, 2) << run.err;
    // The problems as tests/data/petrel_problems.txt holds them, each on one line: its place,
    // padded to one column for all, then the message.
    const std::size_t problems = run.out.find("\nProblems (");
    ASSERT_NE(problems, std::string::npos) << run.out;
    EXPECT_EQ(run.out.substr(problems + 1), testkit::readFile(testkit::testData("petrel_problems.txt")));
}

} // namespace
} // namespace livrano
