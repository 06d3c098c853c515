// SPDX-License-Identifier: MIT
#include "output/cfg_restore.h"

#include <gtest/gtest.h>

#include "app/file_bytes.h"
#include "output/repaint_world.h"

namespace livrano {
namespace {

using testkit::readFile;
using testkit::RepaintWorld;

// Each file operation of a restore made to fail in turn, alone or with every one after it (a
// failed write, then a failed undo): aircraft.cfg is always whole and its bytes are never lost. A
// failed restore leaves it as it was and gives the backup its own bytes back (after a second
// failure the message says it could not), unless only the folder's last sync failed.
TEST(RestoreAircraftCfg, NoSequenceOfFailedStepsLosesTheCurrentFile) {
    const std::string current = "[fltsim.0]\r\ntitle=Current\r\n", backup = "[fltsim.0]\r\ntitle=Backup\r\n",
                      original = "[fltsim.0]\r\ntitle=Original\r\n";
    for (const bool fromOriginal : {false, true}) {
        const std::string& kept = fromOriginal ? original : backup;
        std::size_t operations = 1; // found by the runs: one more than a whole restore has
        for (std::size_t failing = 0; failing < operations * 2; ++failing) {
            const bool andAfter = failing % 2 == 1;
            RepaintWorld world;
            const std::filesystem::path cfg = world.aircraft() / "Aircraft.cfg",
                                        bak = world.aircraft() / "Aircraft.bak";
            testkit::writeFile(cfg, current);
            testkit::writeFile(bak, backup);
            testkit::writeFile(world.aircraft() / "Aircraft.original", original);
            std::size_t n = 0;
            testkit::FailingFileOperations files([&](const std::string&, const std::string&) {
                return andAfter ? n++ >= failing / 2 : n++ == failing / 2;
            });
            const Status status = RestoreAircraftCfg(world.app, fromOriginal, files);
            operations = std::max(operations, n + 1);
            const std::string label =
                std::to_string(fromOriginal) + " " + std::to_string(failing) + ": " + status.text();
            const std::string nowCfg = readFile(cfg), nowBak = readFile(bak);

            EXPECT_EQ(bool(status), files.failures == 0) << label;
            EXPECT_TRUE(nowCfg == current || nowCfg == kept) << label;
            EXPECT_TRUE(nowCfg == current || nowBak == current) << label << ": the current file is lost";
            const bool toldCopy = status.text().find("holds a copy of aircraft.cfg") != std::string::npos;
            EXPECT_EQ(nowBak, nowCfg == kept || toldCopy ? current : backup) << label;
            EXPECT_TRUE(andAfter || !toldCopy) << label;
            EXPECT_EQ(readFile(world.aircraft() / "Aircraft.original"), original) << label;
            for (const std::string& name : RepaintWorld::listing(world.aircraft()))
                EXPECT_TRUE(andAfter || !temporaryFileTarget(name)) << label << ": " << name << " is left";
        }
        EXPECT_GE(operations, 9u); // the reads and two replacements of four steps each
    }
}

} // namespace
} // namespace livrano
