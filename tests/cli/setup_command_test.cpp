// SPDX-License-Identifier: MIT
// livrano-cli setup, run from an installed tree (bin/ beside share/livrano/) on a simulator's
// folder: what it makes, what a second run after an upgrade refreshes and what it keeps.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/platform.h"
#include "livrano_version.h"
#include "output/repaint_world.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "texture/bmp_writer.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;
using testkit::CliRun;
using testkit::shellQuoted;

struct Installed {
    testkit::TempDir dir;
    fs::path shared = dir / "usr" / "share" / "livrano";
    fs::path cli = dir / "usr" / "bin" / "livrano-cli";
    fs::path simulator = dir / "sim";
    fs::path program = simulator / "Corvane Software" / "Livrano";

    Installed() {
        testkit::writeFile(shared / "Data" / "airlines.cfg", "KESTREL\r\n");
        testkit::writeFile(shared / "Media" / "Next.wav", "chime 1");
        testkit::writeFile(shared / "Livrano.pdf", "%PDF manual");
        fs::create_directories(cli.parent_path());
        fs::copy_file(LIVRANO_CLI_PATH, cli);
        fs::create_directories(simulator / "aircraft"); // found whatever its case
    }
    CliRun setup(const std::string& more = "") const {
        return testkit::runCli("setup " + shellQuoted(simulator.string()) + " " + more,
                               "XDG_CONFIG_HOME=" + shellQuoted((dir / "config").string()), cli.string());
    }
};

TEST(SetupCommand, LaysOutTheProgramFolderRecordsItAndRefreshesOnlyWhatItWrote) {
    Installed in;
    const std::set<std::string> before = testkit::RepaintWorld::listing(in.dir.path());
    const CliRun planned = in.setup("--dry-run");
    EXPECT_EQ(planned.exitCode, 0) << planned.err;
    EXPECT_THAT(planned.out, HasSubstr("  write    " + (in.program / "Media" / "Next.wav").string()));
    EXPECT_EQ(testkit::RepaintWorld::listing(in.dir.path()), before);

    const CliRun done = in.setup();
    ASSERT_EQ(done.exitCode, 0) << done.err;
    EXPECT_THAT(done.out, HasSubstr("  created  " + (in.program / "Aircraft Configurations").string() + "/"));
    for (const char* file : {"Data/airlines.cfg", "Media/Next.wav", "Livrano.pdf"})
        EXPECT_EQ(testkit::readFile(in.program / file), testkit::readFile(in.shared / file)) << file;
    for (const char* folder : {"Templates", "TempBitmaps", "Aircraft Configurations"})
        EXPECT_TRUE(fs::is_directory(in.program / folder)) << folder;
    EXPECT_EQ(testkit::readFile(in.dir / "config" / "livrano" / "program-folder"),
              in.program.string() + "\n");
    // sha256sum's format, so that a user can check the files with it.
    EXPECT_THAT(
        testkit::readFile(in.program / "Livrano.sha256"),
        testing::StartsWith(
            "# Livrano " LIVRANO_VERSION
            "\n1191a48134988a2e3e0870b4169f17bf4a64f9e1dd0966d2e352ba4e23f55a6a  Data/airlines.cfg\n"));

    // After an upgrade, the files nobody touched are refreshed and the user's own are kept and
    // named; another build at work on the folder stops the setup; a folder without Aircraft is refused.
    testkit::writeFile(in.program / "Data" / "airlines.cfg", "MY OWN LIST\r\n");
    testkit::writeFile(in.shared / "Media" / "Next.wav", "chime 2");
    testkit::writeFile(in.shared / "Data" / "airlines.cfg", "KESTREL\r\nNORTHWIND\r\n");

    const CliRun again = in.setup();
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_THAT(again.out, HasSubstr("  updated  " + (in.program / "Media" / "Next.wav").string()));
    EXPECT_THAT(again.out, HasSubstr("  kept     " + (in.program / "Data" / "airlines.cfg").string() +
                                     " (changed here: left as it is)"));
    EXPECT_THAT(again.out, HasSubstr("1 file already up to date"));
    EXPECT_EQ(testkit::readFile(in.program / "Media" / "Next.wav"), "chime 2");
    EXPECT_EQ(testkit::readFile(in.program / "Data" / "airlines.cfg"), "MY OWN LIST\r\n");
    // A newer livrano-cli's command refreshes a folder an older one set up first.
    testkit::writeFile(in.program / "Livrano.sha256", "");
    EXPECT_THAT(
        testkit::runCli("list --program-folder " + shellQuoted(in.program.string()), "", in.cli.string()).err,
        HasSubstr(
            "livrano-cli list: Program folder refreshed for Livrano " LIVRANO_VERSION
            "; your airlines.cfg is kept, the new one is airlines.cfg.new (set up by an earlier Livrano; files: 0 replaced, 0 added, 1 kept as changed here)\n"));

    FolderLock held;
    ASSERT_TRUE(held.tryLock(in.program, true).ok());
    testkit::writeFile(in.shared / "Livrano.pdf", "%PDF manual 2");
    const CliRun locked = in.setup();
    EXPECT_EQ(locked.exitCode, 3);
    EXPECT_THAT(locked.err, HasSubstr("Another build is running"));
    EXPECT_EQ(testkit::readFile(in.program / "Livrano.pdf"), "%PDF manual");

    fs::remove_all(in.simulator / "aircraft");
    const std::set<std::string> beforeRefusal = testkit::RepaintWorld::listing(in.dir.path());
    const CliRun refused = in.setup();
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_THAT(refused.err, HasSubstr("it has no Aircraft folder"));
    EXPECT_EQ(testkit::RepaintWorld::listing(in.dir.path()), beforeRefusal);
}

// Every aircraft without a configuration gets a kit, one line each, and an aircraft the kit
// cannot describe stops none of the others; a second run leaves the kitted ones alone.
TEST(SetupCommand, WithKitsMakesAKitForEveryAircraftWithoutAConfiguration) {
    Installed in;
    testkit::writeFile(in.simulator / "aircraft" / "Gull" / "aircraft.cfg",
                       "[fltsim.0]\r\ntitle=Gull\r\nsim=gull\r\n");
    testkit::writeFile(in.simulator / "aircraft" / "Gull" / "texture" / "body.bmp",
                       encodeBmp24(Bitmap{4, 2, 3, std::vector<std::uint8_t>(24, 90), {}}));
    testkit::writeFile(in.simulator / "aircraft" / "Broken" / "aircraft.cfg", "[General]\r\n");
    const std::set<std::string> before = testkit::RepaintWorld::listing(in.dir.path());
    const CliRun planned = in.setup("--kits --dry-run");
    EXPECT_EQ(planned.exitCode, 2) << planned.err;
    EXPECT_THAT(planned.out, HasSubstr("  would kit  Gull as \"Gull\" (1 texture)"));
    EXPECT_THAT(planned.out, HasSubstr("  not kitted Broken: "));
    EXPECT_THAT(planned.out, HasSubstr("\n\nKits to make for 2 aircraft without a configuration:\n"));
    EXPECT_EQ(testkit::RepaintWorld::listing(in.dir.path()), before);

    EXPECT_EQ(in.setup("--kits").exitCode, 2);
    EXPECT_TRUE(fs::exists(in.program / "Aircraft Configurations" / "Gull.bin"));
    const CliRun again = testkit::runCli("kit --all --program-folder " + shellQuoted(in.program.string()));
    EXPECT_EQ(again.exitCode, 2);
    EXPECT_THAT(again.out, testing::Not(HasSubstr("Gull")));
}

} // namespace
} // namespace livrano
