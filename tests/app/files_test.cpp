// SPDX-License-Identifier: MIT
// Files on disk: names the simulator's way (file_names.h) and whole-file replacement (file_bytes.h).

#include "app/file_names.h"

#include <cerrno>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/file_bytes.h"
#include "support/temp_dir.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;
using testkit::snapshot;
using testkit::TempDir;
using testkit::writeFile;

TEST(ProgramLocation, JoinsWindowsStyleRelativeParts) {
    const fs::path root = "/sim/Corvane Software/Livrano";
    EXPECT_EQ(programLocation(root, "\\Data\\airlines.cfg"),
              fs::path("/sim/Corvane Software/Livrano/Data/airlines.cfg"));
    EXPECT_EQ(programLocation(root, "\\..\\..\\Aircraft\\B737"), fs::path("/sim/Aircraft/B737"));
    EXPECT_EQ(programLocation(root, "\\Data.b737"), fs::path("/sim/Corvane Software/Livrano/Data.b737"));
}

TEST(ResolveCaseless, FindsExistingNamesWhateverTheirCase) {
    TempDir dir;
    fs::create_directories(dir / "Aircraft/B737/texture");
    testkit::writeFile(dir / "Aircraft/B737/aircraft.cfg", "x");

    EXPECT_EQ(resolveCaseless(dir / "aircraft/b737/Aircraft.cfg"), dir / "Aircraft/B737/aircraft.cfg");
    EXPECT_EQ(resolveCaseless(dir / "Aircraft/B737/Texture"), dir / "Aircraft/B737/texture");
    // Missing tails are kept as given, below the resolved part.
    EXPECT_EQ(resolveCaseless(dir / "AIRCRAFT/B737/Model.ABC/x.mdl"), dir / "Aircraft/B737/Model.ABC/x.mdl");
    // Accented letters fold as the simulator's code page folds them.
    fs::create_directories(dir / "Aircraft/B737/Texture.àé€");
    EXPECT_EQ(resolveCaseless(dir / "aircraft/b737/TEXTURE.ÀÉ€"), dir / "Aircraft/B737/Texture.àé€");
    // Where names differ only in case, the exact one wins.
    fs::create_directories(dir / "Aircraft/B737/Texture");
    EXPECT_EQ(resolveCaseless(dir / "Aircraft/B737/texture"), dir / "Aircraft/B737/texture");
    EXPECT_EQ(resolveCaseless(dir / "Aircraft/B737/Texture"), dir / "Aircraft/B737/Texture");
}

// A refusal names what the name is for and the name itself.
TEST(CheckSafeFileName, RefusesNamesThatLeaveTheirFolder) {
    const char* bad[] = {"",    ".",         "..",   "a/b",    "a\\b", "C:x",     "a*b",  "x?",
                         "a|b", "tab\there", "dot.", "blank ", "CON",  "nul.txt", "com1", "LPT9.bmp"};
    for (const char* name : bad) {
        const Status s = checkSafeFileName("folder extension", name);
        EXPECT_FALSE(s.ok()) << name;
        EXPECT_THAT(s.detail(), HasSubstr("folder extension \"" + std::string(name) + "\""));
    }
    const char* good[] = {"QRX",   "Texture.abc", "T_FUSE_XXX_1", "Boeing 737-800",
                          "COM10", "CONSOLE",     "\xE9t\xE9"};
    for (const char* name : good)
        EXPECT_TRUE(checkSafeFileName("folder extension", name).ok()) << name;
}

// The bytes handed over are the program's own: an editor emptying the file meanwhile takes none
// away (a mapped file ends the process with a bus error). A pipe is neither read nor waited on.
// A read that fails says why, whichever way the file is read.
TEST(WithFileBytes, KeepsTheBytesReadWhenTheFileShrinksAndReadsOnlyRegularFiles) {
    const TempDir dir;
    const std::string picture(3 << 20, 'p');
    writeFile(dir / "template.bmp", picture);
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
    fs::create_directory(dir / "folder");
    struct Case {
        const char* name;
        std::optional<std::string> expected;
        const char* why;
    };
    const Case cases[] = {{"template.bmp", picture, ""},
                          {"missing.bmp", std::nullopt, "it is missing"},
                          {"pipe", std::nullopt, "it is not a file"},
                          {"folder", std::nullopt, "it is not a file"}};
    for (const Case& c : cases) {
        const fs::path path = dir / c.name;
        std::string whole = "kept";
        const Status read = readFileBytes(path, whole);
        EXPECT_EQ(read.message(), c.why) << c.name;
        EXPECT_EQ(whole, c.expected.value_or("kept")) << c.name;
        std::optional<std::string> seen;
        const auto use = [&](std::span<const std::uint8_t> bytes) {
            fs::resize_file(path, 0);
            seen.emplace(bytes.begin(), bytes.end());
        };
        EXPECT_EQ(withFileBytes(path, use).message(), c.why) << c.name;
        EXPECT_TRUE(seen == c.expected) << c.name;
    }
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
        testkit::Snapshot expected = snapshot(dir.path());
        errno = EINTR; // left by an interrupted call before: the syncs must not keep retrying
        const Status s = replaceFileBytes(dir / target, target);
        EXPECT_EQ(s.ok(), written != nullptr) << target << ": " << s.message();
        if (written)
            std::get<2>(expected.at(written)) = target;
        else
            EXPECT_THAT(s.message(), HasSubstr(target));
        EXPECT_EQ(snapshot(dir.path()), expected) << target;
    }
}

// A step that fails leaves the old file whole and no temporary file behind; a failure after the
// rename leaves the new file in place, and each is reported, naming the file.
TEST(ReplaceFileBytes, AFailedStepLeavesTheOldFileAndNoTemporaryOne) {
    struct FailingStep final : FileSteps {
        std::string failing;
        Status after(const char* step, const Status& done) {
            return failing == step ? Status::Error("refused") : done;
        }
        Status writeFile(const fs::path& f, std::string_view b, std::optional<fs::perms> p) override {
            return after("write", systemFileSteps().writeFile(f, failing == "write" ? b.substr(0, 1) : b,
                                                              p)); // a full disk
        }
        Status syncFile(const fs::path& f) override { return after("sync", systemFileSteps().syncFile(f)); }
        Status renameFile(const fs::path& from, const fs::path& to) override {
            return failing == "rename" ? Status::Error("refused") : systemFileSteps().renameFile(from, to);
        }
        Status syncFolder(const fs::path& f) override {
            return after("folder", systemFileSteps().syncFolder(f));
        }
        Status removeFile(const fs::path& f) override { return systemFileSteps().removeFile(f); }
    };
    for (const char* step : {"write", "sync", "rename", "folder"}) {
        const TempDir dir;
        writeFile(dir / "aircraft.cfg", "old");
        FailingStep steps;
        steps.failing = step;
        const Status s = replaceFileBytes(dir / "aircraft.cfg", "new", steps);
        EXPECT_FALSE(s.ok()) << step;
        EXPECT_THAT(s.message(), HasSubstr("aircraft.cfg"));
        EXPECT_EQ(testkit::readFile(dir / "aircraft.cfg"), std::string(step) == "folder" ? "new" : "old")
            << step;
        EXPECT_EQ(snapshot(dir.path()).size(), 1u) << step;
    }
}

} // namespace
} // namespace livrano
