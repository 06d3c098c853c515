#include "app/file_bytes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

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
    const TempDir dir;
    writeFile(dir / "private", "old");
    fs::permissions(dir / "private", fs::perms::owner_read | fs::perms::owner_write);
    // A link to a linked mod's file.
    writeFile(dir / "mods" / "real", "old");
    fs::permissions(dir / "mods" / "real", fs::perms::owner_all | fs::perms::group_read);
    fs::create_symlink("real", dir / "mods" / "link");
    fs::create_symlink(dir / "mods" / "link", dir / "linked");
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
    fs::create_symlink("loop", dir / "loop");

    // What is replaced, and the file that takes its bytes (nullptr: refused).
    const std::pair<const char*, const char*> cases[] = {
        {"private", "private"}, {"linked", "mods/real"}, {"pipe", nullptr}, {"loop", nullptr}};
    for (const auto& [target, written] : cases) {
        std::map<std::string, Entry> expected = snapshot(dir.path());
        const Status s = replaceFileBytes(dir / target, target);
        EXPECT_EQ(s.ok(), written != nullptr) << target << ": " << s.message();
        if (written)
            std::get<2>(expected.at(written)) = target;
        else
            EXPECT_NE(s.message().find(target), std::string::npos) << s.message();
        EXPECT_EQ(snapshot(dir.path()), expected) << target;
    }
}

} // namespace
} // namespace livrano
