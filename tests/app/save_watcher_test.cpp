// SPDX-License-Identifier: MIT
// A completed save is seen by inotify and by the stat-poll fallback alike, a rename included.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/save_watcher.h"
#include "support/temp_dir.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;

TEST(SaveWatcher, SeesASaveByRenameInEitherMode) {
    for (FileWatcher::Mode mode : {FileWatcher::Mode::Notify, FileWatcher::Mode::Poll}) {
        testkit::TempDir dir;
        const fs::path file = dir / "Livery.bmp";
        testkit::writeFile(file, "first");
        SaveWatcher watcher({file, dir / "Livery_a.bmp"}, 50, mode);
        std::thread painter([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            testkit::writeFile(dir / "Livery.tmp", "second");
            fs::rename(dir / "Livery.tmp", file);
        });
        EXPECT_TRUE(watcher.nextSave());
        painter.join();
        EXPECT_EQ(testkit::readFile(file), "second");
        EXPECT_EQ(watcher.mode(), mode);
    }
}

} // namespace
} // namespace livrano
