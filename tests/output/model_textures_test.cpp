#include "output/model_textures.h"

#include <gtest/gtest.h>

#include "output/aircraft_folders.h"
#include "output/repaint_world.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::RepaintWorld;
using testing::writeFile;

TEST(RenameModelTextures, PatchesTheNamesAtTheOffsetsAndNothingElse) {
    RepaintWorld world;
    const BuildPlan plan = world.plan();
    ASSERT_TRUE(CreateAircraftFolders(world.app, plan));
    ASSERT_TRUE(RenameModelTextures(world.app, plan));

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
    ASSERT_TRUE(CreateAircraftFolders(world.app, plan));
    ASSERT_TRUE(RenameModelTextures(world.app, plan));
    EXPECT_EQ(RepaintWorld::listing(world.aircraft() / "model.qrx"),
              (std::set<std::string>{"model.CFG", "Craft_QRX.mdl"}));
    EXPECT_EQ(readFile(world.aircraft() / "model.qrx" / "model.CFG"),
              "[models]\r\nnormal=Craft_QRX\r\nlow=old_low\r\n");
}

// A model that would change length, or cannot be patched, is refused by the plan before any
// copy is made; a missing model fails the step.
TEST(RenameModelTextures, FailsWithoutChangingTheModelsLength) {
    struct Case {
        const char* what;
        std::function<void(RepaintWorld&)> arrange;
        bool planned; // the plan passes; the step fails
    };
    const Case cases[] = {
        {"missing data model", [](RepaintWorld& w) { fs::remove(w.data() / "Craft_XXX.mdl"); }, true},
        {"offset 0", [](RepaintWorld& w) { w.app.spec.Textures[1].MdlOffsets = {0}; }, false},
        {"mask without a star", [](RepaintWorld& w) { w.app.spec.ReplaceMask = "Craft_"; }, false},
    };
    for (const Case& c : cases) {
        RepaintWorld world;
        c.arrange(world);
        BuildPlan plan;
        EXPECT_EQ(planBuild(world.app, plan).ok(), c.planned) << c.what;
        if (c.planned) {
            ASSERT_TRUE(CreateAircraftFolders(world.app, plan));
            EXPECT_FALSE(RenameModelTextures(world.app, plan)) << c.what;
        }
        EXPECT_FALSE(fs::exists(world.aircraft() / "Model.QRX" / "Craft_QRX.mdl")) << c.what;
    }
}

} // namespace
} // namespace livrano
