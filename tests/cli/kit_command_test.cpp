// SPDX-License-Identifier: MIT
// Paint kits made from the demo's aircraft as a painter makes them: kit, then a build on the
// kit's template left as it came, in 32-bit and in DXT3. The textures that come out are the
// factory's, and every factory livery stays in aircraft.cfg as it was.

#include <gtest/gtest.h>

#include <algorithm>

#include "aircraft/profile.h"
#include "app/file_bytes.h"
#include "app/text.h"
#include "paint_pictures.h"
#include "squish_fits.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "texture/texture_reader.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testkit::CliRun;
using testkit::readFile;
using testkit::runCli;
using testkit::shellQuoted;
using testkit::TempDir;

DecodedTexture decoded(const fs::path& file) {
    DecodedTexture texture;
    const std::string bytes = readFile(file);
    const Status s =
        decodeTexture({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, texture);
    EXPECT_TRUE(s.ok()) << file << ": " << s.text();
    return texture;
}

// "photo: mix" as a file name: Windows takes no ':'.
std::string fileNameOf(std::string name) {
    std::replace(name.begin(), name.end(), ':', '-');
    return name;
}

// What libsquish's cluster fit makes of the picture as DXT3, in colour PSNR: the bar our encoder
// is held to on textures nobody chose for it.
double squishClusterFitPsnr(const RgbaImage& image) {
    TextureOptions options;
    options.encoder = bench::squishClusterFit;
    const std::vector<std::uint8_t> file = encodeTexture(image, TextureContainer::FsBitmap, options);
    DecodedTexture reference;
    EXPECT_TRUE(decodeTexture(file, reference).ok());
    return colourPsnr(reference.image, image);
}

// The factory sections of an aircraft.cfg by title, each without its header line.
std::map<std::string, std::string> liveryBodies(const fs::path& cfg) {
    std::map<std::string, std::string> bodies;
    for (const ProfileSection& s : ProfileDocument(readFile(cfg)).sections())
        if (s.name.starts_with("fltsim."))
            bodies[ProfileDocument(s.text).readString(s.name, "title")] =
                s.text.substr(s.text.find('\n') + 1);
    return bodies;
}

bool isPainted(const std::string& name) {
    const std::string upper = toUpper(name);
    return (upper.ends_with(".BMP") || upper.ends_with(".DDS")) && !upper.ends_with("_L.BMP") &&
           !upper.ends_with("_L.DDS") && !upper.ends_with("_LM.BMP") && !upper.ends_with("_LM.DDS");
}

TEST(KitCommand, ABuildOnAnUnchangedKitTemplateGivesTheFactoryTextures) {
    struct Case {
        const char* folder;         // in the demo's Aircraft folder
        const char* kitName;        // --name, for the aircraft that already have a configuration
        const char* name;           // the kit's name
        const char* factoryTexture; // the first factory livery's texture folder
        bool photographic;          // DXT3 is held to libsquish's cluster fit, not to 40 dB
    };
    const Case cases[] = {
        {"Corvane C-310 Skylark", "Corvane C-310 Skylark Kit", "Corvane C-310 Skylark Kit", "texture", false},
        {"Corvane CJ-70 Meridian", "Corvane CJ-70 Meridian Kit", "Corvane CJ-70 Meridian Kit", "texture",
         false},
        {"Kestrel", nullptr, "Corvane Aeroworks CK-20 Kestrel", "texture", false},
        {"Painted", nullptr, "Painted", "texture", true},
    };
    TempDir dir;
    ASSERT_EQ(runCli("demo " + shellQuoted(dir.path().string())).exitCode, 0);
    // An aircraft whose textures have the detail of real paint and photographs.
    const fs::path painted = dir / "Aircraft" / "Painted";
    testkit::writeFile(painted / "aircraft.cfg", "[fltsim.0]\r\ntitle=Painted\r\nsim=painted\r\n");
    TextureOptions argb;
    argb.format = TextureFormat::Argb32;
    for (const bench::NamedPicture& picture : bench::paintPictures())
        if (picture.photographic)
            testkit::writeFile(painted / "texture" / (fileNameOf(picture.name) + ".dds"),
                               encodeTexture(picture.make(128), TextureContainer::Dds, argb));
    const fs::path program = dir / "Corvane Software" / "Livrano";
    const std::string programOption = " --program-folder " + shellQuoted(program.string());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        const fs::path aircraft = dir / "Aircraft" / c.folder;
        const std::string kitName = c.name;
        const auto factoryLiveries = liveryBodies(aircraft / "aircraft.cfg");
        const CliRun kit = runCli("kit " + shellQuoted(aircraft.string()) +
                                  (c.kitName ? " --name " + shellQuoted(c.kitName) : "") + programOption);
        ASSERT_EQ(kit.exitCode, 0) << kit.out << kit.err;
        for (const bool dxt3 : {false, true}) {
            const std::string folder = dxt3 ? "KD3" : "K32";
            const CliRun build = runCli(
                "build --aircraft " + shellQuoted(kitName) + " --template " +
                shellQuoted((program / "Templates" / (kitName + " Template.bmp")).string()) +
                " --variation " + folder + " --folder " + folder + (dxt3 ? " --dxt3" : "") + programOption);
            ASSERT_EQ(build.exitCode, 0) << build.out << build.err;
            const fs::path made = aircraft / ("Texture." + folder);
            for (const fs::directory_entry& e : fs::directory_iterator(aircraft / c.factoryTexture)) {
                const std::string name = e.path().filename().string();
                SCOPED_TRACE(name + (dxt3 ? " DXT3" : " 32-bit"));
                ASSERT_TRUE(fs::exists(made / name));
                if (!isPainted(name)) {
                    EXPECT_EQ(readFile(made / name), readFile(e.path()));
                    continue;
                }
                const DecodedTexture factory = decoded(e.path());
                const DecodedTexture built = decoded(made / name);
                EXPECT_EQ(built.container, factory.container);
                if (dxt3) {
                    const double psnr = colourPsnr(built.image, factory.image);
                    EXPECT_GE(psnr, c.photographic ? squishClusterFitPsnr(factory.image) - 0.5 : 40.0);
                } else
                    EXPECT_TRUE(built.image.rgba == factory.image.rgba);
            }
        }
        // Every factory livery is in aircraft.cfg as it was, the two new ones beside them.
        const auto after = liveryBodies(aircraft / "aircraft.cfg");
        for (const auto& [title, body] : factoryLiveries) {
            ASSERT_TRUE(after.count(title)) << title;
            EXPECT_EQ(after.at(title), body) << title;
        }
        EXPECT_EQ(after.size(), factoryLiveries.size() + 2);
    }
}

} // namespace
} // namespace livrano
