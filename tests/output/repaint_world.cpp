#include "output/repaint_world.h"

#include <gtest/gtest.h>

#include "aircraft/catalogue.h"
#include "aircraft/cipher.h"
#include "aircraft/profile.h"
#include "app/text.h"
#include "output/configuration_text.h"

namespace livrano::testing {

namespace fs = std::filesystem;

const char* RepaintWorld::cleanAircraftCfg() {
    return "[version]\r\nmajor=1\r\nminor=0\r\n\r\n"
           "[General]\r\natc_type=CRAFT\r\n\r\n"
           "[WEIGHT_AND_BALANCE]\r\nmax_gross_weight=5000\r\nempty_weight=1000\r\n"
           "reference_datum_position=0,0,0\r\nempty_weight_CG_position=0,0,0\r\n"
           "max_number_of_stations=2\r\nstation_load.0=170,0,0,0\r\nstation_load.1=170,0,0,0\r\n\r\n"
           "[livrano]\r\nmodel=\r\npanel=\r\n";
}

std::string RepaintWorld::modelBytes() {
    std::string bytes(400, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 7 + 3) % 251);
    return bytes;
}

RepaintWorld::RepaintWorld() : app(m_dir / "Corvane Software" / "Livrano", frontend) {
    fs::create_directories(programFolder());
    fs::create_directories(m_dir / "Aircraft");
    writeFile(data() / "Aircraft.cfg", cleanAircraftCfg());
    writeFile(data() / "Craft_XXX.mdl", modelBytes());
    writeFile(data() / "Craft_XXX.air", "flight model bytes");

    AircraftSpec& s = app.spec;
    s.AircraftDisplayName = "Corvane Craft";
    s.AircraftDirectory = "Craft";
    s.DataPath = "CRAFT";
    s.Manufacturer = "Corvane";
    s.AircraftType = "C-1 Craft";
    s.AircraftFlight = "101";
    s.AircraftTitlePrefix = "Corvane Craft";
    s.CheckListFile = "Craft_check";
    s.ReferenceFile = "Craft_ref";
    s.Description = "A small craft.";
    s.NumIdentifierCharacters = 3;
    s.BaseModelName = "Craft_XXX";
    s.ReplaceMask = "Craft_*";
    s.BaseAirName = "Craft_XXX";
    s.ReplaceAirMask = "Craft_*";
    s.CopyRenameAirFile = 1;
    s.TextureAssignOnly = 0;
    s.DefaultHeavy = 1;
    s.ShowDamage = 1;
    s.ModelFolder = "stock";
    auto texture = [](const char* base, const char* mask, std::vector<std::int32_t> offsets) {
        TextureSpec t;
        t.BaseTextureName = base;
        t.ReplaceMask = mask;
        t.NumMdlOffsets = static_cast<std::int16_t>(offsets.size());
        t.MdlOffsets = std::move(offsets);
        return t;
    };
    s.Textures = {texture("T_FUSE_XXX_1", "T_FUSE_*", {1, 200}), texture("T_WING_XXX", "T_WING_*", {100}),
                  texture("T_TAIL_XXX", "T_TAIL_*", {})};
    s.NumTextures = static_cast<std::int16_t>(s.Textures.size());

    RepaintSettings& r = app.settings;
    r.Variation = "Blue Sky";
    r.FolderExtension = "qrx";
    r.TailNumber = "n123ab";
    r.Callsign = "*NONE*";
}

void RepaintWorld::installConfiguration() {
    std::string text = configurationText(app.spec, app.extraTextures, app.extraFields);
    clsEncrypt cipher;
    cipher.EncryptByte(text, kProgramKey);
    writeFile(programFolder() / "Aircraft Configurations" / "Craft.bin", text);
    app.catalogue = LoadAircraftCatalogue(programFolder());
    app.settings.AircraftIndex = 0;
    app.settings.AircraftName = app.settings.PendingAircraftName = "Corvane Craft";
}

BuildPlan RepaintWorld::plan() const {
    BuildPlan plan;
    const Status planned = planBuild(app, plan);
    EXPECT_TRUE(planned) << planned.message();
    return plan;
}

std::set<std::string> RepaintWorld::listing(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().lexically_relative(folder).generic_string();
        if (it->is_directory())
            name += "/";
        names.insert(name);
    }
    return names;
}

std::vector<std::string> RepaintWorld::titles(const fs::path& aircraftCfg) {
    const ProfileDocument doc = ProfileDocument::load(aircraftCfg);
    std::vector<std::string> result;
    for (int n = 0;; ++n) {
        std::string title = doc.readString("fltsim." + std::to_string(n), "title");
        if (title.empty())
            return result;
        result.push_back(title);
    }
}

} // namespace livrano::testing
