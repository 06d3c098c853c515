// SPDX-License-Identifier: MIT
#include "output/repaint_world.h"

#include <gtest/gtest.h>

#include "aircraft/aircraft_spec_loader.h"
#include "aircraft/catalogue.h"
#include "aircraft/cipher.h"
#include "aircraft/profile.h"
#include "app/text.h"
#include "output/configuration_text.h"
#include "texture/bitmap_surfaces.h"

namespace livrano::testkit {

namespace fs = std::filesystem;

std::string RepaintWorld::modelBytes() {
    std::string bytes(400, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 7 + 3) % 251);
    return bytes;
}

RepaintWorld::RepaintWorld() : app(m_dir / "Corvane Software" / "Livrano", frontend) {
    fs::create_directories(programFolder());
    fs::create_directories(m_dir / "Aircraft");
    writeFile(data() / "Aircraft.cfg", readFile(testData("craft_aircraft.cfg")));
    writeFile(data() / "Craft_XXX.mdl", modelBytes());
    writeFile(data() / "Craft_XXX.air", "flight model bytes");

    EXPECT_TRUE(readAircraftSpec(ProfileDocument(readFile(testData("craft.cfg"))), false, app.spec,
                                 app.extraTextures, app.extraFields));

    // A template of one black pixel: the craft's textures have no size, so each is left out.
    app.surfaces.TemplateSurface24 = {true, true, Bitmap{1, 1, 3, {0, 0, 0}, {}}};

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
    const Status planned = planBuild(app.repaintInputs(), app.surfaces, plan);
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

} // namespace livrano::testkit
