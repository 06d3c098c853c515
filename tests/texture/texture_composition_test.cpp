// SPDX-License-Identifier: MIT
#include "texture/texture_composition.h"

#include <gtest/gtest.h>

#include "output/build_plan.h"
#include "texture/bmp_writer.h"
#include "texture/template_loader.h"
#include "texture/texture_converter.h"
#include "texture/texture_fixtures.h"
#include "texture/texture_reader.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testkit::TestApp;

TextureSpec texture(const char* base, const char* mask, int size, const char* format,
                    TextureSection section) {
    const auto side = static_cast<std::int16_t>(size);
    return {base, mask, "", side, side, format, 1, {section}, 0, {}};
}

// A 64x32 colour template with its grey companion, and three textures cut from it: the left
// half as it is (DXT3), the right half halved (32-bit) and an 8x8 mirrored corner (DXT3).
struct ThreeTextures : TestApp {
    fs::path templatePath = folders.root / "Templates/b737.bmp";

    ThreeTextures() {
        testkit::writeFile(templatePath, encodeBmp24(testkit::gradientPicture(64, 32)));
        const Bitmap grey = testkit::greyPicture(64, 32);
        testkit::writeFile(folders.root / "Templates/b737_a.bmp", encodeBmp8(grey, grey.palette));
        app.spec.AircraftDirectory = "B737 ";
        app.spec.DataPath = "B737";
        app.spec.BaseModelName = "B737_XXX";
        app.spec.ReplaceMask = "B737_*";
        app.spec.BaseAirName = "B737";
        testkit::writeFile(folders.program / "Data.B737/Aircraft.cfg", "");
        testkit::writeFile(folders.program / "Data.B737/B737_XXX.mdl", "model");
        app.spec.UseAlpha = 1;
        app.spec.TextureAssignOnly = 0;
        app.spec.NumIdentifierCharacters = 3;
        app.settings.FolderExtension = "qrx";
        app.spec.Textures = {
            texture("T_FUSE_XXX_1", "T_FUSE_*", 32, "DXT3NM", {0, 0, 32, 32, 0, 0, 32, 32}),
            texture("T_WING_XXX", "T_WING_*", 16, "32ANM", {32, 0, 64, 32, 0, 0, 16, 16}),
            texture(" T_TAIL_XXX ", "T_TAIL_*", 8, "dxt3nm ", {0, 0, 8, 8, 8, 0, 0, 8}),
        };
        app.spec.NumTextures = 3;
    }

    void load() { ASSERT_TRUE(loadTemplate(templatePath.string()).ok()); }

    // The textures as the build's plan names them.
    TextureJobs jobs() const {
        BuildPlan plan;
        const Status planned = planBuild(app.repaintInputs(), app.surfaces, plan);
        EXPECT_TRUE(planned) << planned.message();
        return plan.textures;
    }
};

TEST(BuildTextures, ThreeTexturesReportEveryStepAndArriveComposedInTheSharedFolder) {
    ThreeTextures t;
    t.load();
    t.frontend.events.clear();
    const TextureBuildReport report = t.buildTextures(t.jobs());

    std::vector<std::string> expectedEvents;
    for (const auto& [progress, name] :
         {std::pair{"38.3333", "T_FUSE_QRX_1"}, {"56.6667", "T_WING_QRX"}, {"75", "T_TAIL_QRX"}})
        expectedEvents.insert(expectedEvents.end(),
                              {std::string("progress: ") + progress,
                               std::string("status: Working Texture - ") + name, "preview"});
    for (const char* progress : {"76.6667", "78.3333", "80"})
        expectedEvents.insert(expectedEvents.end(),
                              {"status: Moving New Textures", std::string("progress: ") + progress});
    EXPECT_EQ(t.frontend.events, expectedEvents);

    EXPECT_TRUE(report.skipped.empty()) << report.skipped.front();
    const fs::path shared = t.folders.aircraft / "Texture";
    EXPECT_EQ(report.written, (std::vector<fs::path>{shared / "T_FUSE_QRX_1.bmp", shared / "T_WING_QRX.bmp",
                                                     shared / "T_TAIL_QRX.bmp"}));
    for (const fs::path& file : report.written) { // moved, not copied
        EXPECT_TRUE(fs::exists(file)) << file;
        EXPECT_FALSE(fs::exists(t.folders.program / "TempBitmaps" / file.filename())) << file;
    }

    // The preview shows each texture as composed, in red-green-blue top-down.
    ASSERT_EQ(t.frontend.previews.size(), 3u);
    const PreviewPicture& first = t.frontend.previews[0];
    EXPECT_EQ(first.width, 32);
    const std::uint8_t* p = first.rgb.data() + std::size_t{7 * 32 + 5} * 3;
    EXPECT_EQ((std::vector<int>{p[0], p[1], p[2]}), (std::vector<int>{24, 28, 20}));

    // The right half of the template, halved into a 32-bit texture: each pixel the AND of a 2x2
    // square of the template (worked out by hand for two of them), alpha the companion's grey.
    const std::string file = testkit::readFile(shared / "T_WING_QRX.bmp");
    DecodedTexture decoded;
    ASSERT_TRUE(decodeTexture(std::vector<std::uint8_t>(file.begin(), file.end()), decoded).ok());
    ASSERT_EQ(decoded.format, "32-bit BGRA");
    ASSERT_EQ(decoded.image.width, 16);
    const std::uint8_t* p11 = decoded.image.pixel(1, 1);   // template (34..35, 2..3)
    const std::uint8_t* p15 = decoded.image.pixel(15, 15); // template (62..63, 30..31)
    EXPECT_EQ((std::vector<int>{p11[0], p11[1], p11[2], p11[3]}), (std::vector<int>{72, 8, 136, 32}));
    EXPECT_EQ((std::vector<int>{p15[0], p15[1], p15[2], p15[3]}), (std::vector<int>{184, 120, 248, 8}));
}

TEST(BuildTextures, AFailingTextureIsSkippedForItsReasonAndTheOthersStillArrive) {
    struct Case {
        void (*breakIt)(ThreeTextures&, TextureJobs&);
        const char* skipped;
        std::size_t previews; // only what was composed is shown
    };
    const Case cases[] = {
        {[](ThreeTextures& t, TextureJobs&) { t.app.spec.Textures[1].TextureSizeX = 0; },
         "Texture T_WING_QRX was skipped: its colour could not be composed from the template.", 2},
        {[](ThreeTextures& t, TextureJobs&) { t.app.spec.Textures[1].TextureFormat = "DXT5"; },
         "Texture T_WING_QRX was skipped: its format \"DXT5\" is neither DXT3NM nor 32ANM.", 3},
        // A reason that brings its own full stop keeps just that one.
        {[](ThreeTextures&, TextureJobs& jobs) { jobs.textures[1].skipped = "its name is refused."; },
         "Texture T_WING_QRX was skipped: its name is refused.", 2},
    };
    for (const Case& c : cases) {
        ThreeTextures t;
        t.load();
        TextureJobs jobs = t.jobs();
        c.breakIt(t, jobs);
        const TextureBuildReport report = t.buildTextures(jobs);
        EXPECT_EQ(report.skipped, std::vector<std::string>{c.skipped});
        EXPECT_EQ(t.frontend.previews.size(), c.previews) << c.skipped;
        EXPECT_EQ(report.written.size(), 2u) << c.skipped;
        EXPECT_TRUE(fs::exists(t.folders.aircraft / "Texture/T_FUSE_QRX_1.bmp")) << c.skipped;
        EXPECT_TRUE(fs::exists(t.folders.aircraft / "Texture/T_TAIL_QRX.bmp")) << c.skipped;
        // Nothing arrives under the previous texture's name or the failed one's.
        EXPECT_EQ(testkit::entryCount(t.folders.aircraft / "Texture"), 2) << c.skipped;
        EXPECT_EQ(t.frontend.progressValues.back(), 80) << c.skipped;
    }
}

// The 8x8 third texture is given the name of the 16x16 second one. On a case-sensitive disk a
// name spelt differently is still the same texture to the simulator: only one file may arrive,
// the second's when it converts, else the first's, untouched by the failure.
TEST(BuildTextures, OfTwoTexturesWithOneNameTheLastConvertedArrives) {
    struct Case {
        const char* what;
        const char* base;
        std::int16_t width;
        const char* arrives;
        std::size_t bytes;
        std::size_t skipped;
    };
    const Case cases[] = {
        {"the second converts", "t_wing_xxx", 8, "t_wing_QRX.bmp", 74 + 4 * 16, 0},
        // Wider than the converter reads, so only its conversion fails.
        {"the second fails to convert", "T_WING_XXX", 16388, "T_WING_QRX.bmp", 74 + 16 * 16 * 4, 1},
    };
    for (const Case& c : cases) {
        ThreeTextures t;
        t.app.spec.Textures[2].BaseTextureName = c.base;
        t.app.spec.Textures[2].ReplaceMask = "T_WING_*";
        t.app.spec.Textures[2].TextureSizeX = c.width;
        t.load();
        const TextureBuildReport report = t.buildTextures(t.jobs());
        EXPECT_EQ(report.skipped.size(), c.skipped) << c.what;
        EXPECT_EQ(report.written.size(), 2u) << c.what;
        const fs::path shared = t.folders.aircraft / "Texture";
        EXPECT_EQ(testkit::entryCount(shared), 2) << c.what;
        EXPECT_EQ(testkit::readFile(shared / c.arrives).size(), c.bytes) << c.what;
    }
}

// A build on every core leaves what a build on the calling thread alone leaves: the same files
// byte for byte, texts, progress values, previews and report. Among the textures: one whose files
// meet the previous one's (T_FUSE_QRX_1_C) and a repeated name. And the finished textures, made
// from the pictures in memory, are those the converter makes from the bitmaps left in TempBitmaps.
TEST(BuildTextures, EveryCoreLeavesWhatOneThreadLeavesAndWhatTheConverterMakesOfTheBitmaps) {
    struct Outcome {
        std::vector<std::string> events, skipped;
        std::vector<double> progress;
        testkit::Snapshot files;
        bool operator==(const Outcome&) const = default;
    };
    auto build = [](unsigned threads) {
        ThreeTextures t;
        t.load();
        TextureJobs jobs = t.jobs();
        t.app.spec.Textures.push_back(
            texture("T_FUSE_XXX_1_C", "T_FUSE_*", 16, "DXT3NM", {0, 0, 64, 32, 16, 0, 0, 16}));
        t.app.spec.Textures.push_back(
            texture("T_WING_XXX", "T_WING_*", 8, "DXT3NM", {5, 3, 30, 17, 0, 0, 8, 8}));
        t.app.spec.NumTextures = 5;
        // Made by hand, as a build's plan refuses the fourth: its texture is the first's colour.
        const fs::path shared = t.folders.aircraft / "Texture";
        jobs.textures.push_back({3, "T_FUSE_QRX_1_C", "", shared / "T_FUSE_QRX_1_C.bmp"});
        jobs.textures.push_back({4, "T_WING_QRX", "", shared / "T_WING_QRX.bmp"});
        t.frontend.events.clear();
        t.frontend.progressValues.clear();
        Outcome o;
        o.skipped = t.buildTextures(jobs, {.threads = threads}).skipped;
        o.events = t.frontend.events;
        o.progress = t.frontend.progressValues;
        o.files = testkit::snapshot(t.folders.root.path());
        for (const char* name : {"T_FUSE_QRX_1", "T_WING_QRX", "T_TAIL_QRX", "T_FUSE_QRX_1_C"}) {
            EXPECT_TRUE(CompressTexture(t.app.programFolder, std::string(name) + "_c",
                                        std::string(name) + "_a", "READ_BACK", 0, kFormatCodeDxt3));
            EXPECT_EQ(testkit::readFile(t.folders.program / "TempBitmaps/READ_BACK.bmp"),
                      testkit::readFile(shared / (std::string(name) + ".bmp")))
                << name;
        }
        return o;
    };
    const Outcome sequential = build(1);
    EXPECT_EQ(sequential.files.count("Sim/Aircraft/B737/Texture/T_FUSE_QRX_1_C.bmp"), 1u);
    EXPECT_TRUE(build(0) == sequential);
    EXPECT_TRUE(build(3) == sequential);
}

TEST(BuildTextures, AssignOnlyTexturesKeepTheirNameAndJoinTheVariationFolderWhateverItsCase) {
    ThreeTextures t;
    fs::remove(t.folders.aircraft / "Texture.qrx");
    fs::create_directories(t.folders.aircraft / "texture.QRX");
    t.app.spec.TextureAssignOnly = 1;
    t.load();
    const TextureBuildReport report = t.buildTextures(t.jobs());
    EXPECT_TRUE(report.skipped.empty());
    EXPECT_TRUE(fs::exists(t.folders.aircraft / "texture.QRX/T_FUSE_XXX_1.bmp"));
    EXPECT_TRUE(fs::exists(t.folders.aircraft / "texture.QRX/T_TAIL_XXX.bmp"));
    EXPECT_FALSE(fs::exists(t.folders.aircraft / "Texture.qrx"));
    EXPECT_TRUE(fs::is_empty(t.folders.aircraft / "Texture"));
}

// Without a destination folder the textures stay where they were made; without an alpha
// template every alpha file is opaque.
TEST(BuildTextures, WithoutDestinationOrAlphaTemplateTheTexturesStayInTempBitmapsOpaque) {
    ThreeTextures t;
    fs::remove_all(t.folders.aircraft / "Texture");
    fs::remove(t.folders.root / "Templates/b737_a.bmp");
    t.load();
    const TextureBuildReport report = t.buildTextures(t.jobs());
    EXPECT_EQ(report.skipped.size(), 3u);
    EXPECT_TRUE(report.written.empty());
    EXPECT_TRUE(fs::exists(t.folders.program / "TempBitmaps/T_FUSE_QRX_1.bmp"));
    EXPECT_FALSE(fs::exists(t.folders.aircraft / "Texture"));
    // The opaque file's own layout is SaveBitmap8's test; here, that the build asked for it.
    const std::string alpha = testkit::readFile(t.folders.program / "TempBitmaps/T_WING_QRX_a.bmp");
    EXPECT_EQ(alpha.substr(1078), std::string(256, '\xFF'));
}

TEST(BuildTextures, ExtraTexturesAreCopiedIntoTheVariationFolder) {
    struct Case {
        int numTextures;
        const char* baseFolder;
        const char* sourceFolder;
        std::size_t events; // the three textures' fifteen, then six of the copies
    };
    const Case cases[] = {{3, "", "Texture", 21}, {0, " base ", "TEXTURE.BASE", 6}};
    for (const Case& c : cases) {
        ThreeTextures t;
        t.app.spec.NumTextures = static_cast<std::int16_t>(c.numTextures);
        t.app.extraTextures.CopyExtraTextures = 1;
        t.app.extraTextures.BaseTextureFolder = c.baseFolder;
        t.app.extraTextures.NumExtraTextures = 3;
        t.app.extraTextures.ExtraTextureNames = {"glass.bmp ", "missing.bmp", "Light.BMP"};
        testkit::writeFile(t.folders.aircraft / c.sourceFolder / "glass.bmp", "glass");
        testkit::writeFile(t.folders.aircraft / c.sourceFolder / "light.bmp", "light");
        testkit::writeFile(t.folders.aircraft / "Texture.qrx/LIGHT.bmp", "old");
        t.load();
        t.frontend.events.clear();
        const TextureBuildReport report = t.buildTextures(t.jobs());

        EXPECT_EQ(testkit::readFile(t.folders.aircraft / "Texture.qrx/glass.bmp"), "glass") << c.sourceFolder;
        // An existing file of another case is replaced, not joined by a second name.
        EXPECT_EQ(testkit::readFile(t.folders.aircraft / "Texture.qrx/LIGHT.bmp"), "light") << c.sourceFolder;
        EXPECT_EQ(testkit::entryCount(t.folders.aircraft / "Texture.qrx"), 2) << c.sourceFolder;
        ASSERT_EQ(report.skipped.size(), 1u);
        EXPECT_NE(report.skipped[0].find("missing.bmp"), std::string::npos);
        const std::vector<std::string> tail(t.frontend.events.end() - 6, t.frontend.events.end());
        EXPECT_EQ(tail, (std::vector<std::string>{"status: Copying File - glass.bmp", "progress: 86.6667",
                                                  "status: Copying File - missing.bmp", "progress: 93.3333",
                                                  "status: Copying File - Light.BMP", "progress: 100"}));
        EXPECT_EQ(t.frontend.events.size(), c.events) << c.sourceFolder;
    }
}

} // namespace
} // namespace livrano
