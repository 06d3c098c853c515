// SPDX-License-Identifier: MIT
#include "output/aircraft_folders.h"
#include "output/interrupted_work.h"

#include <gtest/gtest.h>

#include "output/repaint_world.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testkit::readFile;
using testkit::RepaintWorld;
using testkit::writeFile;
using Names = std::set<std::string>;

TEST(CreateAircraftFolders, MakesOnlyTheMissingFoldersWhateverTheCaseOfExistingOnes) {
    struct Case {
        std::int16_t textureAssignOnly;
        const char* extension;
        Names existing; // files, created before the build
        Names expected; // everything in the aircraft folder afterwards
        bool extras = false;
    };
    const Case cases[] = {
        {0, "qrx", {}, {"Model.QRX/", "Texture/"}},
        {0, "qrx", {}, {"Model.QRX/", "Texture/", "Texture.qrx/"}, true},
        {1, "qrx", {}, {"Texture.qrx/"}},
        {2, "qrx", {}, {}},
        {0, "qrx", {"texture/old.bmp", "model.QRX/Model.cfg"}, {}},
        {0, "QRX", {"TEXTURE/old.bmp", "Model.qrx/Craft_QRX.mdl"}, {}},
        {1, "abc", {"TEXTURE.ABC/t.bmp"}, {}},
        {1, "ABC", {"texture.abc/t.bmp"}, {}},
    };
    for (const Case& c : cases) {
        RepaintWorld world;
        world.app.spec.TextureAssignOnly = c.textureAssignOnly;
        world.app.settings.FolderExtension = c.extension;
        if (c.extras)
            world.app.extraTextures = {1, "", 1, {"extra.bmp"}};
        Names expected = c.expected;
        for (const std::string& file : c.existing) {
            writeFile(world.aircraft() / file, "kept");
            expected.insert(file);
            expected.insert(file.substr(0, file.find('/') + 1));
        }
        const std::string label = std::to_string(c.textureAssignOnly) + " " + c.extension;
        const BuildPlan plan = world.plan();
        ASSERT_TRUE(CreateAircraftFolders(world.frontend, plan)) << label;
        ASSERT_TRUE(CreateAircraftFolders(world.frontend, plan)) << label; // a second run changes nothing
        EXPECT_TRUE(fs::is_directory(world.aircraft())) << label;
        EXPECT_EQ(RepaintWorld::listing(world.aircraft()), expected) << label;
        for (const std::string& file : c.existing)
            EXPECT_EQ(readFile(world.aircraft() / file), "kept") << label;
        EXPECT_EQ(world.frontend.statusTexts.front(), "Creating Aircraft Directories") << label;
    }
}

TEST(CreateAircraftFolders, FailsWhenAFolderCannotBeMade) {
    // A file where the texture or the model folder belongs, or no simulator Aircraft folder at all.
    for (const char* blocker : {"Texture", "Model.QRX", ""}) {
        RepaintWorld world;
        // The plan refuses what it finds: this comes after it.
        const BuildPlan plan = world.plan();
        if (*blocker != '\0')
            writeFile(world.aircraft() / blocker, "not a folder");
        else
            fs::remove_all(world.root() / "Aircraft");
        const Status status = CreateAircraftFolders(world.frontend, plan);
        EXPECT_FALSE(status) << blocker;
        EXPECT_FALSE(status.message().empty()) << blocker;
    }
}

TEST(CopyAirFile, CopiesTheFlightModelUnderTheVariationsName) {
    RepaintWorld world;
    fs::create_directories(world.aircraft());
    writeFile(world.aircraft() / "craft_qrx.AIR", "older copy");
    ASSERT_TRUE(CopyAirFile(world.plan()));
    // The older copy, whatever its case, is the one replaced: no second file appears.
    EXPECT_EQ(RepaintWorld::listing(world.aircraft()), Names{"craft_qrx.AIR"});
    EXPECT_EQ(readFile(world.aircraft() / "craft_qrx.AIR"), "flight model bytes");
    EXPECT_TRUE(world.frontend.statusTexts.empty());

    const BuildPlan plan = world.plan();
    fs::remove(world.data() / "Craft_XXX.air");
    EXPECT_FALSE(CopyAirFile(plan));
}

// An aircraft folder with two earlier variations: ABC (textures in the shared folder, model
// folder, flight model) and a texture-folder variation "old", plus the aircraft's own files.
void installTwoVariations(const RepaintWorld& world) {
    const fs::path a = world.aircraft();
    for (const char* name : {"T_FUSE_ABC_1.bmp", "T_WING_ABC.bmp", "T_TAIL_ABC.bmp", "T_FUSE_DEF_1.bmp",
                             "T_WING_DEF.bmp", "T_FUSE_XXX_1.bmp", "other.bmp"})
        writeFile(a / "Texture" / name, name);
    writeFile(a / "Model.ABC" / "Model.cfg", "[models]\r\nnormal=Craft_ABC\r\n");
    writeFile(a / "Model.ABC" / "Craft_ABC.mdl", "abc model");
    writeFile(a / "Model.DEF" / "Craft_DEF.mdl", "def model");
    writeFile(a / "Craft_ABC.air", "abc air");
    writeFile(a / "Craft_DEF.air", "def air");
    writeFile(a / "Craft_XXX.air", "base air");
    writeFile(a / "Texture.old" / "a.bmp", "a");
    writeFile(a / "Texture.old" / "Thumbs.db", "cache");
    fs::permissions(a / "Texture.old" / "Thumbs.db", fs::perms::owner_read);
}

TEST(ReplacedLiveryRemoval, DeletesOnlyTheReplacedVariationsFiles) {
    struct Case {
        const char* model;
        const char* texture;
        std::int16_t textureAssignOnly;
        Names gone;
    };
    const Names abc = {
        "Texture/T_FUSE_ABC_1.bmp", "Texture/T_WING_ABC.bmp",  "Texture/T_TAIL_ABC.bmp", "Model.ABC/",
        "Model.ABC/Model.cfg",      "Model.ABC/Craft_ABC.mdl", "Craft_ABC.air"};
    const Case cases[] = {
        {"ABC", "", 0, abc},
        {"abc", "", 0, abc}, // the stored model value is found whatever its case
        // A texture folder goes whole, its read-only thumbnail cache with it.
        {"stock", "old", 1, {"Texture.old/", "Texture.old/a.bmp", "Texture.old/Thumbs.db"}},
        // Values that would leave the aircraft folder, or name the aircraft's own files.
        {"../..", "", 0, {}},
        {"ABC", "../Texture.old", 1, {}},
        {"XXX", "", 0, {}},
        {"", "", 0, {}},
    };
    for (const Case& c : cases) {
        RepaintWorld world;
        installTwoVariations(world);
        world.app.spec.TextureAssignOnly = c.textureAssignOnly;
        world.app.spec.CopyRenameAirFile = static_cast<std::int16_t>(c.textureAssignOnly == 0 ? 1 : 0);
        writeFile(world.aircraft() / "Aircraft.cfg",
                  std::string("[fltsim.0]\r\ntitle=Corvane Craft Blue Sky\r\nmodel=") + c.model +
                      "\r\ntexture=" + c.texture + "\r\n");
        const Names before = RepaintWorld::listing(world.aircraft());
        EXPECT_TRUE(
            completeWork(world.aircraft(), {{}, {}, world.plan().removals, {}}, systemFileOperations()));
        Names expected;
        for (const std::string& name : before)
            if (c.gone.count(name) == 0)
                expected.insert(name);
        EXPECT_EQ(RepaintWorld::listing(world.aircraft()), expected) << c.model << " / " << c.texture;
    }
}

TEST(ReplacedLiveryRemoval, GoesOnPastFilesThatCannotBeDeleted) {
    RepaintWorld world;
    installTwoVariations(world);
    testkit::FailingFileOperations files([](const std::string& op, const std::string& name) {
        return op == "removeFile" && name == "T_WING_ABC.bmp";
    });
    writeFile(world.aircraft() / "Aircraft.cfg",
              "[fltsim.0]\r\ntitle=Corvane Craft Blue Sky\r\nmodel=ABC\r\n");
    EXPECT_FALSE(completeWork(world.aircraft(), {{}, {}, world.plan().removals, {}}, files));
    EXPECT_EQ(files.failures, 1);
    EXPECT_TRUE(fs::exists(world.aircraft() / "Texture" / "T_WING_ABC.bmp"));
    EXPECT_FALSE(fs::exists(world.aircraft() / "Texture" / "T_TAIL_ABC.bmp"));
    EXPECT_FALSE(fs::exists(world.aircraft() / "Model.ABC"));
    EXPECT_FALSE(fs::exists(world.aircraft() / "Craft_ABC.air"));
}

} // namespace
} // namespace livrano
