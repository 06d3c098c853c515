// SPDX-License-Identifier: MIT
#include "demo/demo_installation.h"

#include <gtest/gtest.h>

#include "aircraft/catalogue.h"
#include "aircraft/configuration_file.h"
#include "app/platform.h"
#include "output/configuration_text.h"
#include "support/sample_configuration.h"
#include "support/temp_dir.h"
#include "texture/bmp_reader.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testkit::readFile;

TEST(DemoInstallation, HoldsTwoAircraftReadyToBuild) {
    testkit::TempDir dir;
    DemoInstallation made;
    ASSERT_TRUE(CreateDemoInstallation(dir.path(), made));
    EXPECT_EQ(made.programFolder, dir / "Corvane Software" / "Livrano");

    const AircraftCatalogue catalogue = LoadAircraftCatalogue(made.programFolder);
    ASSERT_EQ(catalogue.Entries.size(), 2u);
    ASSERT_EQ(made.aircraft.size(), 2u);
    std::set<int> kinds;
    for (std::size_t i = 0; i < 2; ++i) {
        const std::string& name = made.aircraft[i].displayName;
        ASSERT_TRUE(catalogueIndexOfName(catalogue, name)) << name;
        const fs::path config =
            catalogue.Entries[static_cast<std::size_t>(*catalogueIndexOfName(catalogue, name))].ConfigFile;

        // The configuration deciphers and has nothing a configuration check would report.
        const std::optional<std::string> plain = decipherConfiguration(config);
        ASSERT_TRUE(plain) << name;
        const auto& [spec, extraTextures, extraFields, notes] = testkit::readConfiguration(*plain);
        const std::vector<SpecProblem> problems = testkit::configurationProblems(*plain);
        EXPECT_TRUE(problems.empty()) << name << ": " << (problems.empty() ? "" : problems[0].message);
        // Written, read and written again, a configuration says the same.
        EXPECT_EQ(configurationText(spec, extraTextures, extraFields), *plain) << name;
        kinds.insert(spec.TextureAssignOnly);
        EXPECT_GE(spec.NumTextures, 3) << name;

        // The data copy's model names each texture at each of its offsets.
        const fs::path data = made.programFolder / ("Data." + spec.DataPath);
        const std::string model = readFile(data / (spec.BaseModelName + ".mdl"));
        for (const TextureSpec& t : spec.Textures)
            for (std::int32_t offset : t.MdlOffsets)
                EXPECT_EQ(model.substr(static_cast<std::size_t>(offset - 1), t.BaseTextureName.size() + 4),
                          t.BaseTextureName + ".bmp")
                    << name;
        EXPECT_FALSE(readFile(data / (spec.BaseAirName + ".air")).empty()) << name;
        EXPECT_EQ(ProfileDocument::load(data / "Aircraft.cfg").find("livrano", "model", 254), std::string());

        // The template and its companion have the size the configuration gives.
        std::string alpha = made.aircraft[i].templateFile.string();
        alpha.replace(alpha.size() - 4, 4, "_a.bmp");
        for (const fs::path& bmp : {made.aircraft[i].templateFile, fs::path(alpha)}) {
            const std::optional<Bitmap> picture = readBmpFile(bmp);
            ASSERT_TRUE(picture) << bmp;
            EXPECT_EQ(picture->width, spec.TemplateSizeX) << bmp;
            EXPECT_EQ(picture->height, spec.TemplateSizeY) << bmp;
        }

        // Two liveries are installed, with weight and balance.
        const ProfileDocument installed =
            ProfileDocument::load(made.aircraft[i].aircraftFolder / "aircraft.cfg");
        EXPECT_FALSE(installed.readString("fltsim.1", "title").empty()) << name;
        EXPECT_TRUE(installed.readString("fltsim.2", "title").empty()) << name;
        EXPECT_FALSE(installed.readString("WEIGHT_AND_BALANCE", "empty_weight").empty()) << name;
        for (const std::string& extra : extraTextures.ExtraTextureNames)
            EXPECT_TRUE(fs::exists(made.aircraft[i].aircraftFolder / "texture" / extra)) << extra;
    }
    EXPECT_EQ(kinds, (std::set<int>{0, 1}));
    EXPECT_TRUE(fs::is_directory(made.programFolder / "TempBitmaps"));
    EXPECT_TRUE(fs::is_directory(dir / "Aircraft"));
}

// Over an installation in use the demo is refused, writing nothing: a build there holds the
// simulator's Aircraft folder.
TEST(DemoInstallation, IsNotWrittenOverABuildAtWork) {
    testkit::TempDir dir;
    DemoInstallation made;
    ASSERT_TRUE(CreateDemoInstallation(dir.path(), made));
    const fs::path cfg = made.aircraft[0].aircraftFolder / "aircraft.cfg";
    fs::remove(cfg);
    FolderLock build;
    ASSERT_TRUE(build.tryLock(dir / "Aircraft", false).ok());
    EXPECT_EQ(CreateDemoInstallation(dir.path(), made).kind(), Status::Kind::Locked);
    EXPECT_FALSE(fs::exists(cfg));
}

} // namespace
} // namespace livrano
