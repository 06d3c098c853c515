// SPDX-License-Identifier: MIT
// livrano-cli demo and build, run as a user would run them, on a demo installation; and where
// build finds its program folder when no --program-folder is given.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <future>
#include <set>

#include "aircraft/profile.h"
#include "app/code_page.h"
#include "app/platform.h"
#include "output/repaint_world.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;
using testkit::CliRun;
using testkit::runCli;
using testkit::shellQuoted;
using testkit::TempDir;

// The simulator lies in a folder with an accent, as it may on a painter's disk.
class DemoBuild : public ::testing::Test {
protected:
    void SetUp() override {
        const CliRun demo = runCli("demo " + shellQuoted(root().string()));
        ASSERT_EQ(demo.exitCode, 0) << demo.err;
    }
    fs::path root() const { return m_dir / "Café"; }
    fs::path programFolder() const { return root() / "Corvane Software" / "Livrano"; }
    fs::path meridian() const { return root() / "Aircraft" / "Corvane CJ-70 Meridian"; }
    // The arguments that choose the other demo aircraft, whose liveries have folders of their own.
    std::string skylark() const {
        return "--aircraft 'Corvane C-310 Skylark' --template " +
               shellQuoted((programFolder() / "Templates" / "Skylark Template.bmp").string());
    }

    CliRun build(const std::string& variation, const std::string& folder, const std::string& more = "") {
        return runCli("build --program-folder " + shellQuoted(programFolder().string()) +
                      " --aircraft 'Corvane CJ-70 Meridian' --template " +
                      shellQuoted((programFolder() / "Templates" / "Meridian Template.bmp").string()) +
                      " --variation " + shellQuoted(variation) + " --folder=" + shellQuoted(folder) + " " +
                      more);
    }

    TempDir m_dir;
};

// Accented names reach aircraft.cfg, the folder names and the model in the simulator's code
// page; a second build whose title differs in case only replaces the first, files and all. A
// callsign is the list's line of that spelling, else the first line that differs only in case.
TEST_F(DemoBuild, AccentedNamesAreWrittenInTheSimulatorsCodePage) {
    const fs::path airlines = programFolder() / "Data" / "airlines.cfg";
    testkit::writeFile(airlines, testkit::readFile(airlines) + "Northwind\r\n"); // after NORTHWIND
    const CliRun first = build("Café", "àé€", "--callsign Northwind --tail n31é");
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_THAT(first.out, HasSubstr("\"Corvane CJ-70 Meridian Café\" is [fltsim.2] of"));
    EXPECT_THAT(first.out, HasSubstr("Model.ÀÉ€/CJ70_ÀÉ€.mdl"));
    EXPECT_THAT(first.err, HasSubstr("Your Aircraft Repaint has been built"));
    const ProfileDocument firstCfg = ProfileDocument::load(meridian() / "aircraft.cfg");
    EXPECT_EQ(firstCfg.readString("fltsim.2", "ui_variation"), "Caf\xE9");
    EXPECT_EQ(firstCfg.readString("fltsim.2", "model"), "\xC0\xC9\x80");
    EXPECT_EQ(firstCfg.readString("fltsim.2", "atc_id"), "N31\xC9");
    EXPECT_EQ(firstCfg.readString("fltsim.2", "atc_airline"), "Northwind");
    EXPECT_EQ(testkit::readFile(meridian() / "Model.ÀÉ€" / "CJ70_ÀÉ€.mdl").substr(4096, 17),
              "CJ70_\xC0\xC9\x80_FUSE.bmp");

    const CliRun second = build("CAFÉ", "abc", "--callsign northwind");
    ASSERT_EQ(second.exitCode, 0) << second.err;
    EXPECT_EQ(
        testkit::RepaintWorld::titles(meridian() / "aircraft.cfg"),
        (std::vector<std::string>{"Corvane CJ-70 Meridian House Colours", "Corvane CJ-70 Meridian Northwind",
                                  "Corvane CJ-70 Meridian CAF\xC9"}));
    const ProfileDocument cfg = ProfileDocument::load(meridian() / "aircraft.cfg");
    EXPECT_EQ(cfg.readString("fltsim.2", "model"), "ABC");
    EXPECT_EQ(cfg.readString("fltsim.2", "atc_id"), "N70CM"); // the aircraft's own tail number
    EXPECT_EQ(cfg.readString("fltsim.2", "atc_airline"), "NORTHWIND");
    EXPECT_FALSE(fs::exists(meridian() / "Model.ÀÉ€"));
    EXPECT_FALSE(fs::exists(meridian() / "texture" / "CJ70_ÀÉ€_FUSE.bmp"));
    EXPECT_TRUE(fs::exists(meridian() / "texture" / "CJ70_ABC_FUSE.bmp"));
}

// Two processes build one aircraft at once, one as DXT3: each finished texture must be its own
// build's, each build that ran must have its entry, and a build that did not run must say why.
TEST_F(DemoBuild, TwoBuildsAtOnceNeverMixTheirFiles) {
    const std::string chosen = skylark();
    const fs::path aircraft = root() / "Aircraft" / "Corvane C-310 Skylark";
    const std::vector<std::string> installed = testkit::RepaintWorld::titles(aircraft / "aircraft.cfg");
    std::multiset<std::string> titles(installed.begin(), installed.end());
    for (const std::string trial : {"1", "2", "3"}) {
        const std::string names[] = {"red" + trial, "dxt" + trial};
        auto first = std::async(std::launch::async, [&] { return build(names[0], names[0], chosen); });
        const CliRun dxt = build(names[1], names[1], chosen + " --dxt3");
        const CliRun runs[] = {first.get(), dxt};
        for (int i : {0, 1}) {
            const fs::path folder = aircraft / ("Texture." + names[i]);
            if (runs[i].exitCode != 0) {
                EXPECT_THAT(runs[i].err, HasSubstr("Another build is running"));
                EXPECT_FALSE(fs::exists(folder));
                continue;
            }
            titles.insert("Corvane C-310 Skylark " + names[i]);
            EXPECT_EQ(testkit::readFile(folder / "C310_FUSE.bmp").substr(30, 4) == "DXT3", i == 1) << folder;
        }
        EXPECT_TRUE(runs[0].exitCode == 0 || runs[1].exitCode == 0) << runs[0].err << runs[1].err;
        const std::vector<std::string> now = testkit::RepaintWorld::titles(aircraft / "aircraft.cfg");
        EXPECT_EQ(std::multiset<std::string>(now.begin(), now.end()), titles) << trial;
    }
}

// A reader that stops at the first line (`build 2>&1 | head -1`) must not stop the build: it
// writes what a build whose output is read writes, and ends with that build's status.
TEST_F(DemoBuild, AReaderThatStopsAtTheFirstLineLeavesTheBuildWhole) {
    const fs::path read = m_dir / "read";
    ASSERT_EQ(runCli("demo " + shellQuoted(read.string())).exitCode, 0);
    const std::string piped = "{ " + shellQuoted(LIVRANO_CLI_PATH) + " build --variation V --folder V " +
                              skylark() + " --program-folder " + shellQuoted(programFolder().string()) +
                              " 2>&1; echo $? >" + shellQuoted((m_dir / "status").string()) +
                              "; } | head -1 >/dev/null";
    ASSERT_EQ(std::system(piped.c_str()), 0);
    EXPECT_EQ(testkit::readFile(m_dir / "status"), "0\n");
    // The same build in the other simulator (the last of an option given twice counts).
    const std::string other =
        " --program-folder " + shellQuoted((read / "Corvane Software/Livrano").string());
    ASSERT_EQ(build("V", "V", skylark() + other).exitCode, 0);
    for (const fs::path folder : {"Aircraft", "Corvane Software/Livrano/TempBitmaps"})
        EXPECT_TRUE(testkit::snapshot(root() / folder) == testkit::snapshot(read / folder)) << folder;
}

// Every refusal ends a build and its dry run alike, in UTF-8 whatever the names' code page; a step
// that fails is named and ends the command.
TEST_F(DemoBuild, RefusesOrPlansWithoutWritingAndSaysWhy) {
    struct Case {
        std::string variation, folder, more;
        int exitCode;
        const char* says;
        bool locked = false; // another build holds the program folder
    };
    const Case cases[] = {
        {"Blue Sky", "éé", "", 2, "The folder extension \"éé\" must be exactly 3 characters"},
        {"Blue Sky", "nwd", "", 2,
         "Café/Aircraft/Corvane CJ-70 Meridian/Model.NWD, which belongs to the livery \"Corvane CJ-70 Meridian Northwind\""},
        {"Blue Sky", "qrx", "", 3, "Another build is running on the program folder:", true},
        {"Blue Sky", "../x", "", 2, "path separator: \"../x\""},
        {"Blue Sky", "qrx", "", 0, "becomes [fltsim.2] of"},
        {"New Livery", "blueharbour", skylark(), 2,
         "texture.BlueHarbour (Texture.blueharbour), which belongs to the livery \"Corvane C-310 Skylark Blue Harbour\""},
        {"Blue Sky", "qrx", "--callsign 'NO SUCH AIRLINE'", 2, "not in the airline list"},
        {"Blue Sky", "qrx", "--aircraft 9", 2, "no aircraft configuration"},
        {"Blue Sky", "qrx", "--aircraft 2", 2, "Zzz.bin\" cannot be used: it is damaged"},
        {"\t \t", "qrx", "", 2, "--variation is required"},
        {"Blue Sky", "\t", "", 2, "--folder is required"},
        {"Cafē", "qrx", "", 2, "cannot hold \"ē\" (U+0113)"},
        // Shown, not obeyed: the terminal's title set, the screen cleared.
        {"Blue Sky", "q\x1b]0;x\x07\x1b[2J\tz", "", 2, "control character: \"q\\x1b]0;x\\x07\\x1b[2J\\tz\""},
    };
    testkit::writeFile(programFolder() / "Aircraft Configurations" / "Zzz.bin", "not enciphered");
    const std::set<std::string> before = testkit::RepaintWorld::listing(m_dir.path());
    for (const Case& c : cases) {
        FolderLock held;
        if (c.locked) {
            ASSERT_TRUE(held.tryLock(programFolder(), true).ok());
        }
        for (const std::string& dryRun : {std::string(), std::string(" --dry-run")}) {
            if (c.exitCode == 0 && dryRun.empty())
                continue; // a build that can run is only planned here
            const CliRun run = build(c.variation, c.folder, c.more + dryRun);
            EXPECT_EQ(run.exitCode, c.exitCode) << c.folder << " " << c.more << dryRun;
            const std::string said = run.out + run.err;
            EXPECT_TRUE(isUtf8(said) && said.find('\x1b') == std::string::npos) << said;
            const std::size_t at = said.find(c.says);
            EXPECT_NE(at, std::string::npos) << said;
            EXPECT_EQ(said.find(c.says, at + 1), std::string::npos) << "said twice: " << said;
        }
    }
    EXPECT_EQ(testkit::RepaintWorld::listing(m_dir.path()), before);

    const fs::path model = programFolder() / "Data.CJ70" / "CJ70_XXX.mdl";
    const std::string installed = testkit::readFile(meridian() / "aircraft.cfg");
    // A missing model is found by the plan: the build and its dry run refuse alike.
    fs::rename(model, root() / "model");
    for (const char* dryRun : {"", "--dry-run"}) {
        const CliRun refused = build("Blue Sky", "qrx", dryRun);
        EXPECT_EQ(refused.exitCode, 2) << dryRun;
        EXPECT_THAT(refused.err, HasSubstr("CJ70_XXX.mdl is missing"));
    }
    fs::rename(root() / "model", model);
    // So does one that names an accented folder and a character the code page has not, in UTF-8.
    testkit::writeFile(meridian() / "aircraft.cfg", std::string("\xFF\xFE\x13\x01", 4));
    const CliRun utf16 = build("Blue Sky", "qrx", "--dry-run");
    EXPECT_THAT(utf16.err,
                HasSubstr("Café/Aircraft/Corvane CJ-70 Meridian/aircraft.cfg cannot hold \"ē\" (U+0113)"));
    testkit::writeFile(meridian() / "aircraft.cfg", installed);
    // The model copy leads where no file can be written.
    testkit::writeFile(root() / "blocker", "a file, not a folder");
    fs::create_directories(meridian() / "Model.QRX");
    fs::create_symlink(root() / "blocker" / "x", meridian() / "Model.QRX" / "CJ70_QRX.mdl");
    const CliRun run = build("Blue Sky", "qrx");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.err, HasSubstr("The build stopped at \"Renaming Textures in MDL\""));
    EXPECT_THAT(run.out, HasSubstr("\nFiles:\n"));
    EXPECT_EQ(testkit::readFile(meridian() / "aircraft.cfg"), installed);
}

// The folder the build took for its program folder, read from its complaint that the aircraft
// is not installed there, or that the airline list is missing from it (the window's message,
// then where the file belongs), or its advice when there is none: the option, the environment,
// the executable's folder, the build tree's, the last setup's, in that order.
TEST(ProgramFolder, ComesFromTheOptionTheEnvironmentTheExecutableOrTheLastSetup) {
    testkit::TempDir dir;
    const fs::path named = dir / "named";
    const fs::path own = dir / "own";
    const fs::path bare = dir / "bare";
    const fs::path recorded = dir / "recorded";
    for (const fs::path& folder : {named, own, recorded})
        testkit::writeFile(folder / "Data" / "airlines.cfg", "KESTREL\r\n");
    testkit::writeFile(dir / "config" / "livrano" / "program-folder", recorded.string() + "\n");
    fs::create_directories(dir / "empty");
    fs::create_directories(bare);
    const fs::path copy = own / "livrano-cli";
    const fs::path bareCopy = bare / "livrano-cli";
    fs::copy_file(LIVRANO_CLI_PATH, copy);
    fs::copy_file(LIVRANO_CLI_PATH, bareCopy);
    const auto notInstalled = [](const fs::path& folder) {
        return " in " + (folder / "Aircraft Configurations").string() + ".";
    };
    const std::string config = "XDG_CONFIG_HOME=" + shellQuoted((dir / "config").string());
    const std::string noConfig = "XDG_CONFIG_HOME=" + shellQuoted((dir / "empty").string());
    const std::string unset = "env -u LIVRANO_PROGRAM_FOLDER ";

    struct Case {
        std::string environment;
        fs::path program;
        std::string options;
        std::string says;
    };
    const Case cases[] = {
        {config + " LIVRANO_PROGRAM_FOLDER=" + shellQuoted(bare.string()), LIVRANO_CLI_PATH,
         "--program-folder=" + shellQuoted(named.string()), notInstalled(named)},
        {config + " LIVRANO_PROGRAM_FOLDER=" + shellQuoted(named.string()), LIVRANO_CLI_PATH, "",
         notInstalled(named)},
        {unset + config, copy, "", notInstalled(own)},
        {config + " LIVRANO_PROGRAM_FOLDER=", copy, "", notInstalled(own)}, // empty counts as not set
        {unset + config, LIVRANO_CLI_PATH, "",
         notInstalled(fs::path(LIVRANO_CLI_PATH).parent_path() / "program")},
        {unset + config, bareCopy, "", notInstalled(recorded)},
        {unset + noConfig, bareCopy, "", "Run \"livrano-cli setup SIMULATOR_FOLDER\" once"},
        {"LIVRANO_PROGRAM_FOLDER=" + shellQuoted(bare.string()), LIVRANO_CLI_PATH, "",
         "file is missing. Please reinstall Livrano.\n" + (bare / "Data" / "airlines.cfg").string() + "\n"},
    };
    for (const Case& c : cases) {
        const testkit::CliRun run = testkit::runCli(
            "build --aircraft Nowhere --template t.bmp --variation V --folder ABC " + c.options,
            c.environment, c.program.string());
        EXPECT_EQ(run.exitCode, 2) << c.environment;
        EXPECT_THAT(run.err, HasSubstr(c.says)) << c.environment;
    }
}

} // namespace
} // namespace livrano
