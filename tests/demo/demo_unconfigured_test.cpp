// SPDX-License-Identifier: MIT
#include "demo/demo_unconfigured.h"

#include <gtest/gtest.h>

#include <set>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <map>

#include "aircraft/catalogue.h"
#include "aircraft/profile.h"
#include "demo/demo_installation.h"
#include "demo/demo_kinds.h"
#include "support/temp_dir.h"
#include "texture/texture_reader.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testkit::readFile;

// How near a decoded texture comes to its painted picture: the largest channel error within
// 4 x 4 blocks of one painted colour and alpha, the largest alpha error anywhere, and the PSNR of
// the whole. Transparent texels count as black, the only colour DXT1 gives them.
struct Closeness {
    int flatColour = 0;
    int alpha = 0;
    double psnr = 0;
};

Closeness closenessOf(RgbaImage painted, RgbaImage decoded) {
    Closeness c;
    for (std::size_t i = 0; i < painted.rgba.size(); i += 4) {
        c.alpha = std::max(c.alpha, std::abs(painted.rgba[i + 3] - decoded.rgba[i + 3]));
        for (std::size_t k = 0; k < 3 && painted.rgba[i + 3] == 0; ++k)
            painted.rgba[i + k] = decoded.rgba[i + k] = 0;
    }
    c.psnr = colourPsnr(painted, decoded);
    for (int y = 0; y < painted.height; ++y)
        for (int x = 0; x < painted.width; ++x) {
            const std::uint8_t* corner = painted.pixel(x & ~3, y & ~3);
            bool flat = true;
            for (int i = 0; i < 16; ++i)
                flat =
                    flat && std::equal(corner, corner + 4, painted.pixel((x & ~3) + i % 4, (y & ~3) + i / 4));
            for (int k = 0; k < 3 && flat; ++k)
                c.flatColour =
                    std::max(c.flatColour, std::abs(painted.pixel(x, y)[k] - decoded.pixel(x, y)[k]));
        }
    return c;
}

struct Expected {
    const char* container;
    const char* format;
    int width;
    int height;
    int flatColour; // at most
    double psnr;    // at least
};

// Measured: DXT textures 45 to 55 dB, 565 ones 41 to 43 dB; blocks of three colours or more are
// where DXT loses most (up to 111 in one channel of one texel).
constexpr char kFs[] = "simulator bitmap (BMP with FS70 block)";
const std::map<std::string, Expected> kExpected = {
    {"CK20_FUSE.bmp", {kFs, "DXT1", 512, 512, 1, 44}},
    {"CK20_FUSE_L.bmp", {kFs, "DXT1", 256, 256, 1, 44}},
    {"CK20_WING.dds", {"DDS", "DXT5", 512, 256, 1, 44}},
    {"CK20_TAIL.bmp", {kFs, "DXT5", 256, 256, 1, 44}},
    {"CK20_COWL.bmp", {"BMP", "16-bit RGB 565", 256, 128, 4, 40}},
    {"CK20_PROP.dds", {"DDS", "DXT1", 128, 128, 1, 44}},
    {"CK20_INTERIOR.bmp", {"BMP", "8-bit palettised", 256, 256, 0, std::numeric_limits<double>::infinity()}},
};

// Nothing of Livrano's: no configuration in the catalogue, no data copy, no template. What its
// maker ships: each entry's texture folder with a texture.cfg and its textures, each named by the
// model as NAME.bmp, also those stored as NAME.dds (which the simulator finds under that name),
// but for the light map; the model that Model.cfg names and the flight model the entries name.
// Each texture reads back in its format and size, near the picture it was painted as. An
// installation of kinds (the commands' model runs on those) has it only when asked.
TEST(DemoUnconfigured, IsInstalledAsItsMakerShipsIt) {
    testkit::TempDir dir;
    DemoInstallation made;
    ASSERT_TRUE(CreateDemoInstallation(dir.path(), made));
    ASSERT_EQ(made.unconfigured.size(), 1u);
    const fs::path aircraft = made.unconfigured[0].aircraftFolder;
    EXPECT_EQ(aircraft, dir / "Aircraft" / "Kestrel");
    const AircraftCatalogue catalogue = LoadAircraftCatalogue(made.programFolder);
    EXPECT_EQ(catalogue.Entries.size(), 2u);
    EXPECT_FALSE(catalogueIndexOfName(catalogue, made.unconfigured[0].displayName));
    for (const auto& entry : fs::recursive_directory_iterator(made.programFolder)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name.find("CK20") == std::string::npos && name.find("Kestrel") == std::string::npos)
            << name;
    }

    const ProfileDocument cfg = ProfileDocument::load(aircraft / "aircraft.cfg");
    EXPECT_TRUE(cfg.readString("fltsim.2", "title").empty());
    const std::string mdl =
        ProfileDocument::load(aircraft / "model" / "Model.cfg").readString("models", "normal");
    const std::string modelBytes = readFile(aircraft / "model" / (mdl + ".mdl"));
    std::set<fs::path> folders; // each livery its own, as a kit meets both kinds
    for (const char* entry : {"fltsim.0", "fltsim.1"}) {
        EXPECT_FALSE(cfg.readString(entry, "title").empty()) << entry;
        EXPECT_TRUE(fs::is_regular_file(aircraft / (cfg.readString(entry, "sim") + ".air"))) << entry;
        const std::string texture = cfg.readString(entry, "texture");
        const fs::path folder = aircraft / (texture.empty() ? "texture" : "texture." + texture);
        folders.insert(folder);
        EXPECT_FALSE(ProfileDocument::load(folder / "texture.cfg").readString("fltsim", "fallback.1").empty())
            << folder;
        int named = 0;
        for (const auto& file : fs::directory_iterator(folder)) {
            const std::string stem = file.path().stem().string();
            if (file.path().extension() == ".cfg" || stem.ends_with("_L"))
                continue;
            EXPECT_NE(modelBytes.find(stem + std::string(".bmp\0", 5)), std::string::npos) << file.path();
            ++named;
        }
        EXPECT_EQ(named, 6) << folder;
    }
    EXPECT_EQ(folders.size(), 2u);

    const std::vector<DemoShippedTexture> textures = unconfiguredTextures();
    EXPECT_EQ(textures.size(), 2 * kExpected.size());
    for (const DemoShippedTexture& t : textures) {
        ASSERT_TRUE(kExpected.count(t.file.filename().string())) << t.file;
        const Expected& e = kExpected.at(t.file.filename().string());
        const std::string bytes = readFile(aircraft / t.file);
        DecodedTexture decoded;
        ASSERT_TRUE(
            decodeTexture({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, decoded))
            << t.file;
        EXPECT_EQ(describeContainer(decoded), e.container) << t.file;
        EXPECT_EQ(decoded.format, e.format) << t.file;
        ASSERT_EQ(decoded.width, e.width) << t.file;
        ASSERT_EQ(decoded.height, e.height) << t.file;
        const Closeness c = closenessOf(t.picture, decoded.image);
        EXPECT_LE(c.flatColour, e.flatColour) << t.file;
        // The DXT5 blocks hold at most two levels of alpha each, the propeller's one bit is its own.
        EXPECT_EQ(c.alpha, 0) << t.file;
        EXPECT_GE(c.psnr, e.psnr) << t.file;
    }

    testkit::TempDir other;
    DemoInstallation ofKinds;
    ASSERT_TRUE(CreateDemoInstallation(other.path(), ofKinds, demoAircraftKinds()));
    EXPECT_TRUE(ofKinds.unconfigured.empty());
    EXPECT_FALSE(fs::exists(other / "Aircraft" / "Kestrel"));
}

} // namespace
} // namespace livrano
