// SPDX-License-Identifier: MIT
#include "output/model_textures.h"

#include <gtest/gtest.h>

#include "output/aircraft_folders.h"
#include "output/repaint_world.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testkit::readFile;
using testkit::RepaintWorld;
using testkit::writeFile;

TEST(RenameModelTextures, PatchesTheNamesAtTheOffsetsAndNothingElse) {
    RepaintWorld world;
    const BuildPlan plan = world.plan();
    ASSERT_TRUE(CreateAircraftFolders(world.frontend, plan));
    ASSERT_TRUE(RenameModelTextures(world.frontend, plan));

    const std::string original = RepaintWorld::modelBytes();
    const std::string patched = readFile(world.aircraft() / "Model.QRX" / "Craft_QRX.mdl");
    ASSERT_EQ(patched.size(), original.size());
    // Offset 1 is the first byte; the fuselage name also sits at 200, the wing's at 100; the tail
    // texture has no offsets.
    std::string expected = original;
    expected.replace(0, 16, "T_FUSE_QRX_1.bmp");
    expected.replace(199, 16, "T_FUSE_QRX_1.bmp");
    expected.replace(99, 14, "T_WING_QRX.bmp");
    EXPECT_EQ(patched, expected);
    EXPECT_EQ(readFile(world.aircraft() / "Model.QRX" / "Model.cfg"), "[models]\r\nnormal=Craft_QRX\r\n");
    EXPECT_EQ(world.frontend.statusTexts.back(), "Renaming Textures in MDL");
    EXPECT_EQ(readFile(world.data() / "Craft_XXX.mdl"), original);
}

TEST(RenameModelTextures, KeepsTheRestOfAnExistingModelCfg) {
    RepaintWorld world;
    writeFile(world.aircraft() / "model.qrx" / "model.CFG", "[models]\r\nnormal=old\r\nlow=old_low\r\n");
    const BuildPlan plan = world.plan();
    ASSERT_TRUE(CreateAircraftFolders(world.frontend, plan));
    ASSERT_TRUE(RenameModelTextures(world.frontend, plan));
    EXPECT_EQ(RepaintWorld::listing(world.aircraft() / "model.qrx"),
              (std::set<std::string>{"model.CFG", "Craft_QRX.mdl"}));
    EXPECT_EQ(readFile(world.aircraft() / "model.qrx" / "model.CFG"),
              "[models]\r\nnormal=Craft_QRX\r\nlow=old_low\r\n");
}

} // namespace
} // namespace livrano
