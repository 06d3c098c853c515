// SPDX-License-Identifier: MIT
#include "output/aircraft_cfg.h"

#include <gtest/gtest.h>

#include "output/build_repaint.h"
#include "output/repaint_world.h"
#include "support/data_rows.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testkit::readFile;
using testkit::RepaintWorld;
using testkit::writeFile;

std::string entry(int n, const std::string& title, const std::string& model = "",
                  const std::string& texture = "") {
    return "[fltsim." + std::to_string(n) + "]\r\ntitle=" + title + "\r\nmodel=" + model +
           "\r\ntexture=" + texture + "\r\n\r\n";
}

// A value that would not come back from aircraft.cfg as written is refused, and a control
// character is named as such: the painter must learn which character to take out.
TEST(WriteAircraftCfg, AValueMustReadBackAndAControlCharacterIsNamed) {
    const struct {
        const char* key;
        std::string value;
        const char* refusal; // "" when the value is written
    } cases[] = {
        {"title", "Blue Sky", ""},
        {"description", std::string(300, 'd'), ""},
        {"atc_id", "N1\x01X", "atc_id \"N1\x01X\" holds a control character."},
        {"ui_variation", "a\tb", "holds a control character."},
        {"title", "\"Blue Sky\"", "cannot be read back from aircraft.cfg."},
        {"title", std::string(300, 't'), "cannot be read back from aircraft.cfg."},
    };
    for (const auto& c : cases) {
        const Status s = checkFltsimValue(c.key, c.value);
        EXPECT_EQ(s.ok(), *c.refusal == '\0') << c.key;
        EXPECT_NE(s.message().find(c.refusal), std::string::npos) << s.message();
    }
}

TEST(WriteAircraftCfg, WritesTheExactFile) {
    RepaintWorld world;
    world.app.extraFields.CopyExtraFields = 1;
    world.app.extraFields.NumFields = 2;
    world.app.extraFields.ExtraFieldNames = {"atc_parking_codes", " atc_parking_types "};
    world.app.extraFields.ExtraFieldDefaults = {"CVN", "RAMP"};
    // An installed file with an untidy second entry; the written file takes the data copy's
    // sections, keeps the installed weights and carries every entry with every key.
    const std::string installed = readFile(testkit::testData("craft_installed.cfg"));
    writeFile(world.aircraft() / "aircraft.cfg", installed);
    fs::permissions(world.aircraft() / "aircraft.cfg", fs::perms::owner_read | fs::perms::owner_write);

    const BuildPlan plan = world.plan();
    ASSERT_TRUE(WriteAircraftCfg(world.app.extraFields, world.frontend, plan));

    // The installed file's name keeps its case; the backup holds it as it was.
    EXPECT_EQ(readFile(world.aircraft() / "aircraft.cfg"), readFile(testkit::testData("craft_written.cfg")));
    EXPECT_EQ(readFile(world.aircraft() / "Aircraft.bak"), installed);
    EXPECT_EQ(RepaintWorld::listing(world.aircraft()),
              (std::set<std::string>{"aircraft.cfg", "Aircraft.bak", "Aircraft.original"}));
    EXPECT_EQ(world.frontend.statusTexts, std::vector<std::string>{"Writing Aircraft Configuration File"});
    // A private file stays private, its copies too.
    for (const char* name : {"aircraft.cfg", "Aircraft.bak", "Aircraft.original"})
        EXPECT_EQ(fs::status(world.aircraft() / name).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write)
            << name;
    ASSERT_EQ(plan.entries.size(), 2u);
    EXPECT_EQ(plan.entries[1].extraValues, (std::vector<std::string>{"", ""}));
}

TEST(WriteAircraftCfg, NewEntryValuesFollowTheAircraftsKind) {
    for (const std::vector<std::string>& c : testkit::dataRows("craft_entries.txt", "new")) {
        RepaintWorld world;
        world.app.spec.TextureAssignOnly = static_cast<std::int16_t>(std::stoi(c[0]));
        world.app.spec.CopyRenameAirFile = static_cast<std::int16_t>(std::stoi(c[1]));
        world.app.settings.FolderExtension = " Qrx ";
        world.app.settings.Callsign = c[3];
        world.app.settings.TailNumber = "n1\x01"
                                        "23ab";       // a control character becomes a blank
        world.app.settings.Variation = "Blue\r\nSky"; // and a line break in the title too
        std::string clean = readFile(testkit::testData("craft_aircraft.cfg"));
        clean.replace(clean.find("[livrano]"), std::string::npos,
                      "[livrano]\r\nmodel=" + c[2] + "\r\npanel=panel.craft\r\n");
        writeFile(world.data() / "Aircraft.cfg", clean);
        fs::create_directories(world.aircraft());
        const Status status = WriteAircraftCfg(world.app.extraFields, world.frontend, world.plan());
        ASSERT_TRUE(status) << status.message();
        const ProfileDocument doc = ProfileDocument::load(world.aircraft() / "Aircraft.cfg");
        auto raw = [&](const char* key) { return doc.find("fltsim.0", key, 254); };
        const std::string label = c[0] + "/" + c[1];
        const char* const keys[] = {"sim", "model", "texture", "atc_airline"};
        for (std::size_t k = 0; k < 4; ++k)
            EXPECT_EQ(raw(keys[k]), c[4 + k] == "-" ? std::nullopt : std::optional(c[4 + k]))
                << label << " " << keys[k];
        EXPECT_EQ(raw("panel"), std::optional<std::string>("panel.craft")) << label;
        EXPECT_EQ(raw("atc_id"), std::optional<std::string>("N1 23AB")) << label;
        EXPECT_EQ(raw("title"), std::optional<std::string>("Corvane Craft Blue  Sky")) << label;
        // No installed file: nothing to back up, the new entry is the first.
        EXPECT_FALSE(fs::exists(world.aircraft() / "Aircraft.bak")) << label;
    }
}

TEST(WriteAircraftCfg, CarriesEveryTitledEntryInNumberOrder) {
    struct Case {
        const char* what;
        std::string installed;
        std::vector<std::string> expected; // titles of the written file
    };
    const Case cases[] = {
        {"gap in the numbering",
         entry(3, "D") + entry(0, "A") + entry(1, "B"),
         {"A", "B", "D", "Corvane Craft Blue Sky"}},
        // Sections without a title, or repeating a name, keep their numbers; the others pass them.
        {"untitled entries",
         entry(0, "") + entry(1, "B") + "[fltsim.2]\r\nmodel=x\r\n" + entry(5, "F"),
         {"", "B", "", "F", "Corvane Craft Blue Sky"}},
        {"no titles at all", entry(0, " "), {"", "Corvane Craft Blue Sky"}},
        {"a name twice", entry(1, "A") + entry(1, "Z") + entry(2, "B"), {"B", "A", "Corvane Craft Blue Sky"}},
        {"leading zero is another section",
         entry(0, "A") + entry(1, "B") + "[fltsim.02]\r\ntitle=Z\r\n",
         {"A", "B", "Corvane Craft Blue Sky"}},
        {"header case and blanks",
         "[FLTSIM.0]\r\ntitle=A\r\n  [ Fltsim.1 ]\r\ntitle=B\r\n",
         {"A", "B", "Corvane Craft Blue Sky"}},
        {"only the first entry of the title is replaced",
         entry(0, "Other") + entry(1, "Corvane Craft Blue Sky", "AAA") +
             entry(2, "corvane craft blue sky", "BBB"),
         {"Other", "corvane craft blue sky", "Corvane Craft Blue Sky"}},
    };
    for (Case c : cases) {
        RepaintWorld world;
        writeFile(world.aircraft() / "Aircraft.cfg", c.installed);
        ASSERT_TRUE(WriteAircraftCfg(world.app.extraFields, world.frontend, world.plan())) << c.what;
        const ProfileDocument written = ProfileDocument::load(world.aircraft() / "Aircraft.cfg");
        std::vector<std::string> titles;
        for (std::size_t n = 0; n < c.expected.size() + 1; ++n)
            titles.push_back(written.readString("fltsim." + std::to_string(n), "title"));
        c.expected.push_back("");
        EXPECT_EQ(titles, c.expected) << c.what;
    }
}

// The new livery may fill the table, and a livery of an installed title may always be built
// again; a new one past the table is refused
// (MainWindowStatus.EveryMessageFitsTheLineWithTheRestInItsDetail).
TEST(WriteAircraftCfg, TheLiveriesMayFillTheTable) {
    for (const char* last : {"", "Corvane Craft Blue Sky"}) {
        RepaintWorld world;
        std::string installed;
        for (std::size_t n = 0; n + 1 < kFltsimSlots; ++n)
            installed += entry(static_cast<int>(n), "Livery " + std::to_string(n));
        if (*last != '\0')
            installed += entry(static_cast<int>(kFltsimSlots) - 1, last);
        writeFile(world.aircraft() / "Aircraft.cfg", installed);
        const Status status = WriteAircraftCfg(world.app.extraFields, world.frontend, world.plan());
        ASSERT_TRUE(status) << status.message();
        const std::vector<std::string> titles = RepaintWorld::titles(world.aircraft() / "Aircraft.cfg");
        EXPECT_EQ(titles.size(), kFltsimSlots) << last;
        EXPECT_EQ(titles.back(), "Corvane Craft Blue Sky") << last;
    }
}

TEST(ReplaceSameTitle, KeepsFilesAnotherLiveryStillUses) {
    struct Case {
        const char* what;
        std::int16_t textureAssignOnly;
        std::string installed; // [fltsim.0] is replaced; a later entry shares its files
        std::vector<std::string> files;
    };
    const Case cases[] = {
        {"same model value",
         0,
         entry(0, "Corvane Craft Blue Sky", "BBB") + entry(1, "Corvane Craft Floats", "bbb") +
             entry(2, "Corvane Craft Amphibian", "BBB"),
         {"Model.BBB/Craft_BBB.mdl", "Texture/T_FUSE_BBB_1.bmp", "Craft_BBB.air"}},
        {"same texture folder",
         1,
         entry(0, "Corvane Craft Blue Sky", "", "red") + entry(1, "Corvane Craft Floats", "floats", "blue") +
             entry(2, "Corvane Craft Amphibian", "amphibian", "RED"),
         {"Texture.red/T_FUSE_XXX_1.bmp"}},
    };
    for (const Case& c : cases) {
        RepaintWorld world;
        world.installConfiguration();
        world.app.spec.TextureAssignOnly = c.textureAssignOnly;
        writeFile(world.aircraft() / "Aircraft.cfg", c.installed);
        for (const std::string& file : c.files)
            writeFile(world.aircraft() / file, "in use");
        ASSERT_TRUE(CreateRepaint(world.app.buildState())) << c.what;
        EXPECT_EQ(RepaintWorld::titles(world.aircraft() / "Aircraft.cfg"),
                  (std::vector<std::string>{"Corvane Craft Floats", "Corvane Craft Amphibian",
                                            "Corvane Craft Blue Sky"}))
            << c.what;
        for (const std::string& file : c.files)
            EXPECT_TRUE(fs::exists(world.aircraft() / file)) << c.what << ": " << file;
    }
}

} // namespace
} // namespace livrano
