// SPDX-License-Identifier: MIT
// build --watch as a painter uses it: save, look, save again; Ctrl-C ends it cleanly.

#include <gtest/gtest.h>

#ifndef _WIN32

#include <chrono>
#include <thread>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include "support/run_cli.h"
#include "support/temp_dir.h"

extern char** environ;

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testkit::readFile;
using testkit::shellQuoted;
using testkit::TempDir;

// Waits up to a minute for `done`, looking every 50 ms.
template <typename Done> bool eventually(Done done) {
    for (int i = 0; i < 1200 && !done(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return done();
}

TEST(WatchedBuild, RebuildsOnEverySaveKeepsTheLastGoodTexturesAndEndsOnCtrlC) {
    TempDir dir;
    ASSERT_EQ(testkit::runCli("demo " + shellQuoted(dir.path().string())).exitCode, 0);
    const fs::path program = dir / "Corvane Software" / "Livrano";
    const fs::path picture = dir / "Livery.bmp";
    fs::copy_file(program / "Templates" / "Skylark Template.bmp", picture);
    fs::copy_file(program / "Templates" / "Skylark Template_a.bmp", dir / "Livery_a.bmp");
    const std::string original = readFile(picture);
    const fs::path fuse = dir / "Aircraft" / "Corvane C-310 Skylark" / "Texture.WAT" / "C310_FUSE.bmp";
    const fs::path out = dir / "out.txt";

    // exec: the signal goes to livrano-cli itself, not to a shell waiting for it.
    std::string command = "exec " + shellQuoted(LIVRANO_CLI_PATH) + " build --program-folder " +
                          shellQuoted(program.string()) + " --aircraft 0 --template " +
                          shellQuoted(picture.string()) + " --variation Watched --folder WAT --watch " +
                          "--settle-ms 100 >" + shellQuoted(out.string()) + " 2>/dev/null";
    std::string sh = "/bin/sh", c = "-c";
    char* argv[] = {sh.data(), c.data(), command.data(), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ), 0);
    auto lines = [&](const char* what) {
        const std::string text = readFile(out);
        std::size_t n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    };
    ASSERT_TRUE(eventually([&] { return lines("Watching ") == 1; })) << readFile(out);
    const std::string built = readFile(fuse);

    // A save in place: the whole template turns white.
    std::string painted = original;
    std::fill(painted.begin() + 1000, painted.end(), '\xFF');
    testkit::writeFile(picture, painted);
    ASSERT_TRUE(eventually([&] { return lines(" textures in ") == 1; })) << readFile(out);
    const std::string repainted = readFile(fuse);
    EXPECT_NE(repainted, built);

    // A picture still being written is not built from; the textures stay.
    testkit::writeFile(picture, painted.substr(0, 5000));
    ASSERT_TRUE(eventually([&] { return lines("not rebuilt, the last good textures stay") == 1; }))
        << readFile(out);
    EXPECT_EQ(readFile(fuse), repainted);

    // A save that writes a new file and renames it over the old one.
    testkit::writeFile(dir / "saving.bmp", original);
    fs::rename(dir / "saving.bmp", picture);
    ASSERT_TRUE(eventually([&] { return lines(" textures in ") == 2; })) << readFile(out);
    EXPECT_EQ(readFile(fuse), built);

    // The alpha companion is watched too.
    testkit::writeFile(dir / "Livery_a.bmp", readFile(dir / "Livery_a.bmp"));
    ASSERT_TRUE(eventually([&] { return lines(" textures in ") == 3; })) << readFile(out);

    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(lines("Watching ended."), 1u);
    EXPECT_EQ(testkit::entryCount(fuse.parent_path()), 7); // no temporary file left beside the textures
}

} // namespace
} // namespace livrano

#endif
