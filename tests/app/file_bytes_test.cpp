#include "app/file_bytes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <map>
#include <tuple>

#include "support/temp_dir.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::writeFile;

// Every entry under `folder`: its type, its permissions and a file's bytes.
using Entry = std::tuple<fs::file_type, fs::perms, std::string>;
std::map<std::string, Entry> snapshot(const fs::path& folder) {
    std::map<std::string, Entry> entries;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(folder)) {
        const fs::file_status s = e.symlink_status();
        entries[e.path().lexically_relative(folder).string()] = {
            s.type(), s.permissions(), fs::is_regular_file(s) ? testing::readFile(e.path()) : ""};
    }
    return entries;
}

// A replacement changes the bytes of the one file it writes and nothing else: links stay links,
// permissions stay, no temporary file is left, and what is no regular file is refused.
TEST(ReplaceFileBytes, KeepsLinksAndPermissionsAndRefusesWhatIsNoFile) {
    struct Case {
        const char* what;
        std::function<void(const TempDir&)> prepare; // makes dir/"out" (and what it points to)
        const char* written;                         // the file that takes the bytes; nullptr: refused
    };
    const Case cases[] = {
        {"private file",
         [](const TempDir& d) {
             writeFile(d / "out", "old");
             fs::permissions(d / "out", fs::perms::owner_read | fs::perms::owner_write);
         },
         "out"},
        {"link to a linked mod's file",
         [](const TempDir& d) {
             writeFile(d / "mods" / "real", "old");
             fs::permissions(d / "mods" / "real", fs::perms::owner_all | fs::perms::group_read);
             fs::create_symlink("real", d / "mods" / "link");
             fs::create_symlink(d / "mods" / "link", d / "out");
         },
         "mods/real"},
        {"pipe", [](const TempDir& d) { ASSERT_EQ(mkfifo((d / "out").c_str(), 0600), 0); }, nullptr},
        {"link loop", [](const TempDir& d) { fs::create_symlink("out", d / "out"); }, nullptr},
    };
    for (const Case& c : cases) {
        const TempDir dir;
        c.prepare(dir);
        std::map<std::string, Entry> expected = snapshot(dir.path());
        const Status s = replaceFileBytes(dir / "out", "new");
        EXPECT_EQ(s.ok(), c.written != nullptr) << c.what << ": " << s.message();
        if (c.written)
            std::get<2>(expected.at(c.written)) = "new";
        else
            EXPECT_NE(s.message().find("out"), std::string::npos) << c.what;
        EXPECT_EQ(snapshot(dir.path()), expected) << c.what;
    }
}

} // namespace
} // namespace livrano
