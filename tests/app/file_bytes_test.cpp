#include "app/file_bytes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "support/temp_dir.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

TEST(ReplaceFileBytes, KeepsLinksAndPermissionsAndRefusesWhatIsNoFile) {
    struct Case {
        const char* what;
        std::function<void(const TempDir&)> prepare; // makes dir/"out" (and what it points to)
        bool replaced;
        std::function<void(const TempDir&)> check;
    };
    const Case cases[] = {
        {"private file",
         [](const TempDir& d) {
             writeFile(d / "out", "old");
             fs::permissions(d / "out", fs::perms::owner_read | fs::perms::owner_write);
         },
         true,
         [](const TempDir& d) {
             EXPECT_EQ(fs::status(d / "out").permissions(), fs::perms::owner_read | fs::perms::owner_write);
         }},
        {"link to a linked mod's file",
         [](const TempDir& d) {
             fs::create_directories(d / "mods");
             writeFile(d / "mods" / "real", "old");
             fs::permissions(d / "mods" / "real", fs::perms::owner_all | fs::perms::group_read);
             fs::create_symlink("real", d / "mods" / "link");
             fs::create_symlink(d / "mods" / "link", d / "out");
         },
         true,
         [](const TempDir& d) {
             EXPECT_TRUE(fs::is_symlink(fs::symlink_status(d / "out")));
             EXPECT_TRUE(fs::is_symlink(fs::symlink_status(d / "mods" / "link")));
             EXPECT_EQ(readFile(d / "mods" / "real"), "new");
             EXPECT_EQ(fs::status(d / "mods" / "real").permissions(),
                       fs::perms::owner_all | fs::perms::group_read);
         }},
        {"pipe", [](const TempDir& d) { ASSERT_EQ(mkfifo((d / "out").c_str(), 0600), 0); }, false,
         [](const TempDir& d) { EXPECT_TRUE(fs::is_fifo(d / "out")); }},
        {"link loop", [](const TempDir& d) { fs::create_symlink("out", d / "out"); }, false,
         [](const TempDir&) {}},
    };
    for (const Case& c : cases) {
        const TempDir dir;
        c.prepare(dir);
        const auto entries = [&] { return std::distance(fs::recursive_directory_iterator(dir.path()), {}); };
        const auto before = entries();
        const Status s = replaceFileBytes(dir / "out", "new");
        EXPECT_EQ(s.ok(), c.replaced) << c.what << ": " << s.message();
        if (c.replaced)
            EXPECT_EQ(readFile(dir / "out"), "new") << c.what;
        else
            EXPECT_NE(s.message().find("out"), std::string::npos) << c.what;
        c.check(dir);
        EXPECT_EQ(entries(), before) << c.what << ": a temporary file was left";
    }
}

} // namespace
} // namespace livrano
