// SPDX-License-Identifier: MIT
#include "output/paint_kit.h"

#include <gtest/gtest.h>

#include <functional>

#include "aircraft/aircraft_spec_loader.h"
#include "aircraft/catalogue.h"
#include "aircraft/configuration_file.h"
#include "aircraft/profile.h"
#include "app/file_bytes.h"
#include "output/kit_files.h"
#include "output/repaint_world.h"
#include "support/sample_configuration.h"
#include "texture/bmp_reader.h"
#include "texture/bmp_writer.h"
#include "texture/texture_file.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testkit::FailingFileOperations;
using testkit::readFile;
using testkit::snapshot;
using testkit::TempDir;
using testkit::writeFile;

RgbaImage pattern(int width, int height, bool alpha) {
    RgbaImage image{width, height, std::vector<std::uint8_t>(std::size_t(width) * height * 4)};
    for (std::size_t i = 0; i < image.rgba.size(); ++i)
        image.rgba[i] = static_cast<std::uint8_t>(i % 4 == 3 && !alpha ? 255 : (i * 37 + 11) % 256);
    return image;
}

std::vector<std::uint8_t> bmp24(const RgbaImage& image) {
    Bitmap b{image.width,
             image.height,
             3,
             std::vector<std::uint8_t>(std::size_t(image.width) * image.height * 3),
             {}};
    for (std::size_t p = 0; p < std::size_t(image.width) * image.height; ++p)
        for (int c = 0; c < 3; ++c)
            b.pixels[p * 3 + c] = image.rgba[p * 4 + 2 - c];
    return encodeBmp24(b);
}

// A simulator with one aircraft, "Gull", installed as its maker would: two liveries, the first
// in texture.1 with a 24-bit body, a 32-bit DDS wing with alpha, a light map and a texture.cfg.
struct Simulator {
    TempDir dir;
    fs::path program = dir / "Corvane Software" / "Livrano";
    fs::path gull = dir / "Aircraft" / "Gull";
    RgbaImage body = pattern(24, 8, false);
    RgbaImage wing = pattern(8, 8, true);

    Simulator() {
        writeFile(program / "Data" / "airlines.cfg", "Corvane Air\r\n");
        fs::create_directories(program / "Aircraft Configurations");
        fs::create_directories(program / "Templates");
        writeFile(gull / "aircraft.cfg",
                  "[fltsim.0]\r\ntitle=Gull Factory\r\nsim=gull\r\nmodel=\r\npanel=\r\n"
                  "texture=1\r\natc_id=N123G\r\nui_manufacturer=Corvane\r\nui_type=Gull\r\n"
                  "ui_variation=Factory\r\n\r\n"
                  "[fltsim.1]\r\ntitle=Gull Second\r\nsim=gull\r\ntexture=2\r\n\r\n"
                  "[General]\r\natc_type=GULL\r\n");
        writeFile(gull / "texture.1" / "body.bmp", bmp24(body));
        TextureOptions argb;
        argb.format = TextureFormat::Argb32;
        writeFile(gull / "texture.1" / "wing.dds", encodeTexture(wing, TextureContainer::Dds, argb));
        writeFile(gull / "texture.1" / "body_L.bmp", bmp24(pattern(4, 4, false)));
        writeFile(gull / "texture.1" / "texture.cfg", "[fltsim]\r\nfallback.1=..\\texture\r\n");
        writeFile(gull / "texture.2" / "body.bmp", bmp24(pattern(24, 8, false)));
    }

    KitRequest request() const {
        KitRequest r;
        r.programFolder = program;
        r.aircraftFolder = gull;
        return r;
    }
};

TEST(PaintKit, MakesAConfigurationTheCatalogueLoadsAndATemplateHoldingTheFactoryPaint) {
    Simulator sim;
    KitPlan plan;
    ASSERT_TRUE(makeKit(sim.request(), false, plan).ok());

    const AircraftCatalogue catalogue = LoadAircraftCatalogue(sim.program);
    ASSERT_EQ(catalogue.Entries.size(), 1u);
    EXPECT_EQ(catalogue.Entries[0].DisplayName, "Corvane Gull");
    AircraftSpec spec;
    ExtraTextureSpec extras;
    ExtraFieldSpec fields;
    ASSERT_TRUE(readAircraftSpec(ProfileDocument(*decipherConfiguration(catalogue.Entries[0].ConfigFile)),
                                 false, spec, extras, fields)
                    .ok());
    EXPECT_EQ(spec.AircraftDirectory, "Gull");
    EXPECT_EQ(spec.TextureAssignOnly, 1);
    EXPECT_EQ(spec.UseAlpha, 1);
    EXPECT_EQ(spec.BaseAirName, "gull");
    EXPECT_EQ(spec.AircraftTail, "N123G");
    EXPECT_EQ(spec.AircraftTitlePrefix, "Gull"); // "Gull Factory" less its variation
    ASSERT_EQ(spec.Textures.size(), 2u);
    EXPECT_EQ(spec.Textures[1].BaseTextureName, "wing");
    EXPECT_EQ(spec.Textures[1].DdsFile, 1);
    EXPECT_EQ(spec.Textures[0].DdsFile, 0);
    EXPECT_EQ(extras.BaseTextureFolder, "1");
    EXPECT_EQ(extras.ExtraTextureNames, (std::vector<std::string>{"body_L.bmp", "texture.cfg"}));

    // The template holds every texture's own pixels at the place its section reads from.
    const std::optional<Bitmap> colour = readBmpFile(plan.templateFile);
    const std::optional<Bitmap> alpha = readBmpFile(plan.alphaFile);
    ASSERT_TRUE(colour && alpha);
    EXPECT_EQ(colour->width, spec.TemplateSizeX);
    for (std::size_t t = 0; t < 2; ++t) {
        const RgbaImage& factory = t == 0 ? sim.body : sim.wing;
        const TextureSection& s = spec.Textures[t].Sections.at(0);
        ASSERT_EQ(s.TemplateRight - s.TemplateLeft, factory.width);
        for (int y = 0; y < factory.height; ++y)
            for (int x = 0; x < factory.width; ++x) {
                const std::uint8_t* want = factory.pixel(x, y);
                const std::uint8_t* got = colour->row(s.TemplateTop + y) + (s.TemplateLeft + x) * 3;
                ASSERT_EQ((std::array{got[2], got[1], got[0]}), (std::array{want[0], want[1], want[2]}));
                const std::uint8_t index = alpha->row(s.TemplateTop + y)[s.TemplateLeft + x];
                ASSERT_EQ(alpha->palette[index].red, want[3]);
            }
    }
    const std::string data = readFile(plan.dataFolder / "Aircraft.cfg");
    EXPECT_EQ(data.substr(0, readFile(sim.gull / "aircraft.cfg").size()),
              readFile(sim.gull / "aircraft.cfg"));
    EXPECT_NE(data.find("[livrano]\r\nmodel=\r\npanel=\r\n"), std::string::npos);
    EXPECT_EQ(readFile(plan.guideFile).substr(1, 3), "PNG");
}

// Each refusal writes nothing: the simulator is the same file for file afterwards.
TEST(PaintKit, RefusesWhatItCannotDescribeAndWritesNothing) {
    struct Case {
        const char* what;
        std::function<void(Simulator&, KitRequest&)> arrange;
    };
    const Case cases[] = {
        {"a folder outside the simulator's Aircraft folder",
         [](Simulator& s, KitRequest& r) {
             fs::create_directories(s.dir / "Elsewhere");
             fs::copy(s.gull, s.dir / "Elsewhere" / "Gull", fs::copy_options::recursive);
             r.aircraftFolder = s.dir / "Elsewhere" / "Gull";
         }},
        {"no aircraft.cfg", [](Simulator& s, KitRequest&) { fs::remove(s.gull / "aircraft.cfg"); }},
        {"no titled entry",
         [](Simulator& s, KitRequest&) { writeFile(s.gull / "aircraft.cfg", "[fltsim.0]\r\nsim=g\r\n"); }},
        {"a livery title it lacks", [](Simulator&, KitRequest& r) { r.choices.liveryTitle = "Gull Third"; }},
        {"a missing texture folder", [](Simulator& s, KitRequest&) { fs::remove_all(s.gull / "texture.1"); }},
        {"nothing to paint",
         [](Simulator&, KitRequest& r) {
             r.choices.exclude = {"*.bmp", "*.DDS"};
         }},
        {"a texture that does not decode",
         [](Simulator& s, KitRequest&) {
             writeFile(s.gull / "texture.1" / "body.bmp", std::string("BM\x10", 3));
         }},
        {"a name that is no file name", [](Simulator&, KitRequest& r) { r.name = "Gull: Mk II"; }},
        {"a texture Windows cannot name",
         [](Simulator& s, KitRequest&) {
             fs::rename(s.gull / "texture.1" / "body.bmp", s.gull / "texture.1" / "bo?dy.bmp");
         }},
        {"a display name taken in another case",
         [](Simulator& s, KitRequest& r) {
             testkit::writeConfiguration(s.program / "Aircraft Configurations" / "other.bin",
                                         "[Main]\r\nAircraftDisplayName= corvane GULL\r\n");
             r.name = "Corvane Gull";
         }},
        {"a full catalogue",
         [](Simulator& s, KitRequest&) {
             for (int i = 0; i < 100; ++i)
                 testkit::writeConfiguration(s.program / "Aircraft Configurations" /
                                                 ("c" + std::to_string(i) + ".bin"),
                                             "[Main]\r\nAircraftDisplayName=C" + std::to_string(i) + "\r\n");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Simulator sim;
        KitRequest request = sim.request();
        c.arrange(sim, request);
        const testkit::Snapshot before = snapshot(sim.dir.path());
        KitPlan plan;
        const Status status = makeKit(request, false, plan);
        EXPECT_EQ(status.kind(), Status::Kind::Refused) << status.text();
        EXPECT_EQ(snapshot(sim.dir.path()), before);
    }
}

TEST(PaintKit, ForceReplacesOnlyItsOwnKitAndKeepsAPaintedTemplate) {
    Simulator sim;
    KitPlan first;
    ASSERT_TRUE(makeKit(sim.request(), false, first).ok());
    writeFile(first.templateFile, "painted by hand");
    KitPlan again;
    EXPECT_EQ(makeKit(sim.request(), false, again).kind(), Status::Kind::Refused);

    KitRequest forced = sim.request();
    forced.force = true;
    ASSERT_TRUE(makeKit(forced, false, again).ok());
    EXPECT_EQ(readFile(sim.program / "Templates" / "Corvane Gull Template (kept 1).bmp"), "painted by hand");
    EXPECT_EQ(readFile(first.templateFile),
              readFile(sim.program / "Templates" / "Corvane Gull Template.bmp"));
    EXPECT_TRUE(readBmpFile(first.templateFile).has_value());

    KitRequest renamed = forced;
    renamed.name = "Gull Kit";
    ASSERT_TRUE(makeKit(renamed, false, again).ok());
    EXPECT_EQ(again.dataPath, first.dataPath);
    const AircraftCatalogue catalogue = LoadAircraftCatalogue(sim.program);
    ASSERT_EQ(catalogue.Entries.size(), 1u);
    EXPECT_EQ(catalogue.Entries[0].DisplayName, "Gull Kit");

    // A configuration the kit did not make is never replaced, whatever --force says.
    testkit::writeConfiguration(sim.program / "Aircraft Configurations" / "Maker.bin",
                                "[Main]\r\nAircraftDisplayName=Maker Gull\r\nAircraftDirectory=Gull\r\n");
    renamed.name = "Maker Gull";
    EXPECT_EQ(makeKit(renamed, false, again).kind(), Status::Kind::Refused);
}

// Whichever step fails, the catalogue is as it was or holds the whole kit, and no temporary
// file is left behind.
TEST(PaintKit, AFailedWriteLeavesTheCatalogueAsItWasAndNoTemporaryFile) {
    for (int failAt = 1;; ++failAt) {
        SCOPED_TRACE(failAt);
        Simulator sim;
        int calls = 0;
        FailingFileOperations operations(
            [&](const std::string&, const std::string&) { return ++calls == failAt; });
        operations.syncs = false;
        KitPlan plan;
        const Status status = makeKit(sim.request(), false, plan, operations);
        const std::vector<fs::path> configurations = configurationFiles(sim.program);
        for (const fs::directory_entry& e : fs::recursive_directory_iterator(sim.dir.path()))
            EXPECT_FALSE(temporaryFileTarget(e.path().filename().string())) << e.path();
        if (status.ok()) {
            EXPECT_EQ(operations.failures, 0);
            EXPECT_EQ(configurations.size(), 1u);
            break;
        }
        // The last step, syncing the folder after the configuration's rename, fails with the kit whole.
        if (!configurations.empty()) {
            for (const fs::path& file :
                 {plan.templateFile, plan.alphaFile, plan.guideFile, plan.dataFolder / "Aircraft.cfg"})
                EXPECT_TRUE(fs::exists(file)) << file;
        }
        EXPECT_EQ(readBmpFile(plan.templateFile).has_value(), fs::exists(plan.templateFile));
    }
}

} // namespace
} // namespace livrano
