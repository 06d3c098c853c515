// SPDX-License-Identifier: MIT
// A program folder an older version set up, met by a newer program at its start.

#include <gtest/gtest.h>

#include "app/checksum.h"
#include "livrano_version.h"
#include "output/program_setup.h"
#include "output/repaint_world.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

// The list and the manual change, a sound stays, a skin file is new.
const std::string kList = "Data/airlines.cfg";
const Files kOld = {{kList, "K"}, {"Media/A.wav", "a"}, {"Livrano.pdf", "1"}};
const Files kNew = {{kList, "K N"}, {"Media/A.wav", "a"}, {"Media/B.bmp", "b"}, {"Livrano.pdf", "2"}};

// The old files as a setup of `version` wrote them (nullptr: no manifest; "": no version line),
// `changed` changed by the painter since, a configuration, a Data.* folder, a template and a file
// beside the list of theirs, and the new version installed.
struct Upgraded {
    testkit::TempDir dir;
    fs::path program = dir / "Livrano";
    Files refreshed = kNew; // what the folder holds once refreshed
    Upgraded(const char* version, const std::string& changed) {
        std::string manifest = version && *version ? "# Livrano " + std::string(version) + "\n" : "";
        for (const auto& [file, bytes] : kOld) {
            testkit::writeFile(program / file, file == changed ? "mine" : bytes);
            manifest += sha256Hex(bytes) + "  " + file + "\n";
        }
        if (version)
            testkit::writeFile(program / "Livrano.sha256", manifest);
        for (const auto& [file, bytes] : kNew)
            testkit::writeFile(dir / "share" / file, bytes);
        for (const char* file :
             {"Data.A/a.cfg", "Aircraft Configurations/A.bin", "Templates/A.bmp", "Data/a"})
            testkit::writeFile(program / file, refreshed[file] = "theirs");
        if (!changed.empty())
            refreshed[changed] = "mine";
        if (changed == kList)
            refreshed[kList + ".new"] = kNew.at(kList);
    }
    Status refresh(FileOperations& files, ProgramRefresh& result) const {
        return refreshProgramFolder(dir / "share", program, false, files, result);
    }
};

TEST(ProgramRefresh, ReplacesWhatNobodyChangedOnceAndPutsTheNewListBesideAChangedOne) {
    // The version that set the folder up, the file the painter changed, whether it is refreshed.
    const std::tuple<const char*, std::string, bool> cases[] = {
        {"0.0.9", "", true},          {"", "Livrano.pdf", true}, {"0.0.9", kList, true},
        {LIVRANO_VERSION, "", false}, {"999.0", kList, false},   {nullptr, "", false}};
    for (const auto& [version, changed, refreshed] : cases) {
        SCOPED_TRACE(std::string(version ? version : "no manifest") + " " + changed);
        Upgraded world(version, changed);
        const testkit::Snapshot before = testkit::snapshot(world.program);
        ProgramRefresh refresh, second;
        ASSERT_TRUE(world.refresh(systemFileOperations(), refresh));
        EXPECT_EQ(refresh.needed, refreshed);
        for (const auto& [file, bytes] : world.refreshed)
            EXPECT_TRUE(!refreshed || testkit::readFile(world.program / file) == bytes) << file;
        EXPECT_TRUE(refreshed || testkit::snapshot(world.program) == before);
        EXPECT_EQ(fs::exists(world.program / (kList + ".new")), refreshed && changed == kList);
        // The next start: nothing to do, not one file operation.
        testkit::FailingFileOperations again([](auto&, auto&) { return false; });
        EXPECT_TRUE(world.refresh(again, second) && !second.needed && again.log.empty());
    }
}

// Each file operation made to fail in turn: nothing changes while the new files are written
// beside their places, every file is whole after any failure, and the next start finishes.
TEST(ProgramRefresh, AFailedOperationLeavesEveryFileOldOrNewAndTheNextStartFinishes) {
    testkit::FailingFileOperations clean([](auto&, auto&) { return false; });
    ProgramRefresh first;
    ASSERT_TRUE(Upgraded("", kList).refresh(clean, first));
    for (std::size_t failing = 0; failing < clean.log.size(); ++failing) {
        const std::string& operation = clean.log[failing];
        SCOPED_TRACE(operation);
        Upgraded world("", kList);
        testkit::Snapshot old = testkit::snapshot(world.program);
        std::size_t seen = 0;
        testkit::FailingFileOperations files([&](auto&, auto&) { return seen++ == failing; });
        ProgramRefresh refresh, next;
        EXPECT_FALSE(world.refresh(files, refresh));
        bool allNew = true, allOld = true;
        for (const auto& [file, bytes] : world.refreshed) {
            const std::string now = testkit::readFile(world.program / file);
            EXPECT_TRUE(now == bytes || now == std::get<2>(old[file])) << file;
            allNew = allNew && now == bytes;
            allOld = allOld && now == std::get<2>(old[file]);
        }
        EXPECT_TRUE(allOld || !(operation.starts_with("writeFile") || operation.starts_with("syncFile ")) ||
                    operation.ends_with("sha256"));
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(world.program))
            EXPECT_FALSE(temporaryFileTarget(entry.path().filename().string())) << entry.path();
        EXPECT_TRUE(world.refresh(systemFileOperations(), next) && (allNew || next.needed));
        for (const auto& [file, bytes] : world.refreshed)
            EXPECT_EQ(testkit::readFile(world.program / file), bytes) << file;
    }
}

} // namespace
} // namespace livrano
