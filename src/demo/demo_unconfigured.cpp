// SPDX-License-Identifier: MIT
#include "demo/demo_unconfigured.h"

#include <string>

#include "demo/demo_model_files.h"
#include "demo/demo_painting.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

constexpr char kTitlePrefix[] = "Corvane CK-20 Kestrel";
constexpr char kModelName[] = "CK20";
constexpr char kAirName[] = "Corvane_CK20";

enum class Layout {
    Whole,    // the part over the whole texture
    TwoSides, // the part twice, the left side above the right
    CutOut,   // a propeller blade down the middle, transparent around it
};

struct TextureLayout {
    const char* name; // as the model names it, without ".bmp"
    const char* extension;
    DemoTextureStorage storage;
    int width;
    int height;
    LiveryPart part;
    Layout layout;
    std::int32_t modelOffset;
};

// The maker kept the fuselage in DXT1, the surfaces that shine in DXT5, the cowling in 16 bits
// and the cabin in a palette: every format once, each size a power of two.
constexpr TextureLayout kTextures[] = {
    {"CK20_FUSE", ".bmp", DemoTextureStorage::Dxt1Bitmap, 512, 512, LiveryPart::Fuselage, Layout::TwoSides,
     4097},
    {"CK20_WING", ".dds", DemoTextureStorage::Dxt5Dds, 512, 256, LiveryPart::Wing, Layout::Whole, 6145},
    {"CK20_TAIL", ".bmp", DemoTextureStorage::Dxt5Bitmap, 256, 256, LiveryPart::Tail, Layout::Whole, 8193},
    {"CK20_COWL", ".bmp", DemoTextureStorage::Rgb565Bitmap, 256, 128, LiveryPart::Nacelle, Layout::Whole,
     10241},
    {"CK20_PROP", ".dds", DemoTextureStorage::Dxt1Dds, 128, 128, LiveryPart::Nacelle, Layout::CutOut, 12289},
    {"CK20_INTERIOR", ".bmp", DemoTextureStorage::PalettisedBitmap, 256, 256, LiveryPart::Wing, Layout::Whole,
     14337},
};

// The fuselage's light map: lit where the night design has its accent colour. The simulator
// finds it by the texture's name; the model does not name it.
constexpr TextureLayout kLightMap = {
    "CK20_FUSE_L",    ".bmp", DemoTextureStorage::Dxt1Bitmap, 256, 256, LiveryPart::Fuselage,
    Layout::TwoSides, 0};

struct ShippedLivery {
    std::string variation;
    std::string texture; // the entry's texture value: "" is the plain "texture" folder
    std::string tail;
    std::string airline;
    LiveryDesign design;
    std::string fallbacks; // texture.cfg's lines
};

std::vector<ShippedLivery> liveries() {
    return {
        {"Factory",
         "",
         "N20CK",
         "",
         {{250, 250, 246}, {196, 36, 32}, {32, 34, 40}, "N20CK", "KESTREL"},
         "fallback.1=..\\..\\..\\Texture\r\n"},
        // The second livery falls back on the first's folder, then the simulator's.
        {"Racing Green",
         "1",
         "N24CK",
         "CORVANE",
         {{22, 84, 56}, {236, 196, 72}, {248, 248, 248}, "N24CK", "CORVANE"},
         "fallback.1=..\\texture\r\nfallback.2=..\\..\\..\\Texture\r\n"},
    };
}

fs::path textureFolder(const ShippedLivery& livery) {
    return livery.texture.empty() ? fs::path("texture") : fs::path("texture." + livery.texture);
}

bool keepsAlpha(DemoTextureStorage storage) {
    return storage == DemoTextureStorage::Dxt5Bitmap || storage == DemoTextureStorage::Dxt5Dds;
}

RgbaImage painted(const TextureLayout& t, const LiveryDesign& design) {
    LiveryPicture picture = blankPicture(t.width, t.height, design);
    switch (t.layout) {
    case Layout::Whole:
        paintPart(picture, t.part, {0, 0, t.width, t.height}, design);
        break;
    case Layout::TwoSides:
        paintPart(picture, t.part, {0, 0, t.width, t.height / 2}, design);
        paintPart(picture, t.part, {0, t.height / 2, t.width, t.height}, design);
        break;
    case Layout::CutOut:
        // Off the block grid, so that blocks mixing blade and air are made too.
        paintPart(picture, t.part, {t.width * 25 / 64, 0, t.width * 39 / 64, t.height}, design);
        break;
    }
    RgbaImage image{t.width, t.height, std::vector<std::uint8_t>(picture.alpha.pixels.size() * 4)};
    for (std::size_t i = 0; i < picture.alpha.pixels.size(); ++i) {
        image.rgba[i * 4] = picture.colour.pixels[i * 3 + 2];
        image.rgba[i * 4 + 1] = picture.colour.pixels[i * 3 + 1];
        image.rgba[i * 4 + 2] = picture.colour.pixels[i * 3];
        const int x = static_cast<int>(i % static_cast<std::size_t>(t.width));
        const bool blade = x >= t.width * 25 / 64 && x < t.width * 39 / 64;
        image.rgba[i * 4 + 3] = t.layout == Layout::CutOut ? (blade ? 255 : 0)
                                : keepsAlpha(t.storage)    ? picture.alpha.pixels[i]
                                                           : 255;
    }
    return image;
}

std::string entryText(std::size_t n, const ShippedLivery& l) {
    std::string text = "[fltsim." + std::to_string(n) + "]\r\n";
    auto key = [&](const std::string& k, const std::string& v) { text += k + "=" + v + "\r\n"; };
    key("title", std::string(kTitlePrefix) + " " + l.variation);
    key("sim", kAirName);
    key("model", "");
    key("panel", "");
    key("sound", "");
    key("texture", l.texture);
    key("kb_checklists", "CK20_check");
    key("kb_reference", "CK20_ref");
    key("atc_id", l.tail);
    key("atc_airline", l.airline);
    key("atc_flight_number", "20");
    key("atc_heavy", "0");
    key("ui_manufacturer", "Corvane Aeroworks");
    key("ui_type", "CK-20 Kestrel");
    key("ui_variation", l.variation);
    key("visual_damage", "1");
    key("description", "A four-seat single for touring and training.");
    return text + "\r\n";
}

std::string aircraftCfg() {
    std::string text;
    const std::vector<ShippedLivery> all = liveries();
    for (std::size_t n = 0; n < all.size(); ++n)
        text += entryText(n, all[n]);
    return text + "[General]\r\natc_type=CORVANE\r\natc_model=CK20\r\neditable=1\r\n"
                  "performance=Cruise speed 140 kts\r\n\r\n"
                  "[flight_tuning]\r\ncruise_lift_scalar=1.0\r\nparasite_drag_scalar=1.0\r\n\r\n"
                  "[WEIGHT_AND_BALANCE]\r\nmax_gross_weight=2550\r\nempty_weight=1640\r\n"
                  "reference_datum_position=0,0,0\r\nempty_weight_CG_position=-0.8,0,0\r\n"
                  "max_number_of_stations=3\r\nstation_load.0=170,1.5,-1.2,0\r\n"
                  "station_load.1=170,1.5,1.2,0\r\nstation_load.2=120,-4.0,0,0\r\n\r\n";
}

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

} // namespace

std::vector<DemoShippedTexture> unconfiguredTextures() {
    std::vector<DemoShippedTexture> textures;
    for (const ShippedLivery& l : liveries()) {
        for (const TextureLayout& t : kTextures)
            textures.push_back(
                {textureFolder(l) / (std::string(t.name) + t.extension), t.storage, painted(t, l.design)});
        LiveryDesign night = l.design;
        night.body = night.stripe = {10, 10, 14};
        night.accent = {255, 214, 140};
        textures.push_back({textureFolder(l) / (std::string(kLightMap.name) + kLightMap.extension),
                            kLightMap.storage, painted(kLightMap, night)});
    }
    return textures;
}

std::vector<DemoShippedFile> unconfiguredAircraftFiles() {
    std::vector<ModelTextureName> names;
    for (const TextureLayout& t : kTextures)
        names.push_back({std::string(t.name) + ".bmp", {t.modelOffset}});
    std::vector<DemoShippedFile> files = {
        {"aircraft.cfg", bytesOf(aircraftCfg())},
        {fs::path("model") / "Model.cfg", bytesOf("[models]\r\nnormal=" + std::string(kModelName) + "\r\n")},
        {fs::path("model") / (std::string(kModelName) + ".mdl"), bytesOf(demoModelFile(names))},
        {std::string(kAirName) + ".air", bytesOf(demoAirFile(kAirName))},
    };
    for (const ShippedLivery& l : liveries())
        files.push_back({textureFolder(l) / "texture.cfg", bytesOf("[fltsim]\r\n" + l.fallbacks)});
    for (const DemoShippedTexture& t : unconfiguredTextures())
        files.push_back({t.file, encodeDemoTexture(t.picture, t.storage)});
    return files;
}

} // namespace livrano
