// SPDX-License-Identifier: MIT
#include "output/interrupted_work.h"

#include <gtest/gtest.h>

#include "app/checksum.h"
#include "support/temp_dir.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testkit::readFile;
using testkit::TempDir;
using testkit::writeFile;

// What the next command finds of a killed one, and what finishing it leaves: the work that
// reached aircraft.cfg is completed, the rest taken away, and nothing outside the aircraft folder
// is touched whatever the journal says.
TEST(InterruptedWork, FinishesWhatReachedAircraftCfgAndTakesAwayTheRest) {
    const std::string cfg = "[fltsim.0]\r\ntitle=New\r\ntexture=NEW\r\n";
    const struct {
        const char* what;
        std::string journal; // "" for none; "%CFG%" stands for the hash of aircraft.cfg
        std::vector<std::string> gone;
        const char* summary;
    } cases[] = {
        {"committed: the removals are finished",
         "livrano work journal 1\ncfg %CFG%\nadded Texture.NEW\nadded Texture.NEW/a.bmp\nremove "
         "Texture.OLD/a.bmp\nremove Texture.OLD\n",
         {"Texture.OLD/a.bmp", "Texture.OLD"},
         "Finished what an interrupted run left in Craft: removed 1 temporary file; finished its removals (2 "
         "files or folders)"},
        {"not committed: what it added goes",
         "livrano work journal 1\ncfg 00\nadded Texture.NEW\nadded Texture.NEW/a.bmp\nremove "
         "Texture.OLD/a.bmp\n",
         {"Texture.NEW/a.bmp", "Texture.NEW"},
         "Finished what an interrupted run left in Craft: removed 1 temporary file; took away what it added (2 "
         "files or folders)"},
        {"killed before aircraft.cfg was composed",
         "livrano work journal 1\nadded Texture.NEW/a.bmp\n",
         {"Texture.NEW/a.bmp"},
         nullptr},
        {"a damaged journal names nothing outside the folder",
         "livrano work journal 1\ncfg 00\nadded ../outside.txt\nadded /tmp\nadded Texture.NEW/../../outside.txt\n"
         "added %ZZ\nadded Texture.NEW/a.bmp\n",
         {"Texture.NEW/a.bmp"},
         nullptr},
        {"an unreadable journal is closed and nothing else goes",
         "not a journal\nadded Texture.NEW/a.bmp\n",
         {},
         nullptr},
        {"no journal: only the temporary file goes", "", {}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const fs::path aircraft = dir / "Craft";
        writeFile(aircraft / "aircraft.cfg", cfg);
        writeFile(aircraft / "Texture.NEW" / "a.bmp", "new");
        writeFile(aircraft / "Texture.OLD" / "a.bmp", "old");
        writeFile(dir / "outside.txt", "keep");
        writeFile(aircraft / "Texture.OLD" / "a.bmp.livrano-12.tmp", "half");
        if (!c.journal.empty()) {
            std::string journal = c.journal;
            if (const std::size_t at = journal.find("%CFG%"); at != std::string::npos)
                journal.replace(at, 5, sha256Hex(cfg));
            writeFile(journalFile(aircraft), journal);
        }
        const testkit::Snapshot before = testkit::snapshot(dir.path());
        const InterruptedWork work = findInterruptedWork(aircraft, dir / "program");
        EXPECT_EQ(testkit::snapshot(dir.path()), before); // finding writes nothing
        if (c.summary) {
            EXPECT_EQ(work.summary(true), c.summary);
        }
        ASSERT_TRUE(finishInterruptedWork(work, systemFileOperations()));
        testkit::Snapshot expected = before;
        expected.erase("Craft/Texture.OLD/a.bmp.livrano-12.tmp");
        expected.erase("Craft/Livrano.journal");
        for (const std::string& gone : c.gone)
            expected.erase("Craft/" + gone);
        EXPECT_EQ(testkit::snapshot(dir.path()), expected);
        EXPECT_TRUE(findInterruptedWork(aircraft, dir / "program").empty());
    }
}

// An earlier version set a replaced livery's files aside: each goes back where nothing took its
// place, the rest is removed with the folder.
TEST(InterruptedWork, SetAsideFilesGoBackWhereTheirPlaceIsFree) {
    TempDir dir;
    const fs::path aircraft = dir / "Craft";
    writeFile(aircraft / "Livrano.replaced" / "Texture.OLD" / "a.bmp", "old a");
    writeFile(aircraft / "Livrano.replaced" / "Texture.OLD" / "b.bmp", "old b");
    writeFile(aircraft / "Livrano.replaced.2" / "Gone" / "c.bmp", "no folder for it");
    writeFile(aircraft / "Texture.OLD" / "b.bmp", "new b");
    const InterruptedWork work = findInterruptedWork(aircraft, dir / "program");
    EXPECT_EQ(work.setAside.size(), 2u);
    ASSERT_TRUE(finishInterruptedWork(work, systemFileOperations()));
    EXPECT_EQ(readFile(aircraft / "Texture.OLD" / "a.bmp"), "old a");
    EXPECT_EQ(readFile(aircraft / "Texture.OLD" / "b.bmp"), "new b");
    EXPECT_FALSE(fs::exists(aircraft / "Livrano.replaced"));
    EXPECT_FALSE(fs::exists(aircraft / "Livrano.replaced.2"));
    EXPECT_FALSE(fs::exists(aircraft / "Gone"));
}

} // namespace
} // namespace livrano
