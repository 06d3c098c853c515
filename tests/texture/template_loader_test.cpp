#include "texture/template_loader.h"

#include <gtest/gtest.h>

#include "texture/bmp_writer.h"
#include "texture/texture_fixtures.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testing::TestApp;

TEST(AlphaCompanionPath, DropsExactlyFourCharacters) {
    EXPECT_EQ(alphaCompanionPath("D:\\Paint\\B737.bmp"), "D:\\Paint\\B737_a.bmp");
    EXPECT_EQ(alphaCompanionPath("  /paint/x.jpeg "), "/paint/x._a.bmp");
    EXPECT_EQ(alphaCompanionPath("a.b"), "_a.bmp");
}

struct TemplateCase : TestApp {
    fs::path colour = folders.root / "paint/B737.bmp";
    TemplateCase(int useAlpha, bool withCompanion, const char* companionName = "B737_a.bmp") {
        app.spec.UseAlpha = static_cast<std::int16_t>(useAlpha);
        testing::writeBitmapFile(colour, encodeBmp24(testing::gradientPicture(8, 4)));
        if (withCompanion) {
            const Bitmap grey = testing::greyPicture(8, 4);
            testing::writeBitmapFile(folders.root / "paint" / companionName, encodeBmp8(grey, grey.palette));
        }
        app.flags.AlphaLoaded = true; // a previous template's state, which every load resets
        frontend.alphaPreviewAvailable = true;
    }
};

TEST(LoadTemplate, ReportsTheCompanionAndSetsAlphaLoaded) {
    const std::string message =
        "No Alpha Channel bitmap was found.  This aircraft will still compile, but will not "
        "show reflections.\n\nIf you need further assistance, please consult the documentation.";
    struct Case {
        const char* what;
        int useAlpha;
        bool companion;
        const char* companionName;
        bool alphaLoaded;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {"companion found",
         1,
         true,
         "B737_a.bmp",
         true,
         {"status: Loading Texture Template File", "busy", "alpha-preview: on", "template-loaded", "idle"}},
        {"companion in another case",
         1,
         true,
         "b737_A.BMP",
         true,
         {"status: Loading Texture Template File", "busy", "alpha-preview: on", "template-loaded", "idle"}},
        {"companion missing",
         1,
         false,
         "",
         false,
         {"status: Loading Texture Template File", "busy", "status: No Alpha Channel Bitmap Found", "idle",
          "alpha-preview: off", "message: " + message, "template-loaded", "idle"}},
        {"aircraft without alpha",
         0,
         true,
         "B737_a.bmp",
         false,
         {"status: Loading Texture Template File", "busy", "template-loaded", "idle"}},
        {"UseAlpha 2 counts as no alpha",
         2,
         false,
         "",
         false,
         {"status: Loading Texture Template File", "busy", "template-loaded", "idle"}},
    };
    for (const Case& c : cases) {
        TemplateCase t(c.useAlpha, c.companion, c.companionName);
        EXPECT_TRUE(LoadTemplate(t.app, t.colour.string()).ok()) << c.what;
        EXPECT_EQ(t.frontend.events, c.events) << c.what;
        EXPECT_EQ(t.app.flags.AlphaLoaded, c.alphaLoaded) << c.what;
        EXPECT_TRUE(t.app.surfaces.TemplateSurface24.Ready) << c.what;
        EXPECT_EQ(t.app.surfaces.TemplateSurface8.Ready, c.alphaLoaded) << c.what;
    }
}

TEST(LoadTemplate, AnUnreadableTemplateFailsAndReleasesThePreviousOne) {
    TemplateCase t(1, true);
    ASSERT_TRUE(LoadTemplate(t.app, t.colour.string()).ok());
    testing::writeFile(t.folders.root / "paint/broken.bmp", "BM not a bitmap");
    testing::writeFile(t.folders.root / "paint/broken_a.bmp", "BM nor this");
    const Status s = LoadTemplate(t.app, (t.folders.root / "paint/broken.bmp").string());
    EXPECT_FALSE(s.ok());
    EXPECT_NE(s.message().find("broken.bmp"), std::string::npos);
    EXPECT_FALSE(t.app.flags.AlphaLoaded);
    EXPECT_FALSE(t.app.surfaces.TemplateSurface24.Ready);
    EXPECT_FALSE(t.app.surfaces.TemplateSurface8.Ready);
    EXPECT_TRUE(t.app.surfaces.TemplateSurface8.bitmap.empty());
}

TEST(LoadTemplate, AColourCompanionBecomesGreyLevels) {
    TemplateCase t(1, false);
    Bitmap greyAsColour = toColour(testing::greyPicture(8, 4));
    testing::writeBitmapFile(t.folders.root / "paint/B737_a.bmp", encodeBmp24(greyAsColour));
    ASSERT_TRUE(LoadTemplate(t.app, t.colour.string()).ok());
    ASSERT_TRUE(t.app.flags.AlphaLoaded);
    const Bitmap& alpha = t.app.surfaces.TemplateSurface8.bitmap;
    EXPECT_EQ(alpha.bytesPerPixel, 1);
    EXPECT_EQ(alpha.pixels, testing::greyPicture(8, 4).pixels);
    EXPECT_EQ(alpha.palette, greyRamp());
}

} // namespace
} // namespace livrano
