// SPDX-License-Identifier: MIT
// What the file system would refuse midway through installing, removing or packing a livery is
// refused by the plan, before anything is written: the dry run, which only plans, ends as the
// command itself does.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "output/aircraft_cfg.h"
#include "output/livery_install.h"
#include "output/livery_pack.h"
#include "output/repaint_world.h"
#include "output/zip_archive.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;
using testkit::FailingFileOperations;
using testkit::RepaintWorld;

// A livery of the craft as remove finds one: its textures in the shared folder, its own model
// and flight model.
ZipReader& craftLivery(ZipReader& zip) {
    std::string bytes;
    EXPECT_TRUE(makeZip({{"texture/T_FUSE_QRX_1.bmp", "fuse"},
                         {"Model.QRX/Craft_QRX.mdl", "model"},
                         {"Model.QRX/Model.cfg", "[models]\r\nnormal=Craft_QRX\r\n"},
                         {"Craft_QRX.air", "air"},
                         {"fltsim.cfg", "[fltsim.X]\r\ntitle=Shared\r\nmodel=QRX\r\nsim=Craft_QRX\r\n"}},
                        bytes));
    EXPECT_TRUE(zip.open(std::move(bytes)));
    return zip;
}

Status installZip(RepaintWorld& w, bool dryRun, FileOperations& files) {
    ZipReader zip;
    InstallPlan plan;
    Status s = planLiveryInstall(w.app, craftLivery(zip), plan, files);
    if (s && !dryRun)
        s = InstallLivery(w.app.extraFields, w.frontend, zip, plan, files);
    return s;
}

Status removeLivery(RepaintWorld& w, bool dryRun, FileOperations& files) {
    BuildPlan plan;
    Status s = planLiveryRemoval(w.app, "Shared", plan, files);
    if (s && !dryRun)
        s = WriteAircraftCfg(w.app.extraFields, w.frontend, plan, files);
    return s;
}

Status packZip(const fs::path& zip, bool dryRun, FileOperations& files) {
    const std::string bytes(3000, 'z');
    Status s = checkPackTarget(zip, bytes.size(), files);
    if (s && !dryRun)
        s = files.replaceFile(zip, bytes);
    return s;
}

TEST(LiveryPlan, RefusesWhatTheFileSystemWouldRefuseMidway) {
    using Operation = std::function<Status(RepaintWorld&, bool dryRun, FileOperations&)>;
    const Operation installing = installZip;
    const Operation removing = removeLivery;
    const auto packing = [](const std::string& name) -> Operation {
        return [name](RepaintWorld& w, bool dryRun, FileOperations& files) {
            return packZip(w.root() / name, dryRun, files);
        };
    };
    const auto installed = [](RepaintWorld& w) {
        const Status s = installZip(w, false, systemFileOperations());
        ASSERT_TRUE(s) << s.text();
    };
    const struct {
        std::function<void(RepaintWorld&)> prepare;
        Operation operation;
        std::optional<std::uintmax_t> freeSpace;
        std::string named;
    } cases[] = {
        {{}, installing, 16, "Too little free space for installing the livery: free "},
        {[](RepaintWorld& w) {
             fs::create_directories(w.aircraft());
             fs::create_directory_symlink("Nowhere", w.aircraft() / "Texture");
         },
         installing,
         {},
         "Texture is not a folder, and installing the livery makes a folder of that name"},
        {installed, removing, 16, "Too little free space for taking the livery out"},
        {[=](RepaintWorld& w) {
             installed(w);
             fs::remove(w.aircraft() / "Aircraft.bak");
             fs::create_directory(w.aircraft() / "Aircraft.bak");
         },
         removing,
         {},
         "Aircraft.bak is not a regular file"},
        {{}, packing("Missing/livery.zip"), {}, "There is no folder"},
        {[](RepaintWorld& w) { testkit::writeFile(w.root() / "file", ""); },
         packing("file/livery.zip"),
         {},
         "There is no folder"},
        {[](RepaintWorld& w) { fs::create_directory(w.root() / "livery.zip"); },
         packing("livery.zip"),
         {},
         "livery.zip is not a regular file"},
        {{}, packing(std::string(250, 'z') + ".zip"), {}, "is too long for the file system"},
        {{}, packing("livery.zip"), 2048, "Too little free space for packing: free 1 KB more"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.named);
        RepaintWorld world;
        if (c.prepare)
            c.prepare(world);
        const testkit::Snapshot before = testkit::snapshot(world.root());
        FailingFileOperations files([](const std::string&, const std::string&) { return false; });
        files.freeSpace = c.freeSpace;
        for (const bool dryRun : {true, false}) {
            const Status status = c.operation(world, dryRun, files);
            EXPECT_EQ(status.kind(), Status::Kind::Refused) << dryRun;
            EXPECT_THAT(status.text(), HasSubstr(c.named)) << dryRun;
            EXPECT_EQ(testkit::snapshot(world.root()), before) << dryRun;
        }
    }
}

} // namespace
} // namespace livrano
