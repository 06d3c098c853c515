#include "output/aircraft_cfg.h"

#include <gtest/gtest.h>

#include "output/build_repaint.h"
#include "output/repaint_world.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testing::FailingFileOperations;
using testing::readFile;
using testing::RepaintWorld;
using testing::writeFile;

std::string entry(int n, const std::string& title, const std::string& model = "",
                  const std::string& texture = "") {
    return "[fltsim." + std::to_string(n) + "]\r\ntitle=" + title + "\r\nmodel=" + model +
           "\r\ntexture=" + texture + "\r\n\r\n";
}

TEST(WriteAircraftCfg, WritesTheExactFile) {
    RepaintWorld world;
    world.app.extraFields.CopyExtraFields = 1;
    world.app.extraFields.NumFields = 2;
    world.app.extraFields.ExtraFieldNames = {"atc_parking_codes", " atc_parking_types "};
    world.app.extraFields.ExtraFieldDefaults = {"CVN", "RAMP"};
    const std::string installed =
        "[fltsim.0]\r\ntitle=Corvane Craft "
        "Factory\r\nsim=Craft_XXX\r\nmodel=\r\npanel=\r\nsound=\r\ntexture=\r\n"
        "kb_checklists=Craft_check\r\nkb_reference=Craft_ref\r\natc_id=N100CV\r\natc_airline=CORVANE\r\n"
        "atc_flight_number=1\r\natc_heavy=0\r\nui_manufacturer=Corvane\r\nui_type=C-1 Craft\r\n"
        "ui_variation=Factory\r\nvisual_damage=1\r\ndescription=The factory "
        "livery.\r\natc_parking_codes=CVX\r\n\r\n"
        "[fltsim.1]\r\nui_variation = Red \r\ntitle=  Corvane Craft Red  \r\nmodel=RED\r\natc_heavy=1\r\n"
        "description=\"Quoted, red.\"\r\n\r\n"
        "[General]\r\natc_type=CRAFT\r\n\r\n"
        "[WEIGHT_AND_BALANCE]\r\nempty_weight=1234\r\nreference_datum_position=1,2,3\r\n"
        "empty_weight_CG_position=-1,0,0\r\nmax_number_of_stations=3\r\nstation_load.0=180,1,0,0\r\n"
        "station_load.1=190,2,0,0\r\nstation_load.2=50,-3,0,0\r\n";
    writeFile(world.aircraft() / "aircraft.cfg", installed);

    const BuildPlan plan = world.plan();
    ASSERT_TRUE(WriteAircraftCfg(world.app, plan));

    const std::string expected =
        "[version]\r\nmajor=1\r\nminor=0\r\n\r\n"
        "[General]\r\natc_type=CRAFT\r\n\r\n"
        "[WEIGHT_AND_BALANCE]\r\nmax_gross_weight=5000\r\nempty_weight=1234\r\nreference_datum_position=1,2,"
        "3\r\n"
        "empty_weight_CG_position=-1,0,0\r\nmax_number_of_stations=3\r\nstation_load.0=180,1,0,0\r\n"
        "station_load.1=190,2,0,0\r\nstation_load.2=50,-3,0,0\r\n\r\n"
        "[livrano]\r\nmodel=\r\npanel=\r\n"
        "[fltsim.0]\r\ntitle=Corvane Craft "
        "Factory\r\nsim=Craft_XXX\r\nmodel=\r\npanel=\r\nsound=\r\ntexture=\r\n"
        "kb_checklists=Craft_check\r\nkb_reference=Craft_ref\r\natc_id=N100CV\r\natc_airline=CORVANE\r\n"
        "atc_flight_number=1\r\natc_heavy=0\r\nui_manufacturer=Corvane\r\nui_type=C-1 Craft\r\n"
        "ui_variation=Factory\r\nvisual_damage=1\r\ndescription=The factory "
        "livery.\r\natc_parking_codes=CVX\r\n"
        "atc_parking_types=\r\n\r\n"
        "[fltsim.1]\r\ntitle=Corvane Craft Red\r\nsim=\r\nmodel=RED\r\npanel=\r\nsound=\r\ntexture=\r\n"
        "kb_checklists=\r\nkb_reference=\r\natc_id=\r\natc_airline=\r\natc_flight_number=\r\natc_heavy=1\r\n"
        "ui_manufacturer=\r\nui_type=\r\nui_variation=Red\r\nvisual_damage=0\r\ndescription=Quoted, red.\r\n"
        "atc_parking_codes=\r\natc_parking_types=\r\n\r\n"
        "[fltsim.2]\r\ntitle=Corvane Craft Blue "
        "Sky\r\nsim=Craft_QRX\r\nmodel=QRX\r\npanel=\r\nsound=\r\ntexture=\r\n"
        "kb_checklists=Craft_check\r\nkb_reference=Craft_ref\r\natc_id=N123AB\r\natc_airline=\r\n"
        "atc_flight_number=101\r\natc_heavy=1\r\nui_manufacturer=Corvane\r\nui_type=C-1 Craft\r\n"
        "ui_variation=Blue Sky\r\nvisual_damage=1\r\ndescription=A small craft.\r\natc_parking_codes=CVN\r\n"
        "atc_parking_types=RAMP\r\n\r\n";
    // The installed file's name keeps its case; the backup holds it as it was.
    EXPECT_EQ(readFile(world.aircraft() / "aircraft.cfg"), expected);
    EXPECT_EQ(readFile(world.aircraft() / "Aircraft.bak"), installed);
    EXPECT_EQ(RepaintWorld::listing(world.aircraft()),
              (std::set<std::string>{"aircraft.cfg", "Aircraft.bak", "Aircraft.original"}));
    EXPECT_EQ(world.frontend.statusTexts, std::vector<std::string>{"Writing Aircraft Configuration File"});
    ASSERT_EQ(plan.entries.size(), 2u);
    EXPECT_EQ(plan.entries[1].extraValues, (std::vector<std::string>{"", ""}));
}

TEST(WriteAircraftCfg, NewEntryValuesFollowTheAircraftsKind) {
    struct Case {
        std::int16_t textureAssignOnly;
        std::int16_t copyAir;
        const char* livranoModel;
        const char* callsign;
        // expected: nullptr for a key that must be absent
        const char* sim;
        const char* model;
        const char* texture;
        const char* airline;
    };
    const Case cases[] = {
        {0, 1, "", "*NONE*", "Craft_QRX", "QRX", "", ""},
        {1, 0, "craft_model", "CORVANE", "Craft_XXX", "craft_model", "Qrx", "CORVANE"},
        {1, 2, "", " *NONE* ", "", "STOCK", "Qrx", ""},
        {2, 0, "x", "CORVANE", "Craft_XXX", nullptr, nullptr, "CORVANE"},
    };
    for (const Case& c : cases) {
        RepaintWorld world;
        world.app.spec.TextureAssignOnly = c.textureAssignOnly;
        world.app.spec.CopyRenameAirFile = c.copyAir;
        world.app.settings.FolderExtension = " Qrx ";
        world.app.settings.Callsign = c.callsign;
        world.app.settings.TailNumber = "n1\x01"
                                        "23ab"; // a control character becomes a blank
        std::string clean = RepaintWorld::cleanAircraftCfg();
        clean.replace(clean.find("[livrano]"), std::string::npos,
                      std::string("[livrano]\r\nmodel=") + c.livranoModel + "\r\npanel=panel.craft\r\n");
        writeFile(world.data() / "Aircraft.cfg", clean);
        fs::create_directories(world.aircraft());
        const Status status = WriteAircraftCfg(world.app, world.plan());
        ASSERT_TRUE(status) << status.message();
        const ProfileDocument doc = ProfileDocument::load(world.aircraft() / "Aircraft.cfg");
        auto raw = [&](const char* key) { return doc.find("fltsim.0", key, 254); };
        const std::string label = std::to_string(c.textureAssignOnly) + "/" + std::to_string(c.copyAir);
        EXPECT_EQ(raw("sim"), std::optional<std::string>(c.sim)) << label;
        EXPECT_EQ(raw("model"), c.model ? std::optional<std::string>(c.model) : std::nullopt) << label;
        EXPECT_EQ(raw("texture"), c.texture ? std::optional<std::string>(c.texture) : std::nullopt) << label;
        EXPECT_EQ(raw("atc_airline"), std::optional<std::string>(c.airline)) << label;
        EXPECT_EQ(raw("panel"), std::optional<std::string>("panel.craft")) << label;
        EXPECT_EQ(raw("atc_id"), std::optional<std::string>("N1 23AB")) << label;
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
        {"untitled entries",
         entry(0, "") + entry(1, "B") + "[fltsim.2]\r\nmodel=x\r\n" + entry(5, "F"),
         {"B", "F", "Corvane Craft Blue Sky"}},
        {"no titles at all", entry(0, " "), {"Corvane Craft Blue Sky"}},
        {"leading zero is another section",
         entry(0, "A") + entry(1, "B") + "[fltsim.02]\r\ntitle=Z\r\n",
         {"A", "B", "Corvane Craft Blue Sky"}},
        {"header case and blanks",
         "[FLTSIM.0]\r\ntitle=A\r\n  [ Fltsim.1 ]\r\ntitle=B\r\n",
         {"A", "B", "Corvane Craft Blue Sky"}},
    };
    for (const Case& c : cases) {
        RepaintWorld world;
        writeFile(world.aircraft() / "Aircraft.cfg", c.installed);
        ASSERT_TRUE(WriteAircraftCfg(world.app, world.plan())) << c.what;
        EXPECT_EQ(RepaintWorld::titles(world.aircraft() / "Aircraft.cfg"), c.expected) << c.what;
    }
}

TEST(WriteAircraftCfg, RefusesMoreEntriesThanTheTableHolds) {
    for (const std::size_t count : {kFltsimSlots, kFltsimSlots + 1}) {
        RepaintWorld world;
        std::string installed;
        for (std::size_t n = 0; n < count; ++n)
            installed += entry(static_cast<int>(n), "Livery " + std::to_string(n));
        writeFile(world.aircraft() / "Aircraft.cfg", installed);
        BuildPlan plan;
        Status status = planBuild(world.app, plan);
        if (status)
            status = WriteAircraftCfg(world.app, plan);
        if (count == kFltsimSlots) {
            ASSERT_TRUE(status) << status.message();
            EXPECT_EQ(RepaintWorld::titles(world.aircraft() / "Aircraft.cfg").size(), kFltsimSlots + 1);
        } else {
            EXPECT_FALSE(status);
            EXPECT_NE(status.message().find("1000"), std::string::npos) << status.message();
            EXPECT_EQ(readFile(world.aircraft() / "Aircraft.cfg"), installed);
            EXPECT_FALSE(fs::exists(world.aircraft() / "Aircraft.bak"));
        }
    }
}

// Three installed variations of the shared-texture kind, each with its files.
void installThree(const RepaintWorld& world, const std::string& matchTitle, int matchAt) {
    const char* ids[] = {"AAA", "BBB", "CCC"};
    std::string cfg;
    for (int i = 0; i < 3; ++i) {
        const std::string id = ids[i];
        cfg += entry(i, i == matchAt ? matchTitle : "Corvane Craft " + id, id);
        writeFile(world.aircraft() / "Texture" / ("T_FUSE_" + id + "_1.bmp"), id);
        writeFile(world.aircraft() / ("Model." + id) / ("Craft_" + id + ".mdl"), id);
        writeFile(world.aircraft() / ("Model." + id) / "Model.cfg", id);
        writeFile(world.aircraft() / ("Craft_" + id + ".air"), id);
    }
    writeFile(world.aircraft() / "Aircraft.cfg", cfg);
}

TEST(ReplaceSameTitle, ReplacesTheFirstMiddleOrLastEntryAndItsFiles) {
    const char* ids[] = {"AAA", "BBB", "CCC"};
    for (int matchAt = 0; matchAt < 3; ++matchAt) {
        RepaintWorld world;
        world.installConfiguration();
        installThree(world, "  CORVANE craft blue SKY ", matchAt);
        ASSERT_TRUE(CreateRepaint(world.app));

        std::vector<std::string> expected;
        for (int i = 0; i < 3; ++i)
            if (i != matchAt)
                expected.push_back(std::string("Corvane Craft ") + ids[i]);
        expected.push_back("Corvane Craft Blue Sky");
        EXPECT_EQ(RepaintWorld::titles(world.aircraft() / "Aircraft.cfg"), expected) << matchAt;

        for (int i = 0; i < 3; ++i) {
            const std::string id = ids[i];
            const bool kept = i != matchAt;
            EXPECT_EQ(fs::exists(world.aircraft() / "Texture" / ("T_FUSE_" + id + "_1.bmp")), kept) << id;
            EXPECT_EQ(fs::exists(world.aircraft() / ("Model." + id)), kept) << id;
            EXPECT_EQ(fs::exists(world.aircraft() / ("Craft_" + id + ".air")), kept) << id;
        }
        // The replacement made the new variation's model and flight model again.
        EXPECT_EQ(RepaintWorld::listing(world.aircraft() / "Model.QRX"),
                  (std::set<std::string>{"Craft_QRX.mdl", "Model.cfg"}));
        EXPECT_TRUE(fs::exists(world.aircraft() / "Craft_QRX.air"));
    }
}

TEST(ReplaceSameTitle, KeepsFilesAnotherLiveryStillUses) {
    struct Case {
        const char* what;
        std::int16_t textureAssignOnly;
        std::string installed; // [fltsim.0] is replaced, [fltsim.1] shares its files
        std::vector<std::string> files;
    };
    const Case cases[] = {
        {"same model value",
         0,
         entry(0, "Corvane Craft Blue Sky", "BBB") + entry(1, "Corvane Craft Floats", "bbb"),
         {"Model.BBB/Craft_BBB.mdl", "Texture/T_FUSE_BBB_1.bmp", "Craft_BBB.air"}},
        {"same texture folder",
         1,
         entry(0, "Corvane Craft Blue Sky", "", "red") + entry(1, "Corvane Craft Floats", "floats", "RED"),
         {"Texture.red/T_FUSE_XXX_1.bmp"}},
    };
    for (const Case& c : cases) {
        RepaintWorld world;
        world.installConfiguration();
        world.app.spec.TextureAssignOnly = c.textureAssignOnly;
        writeFile(world.aircraft() / "Aircraft.cfg", c.installed);
        for (const std::string& file : c.files)
            writeFile(world.aircraft() / file, "in use");
        ASSERT_TRUE(CreateRepaint(world.app)) << c.what;
        EXPECT_EQ(RepaintWorld::titles(world.aircraft() / "Aircraft.cfg"),
                  (std::vector<std::string>{"Corvane Craft Floats", "Corvane Craft Blue Sky"}))
            << c.what;
        for (const std::string& file : c.files)
            EXPECT_TRUE(fs::exists(world.aircraft() / file)) << c.what << ": " << file;
    }
}

TEST(ReplaceSameTitle, ReplacesOnlyTheFirstMatch) {
    RepaintWorld world;
    writeFile(world.aircraft() / "Aircraft.cfg", entry(0, "Corvane Craft Other") +
                                                     entry(1, "Corvane Craft Blue Sky", "AAA") +
                                                     entry(2, "corvane craft blue sky", "BBB"));
    const BuildPlan plan = world.plan();
    ASSERT_TRUE(plan.replaced);
    EXPECT_EQ(plan.replaced->model, "AAA");
    ASSERT_EQ(plan.entries.size(), 2u);
    EXPECT_EQ(plan.entries[1].title, "corvane craft blue sky");
    EXPECT_FALSE(RepaintWorld().plan().replaced); // nothing installed: nothing replaced
}

TEST(WriteAircraftCfg, AFailingStepLeavesTheInstalledFileWhole) {
    struct Case {
        const char* operation;
        const char* file;
        bool backedUp; // the failure comes after the backup
    };
    const Case cases[] = {
        {"readFile", "Aircraft.cfg", false},      // the installed file cannot be read
        {"copyFile", "Aircraft.original", false}, // keeping the original fails
        {"copyFile", "Aircraft.bak", false},      // the backup fails
        {"replaceFile", "Aircraft.cfg", true},    // the composed file cannot be put in place
    };
    for (const Case& c : cases) {
        RepaintWorld world;
        installThree(world, "Corvane Craft Blue Sky", 1);
        const std::string installed = readFile(world.aircraft() / "Aircraft.cfg");
        FailingFileOperations files([&](const std::string& op, const std::string& name) {
            return op == c.operation && name == c.file;
        });
        const Status status = WriteAircraftCfg(world.app, world.plan(), files);
        EXPECT_FALSE(status) << c.operation << " " << c.file;
        EXPECT_EQ(files.failures, 1) << c.operation << " " << c.file;
        EXPECT_EQ(readFile(world.aircraft() / "Aircraft.cfg"), installed) << c.operation << " " << c.file;
        EXPECT_EQ(fs::exists(world.aircraft() / "Aircraft.bak"), c.backedUp) << c.operation << " " << c.file;
        if (c.backedUp) {
            EXPECT_EQ(readFile(world.aircraft() / "Aircraft.bak"), installed);
        }
        for (const std::string& name : RepaintWorld::listing(world.aircraft()))
            EXPECT_EQ(name.find(".livrano-"), std::string::npos) << name; // no file left half-way
    }
}

} // namespace
} // namespace livrano
