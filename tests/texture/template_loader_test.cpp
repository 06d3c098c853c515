// SPDX-License-Identifier: MIT
#include "texture/template_loader.h"

#include <gtest/gtest.h>

#include <functional>

#include "texture/bmp_writer.h"
#include "texture/texture_fixtures.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testkit::TestApp;

TEST(AlphaCompanionPath, DropsExactlyFourCharacters) {
    EXPECT_EQ(alphaCompanionPath("D:\\Paint\\B737.bmp"), "D:\\Paint\\B737_a.bmp");
    EXPECT_EQ(alphaCompanionPath("  /paint/x.jpeg "), "/paint/x._a.bmp");
    EXPECT_EQ(alphaCompanionPath("a.b"), "_a.bmp");
}

struct TemplateCase : TestApp {
    fs::path colour = folders.root / "paint/B737.bmp";
    // companionName nullptr: no companion on disk.
    TemplateCase(int useAlpha, const char* companionName) {
        app.spec.UseAlpha = static_cast<std::int16_t>(useAlpha);
        app.spec.TemplateSizeX = 8;
        app.spec.TemplateSizeY = 4;
        testkit::writeFile(colour, encodeBmp24(testkit::gradientPicture(8, 4)));
        if (companionName != nullptr) {
            const Bitmap grey = testkit::greyPicture(8, 4);
            testkit::writeFile(folders.root / "paint" / companionName, encodeBmp8(grey, grey.palette));
        }
        app.surfaces.AlphaLoaded = true; // a previous template's state, which every load resets
        frontend.alphaPreviewAvailable = true;
    }
};

TEST(LoadTemplate, ReportsTheCompanionAndSetsAlphaLoaded) {
    // Every load begins and ends alike.
    auto events = [](std::vector<std::string> middle) {
        middle.insert(middle.begin(), {"status: Loading Texture Template File", "busy"});
        middle.insert(middle.end(), {"template-loaded", "idle", "status-line"});
        return middle;
    };
    struct Case {
        const char* what;
        int useAlpha;
        const char* companion; // nullptr: none on disk
        bool alphaLoaded;
        std::vector<std::string> events;
        std::function<void(TemplateCase&)> change = [](TemplateCase&) {};
    };
    const std::string noCompanion =
        "message: No Alpha Channel bitmap was found.  This aircraft will still compile, but will not show reflections.\n\nIf you need further assistance, please consult the documentation.";
    const Case cases[] = {
        {"companion found", 1, "B737_a.bmp", true, events({"alpha-preview: on"})},
        {"companion in another case", 1, "b737_A.BMP", true, events({"alpha-preview: on"})},
        {"companion missing", 1, nullptr, false,
         events({"status: No Alpha Channel Bitmap Found", "idle", "alpha-preview: off", noCompanion})},
        {"companion unreadable", 1, "B737_a.bmp", false,
         events({"alpha-preview: on", "status: No Alpha Channel Bitmap Found", "alpha-preview: off",
                 noCompanion}),
         [](TemplateCase& t) { testkit::writeFile(t.folders.root / "paint/B737_a.bmp", "BM not a bitmap"); }},
        {"template of another size", 0, nullptr, false,
         events(
             {"message: The template " + (fs::path("paint") / "B737.bmp").string() +
              " is 8 x 4 pixels, but this aircraft's template is 2048 x 1024: its textures will be cut from the wrong places."}),
         [](TemplateCase& t) { t.app.spec.TemplateSizeX = 2048, t.app.spec.TemplateSizeY = 1024; }},
        // A grey picture saved as 24-bit is common.
        {"colour companion", 1, nullptr, true, events({"alpha-preview: on"}),
         [](TemplateCase& t) {
             const Bitmap greyAsColour = toColour(testkit::greyPicture(8, 4));
             testkit::writeFile(t.folders.root / "paint/B737_a.bmp", encodeBmp24(greyAsColour));
         }},
        {"aircraft without alpha", 0, "B737_a.bmp", false, events({})},
        {"UseAlpha 2 counts as no alpha", 2, nullptr, false, events({})},
    };
    for (const Case& c : cases) {
        TemplateCase t(c.useAlpha, c.companion);
        c.change(t);
        EXPECT_TRUE(t.loadTemplate(t.colour.string()).ok()) << c.what;
        std::vector<std::string> seen = t.frontend.events;
        for (std::string& e : seen) // the folder of the test's own files is left out
            if (const auto at = e.find(t.folders.root.path().string() + "/"); at != std::string::npos)
                e.erase(at, t.folders.root.path().string().size() + 1);
        EXPECT_EQ(seen, c.events) << c.what;
        EXPECT_EQ(t.app.surfaces.AlphaLoaded, c.alphaLoaded) << c.what;
        EXPECT_TRUE(t.app.surfaces.TemplateSurface24.Ready) << c.what;
        EXPECT_EQ(t.app.surfaces.TemplateSurface8.Ready, c.alphaLoaded) << c.what;
        if (c.alphaLoaded) { // grey levels as indices, whatever the companion's depth
            EXPECT_EQ(t.app.surfaces.TemplateSurface8.bitmap.pixels, testkit::greyPicture(8, 4).pixels)
                << c.what;
            EXPECT_EQ(t.app.surfaces.TemplateSurface8.bitmap.palette, greyRamp()) << c.what;
        }
    }
}

// Whatever keeps a template from loading is named, as the read found it.
TEST(LoadTemplate, AnUnreadableTemplateFailsSaysWhyAndReleasesThePreviousOne) {
    TemplateCase t(1, "B737_a.bmp");
    testkit::writeFile(t.folders.root / "paint/broken.bmp", "BM not a bitmap");
    testkit::writeFile(t.folders.root / "paint/broken_a.bmp", "BM nor this");
    fs::create_directories(t.folders.root / "paint/folder.bmp");
    const std::pair<const char*, const char*> cases[] = {
        {"broken.bmp", "broken.bmp cannot be read as a BMP file: "},
        {"missing.bmp", "missing.bmp cannot be read as a BMP file: it is missing."},
        {"folder.bmp", "folder.bmp cannot be read as a BMP file: it is not a file."}};
    for (const auto& [name, says] : cases) {
        ASSERT_TRUE(t.loadTemplate(t.colour.string()).ok());
        const Status s = t.loadTemplate((t.folders.root / "paint" / name).string());
        EXPECT_FALSE(s.ok());
        EXPECT_NE(s.message().find(name), std::string::npos);
        EXPECT_NE(s.detail().find(says), std::string::npos) << s.detail();
        const BitmapSurfaces& held = t.app.surfaces;
        EXPECT_FALSE(held.AlphaLoaded || held.TemplateSurface24.Ready || held.TemplateSurface8.Ready) << name;
        EXPECT_TRUE(held.TemplateSurface8.bitmap.empty()) << name;
    }
}

} // namespace
} // namespace livrano
