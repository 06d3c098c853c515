// SPDX-License-Identifier: MIT
#include "output/work_journal.h"

#include <gtest/gtest.h>

#include "output/repaint_world.h"
#include "support/temp_dir.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;

// A journal that stays, or whose removal may not last, is a failure of the command that closes
// it: a command that claimed success would leave the next one redoing finished work.
TEST(WorkJournal, ClosingFailsUnlessTheJournalIsGoneForGood) {
    const struct {
        const char* failing; // the operation made to fail
        bool closed;
        bool left;
    } cases[] = {{"", true, false}, {"removeFile", false, true}, {"syncFolder", false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing);
        testkit::TempDir dir;
        ASSERT_TRUE(writeJournal(dir.path(), WorkJournal{}, systemFileOperations()));
        testkit::FailingFileOperations files(
            [&](const std::string& operation, const std::string&) { return operation == c.failing; });
        EXPECT_EQ(closeJournal(dir.path(), files).ok(), c.closed);
        EXPECT_EQ(fs::exists(journalFile(dir.path())), c.left);
        // A journal that is not there is no failure, whatever would fail.
        fs::remove(journalFile(dir.path()));
        EXPECT_TRUE(closeJournal(dir.path(), files));
    }
}

} // namespace
} // namespace livrano
