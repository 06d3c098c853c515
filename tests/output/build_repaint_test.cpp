// SPDX-License-Identifier: MIT
#include "output/build_repaint.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "aircraft/aircraft_spec_checks.h"
#include "aircraft/profile.h"
#include "app/file_bytes.h"
#include "app/platform.h"
#include "output/cfg_restore.h"
#include "output/configuration_text.h"
#include "output/interrupted_work.h"
#include "output/repaint_world.h"
#include "support/time_limit.h"
#include "texture/bmp_writer.h"
#include "texture/template_loader.h"
#include "texture/texture_fixtures.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;
using testkit::FailingFileOperations;
using testkit::readFile;
using testkit::RepaintWorld;
using testkit::writeFile;

const char* const kThreeEntries = "[fltsim.0]\r\ntitle=Corvane Craft Alpha\r\nmodel=AAA\r\n\r\n"
                                  "[fltsim.1]\r\ntitle=Corvane Craft Beta\r\nmodel=BBB\r\n\r\n"
                                  "[fltsim.2]\r\ntitle=Corvane Craft Gamma\r\nmodel=CCC\r\n\r\n";

// Latin-1 text as UTF-16 with its byte-order mark.
std::string utf16(std::string_view latin1, bool little) {
    std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
    for (char c : latin1)
        out += little ? std::string{c, '\0'} : std::string{'\0', c};
    return out;
}

void chooseAgain(RepaintWorld& world, const char* variation, const char* extension) {
    world.app.settings.Variation = variation;
    world.app.settings.FolderExtension = extension;
    world.app.settings.TailNumber = "n123ab";
    world.app.settings.Callsign = "*NONE*";
}

// A build killed midway leaves its temporary files; the next one removes them, and nothing else.
TEST(BuildRepaint, ReportsEveryStepWithItsTextAndProgressAndRemovesAnInterruptedBuildsFiles) {
    RepaintWorld world;
    world.installConfiguration();
    writeFile(world.aircraft() / "Aircraft.cfg", kThreeEntries);
    const fs::path temp = world.programFolder() / "TempBitmaps";
    const std::vector<fs::path> leftovers = {world.aircraft() / "Aircraft.cfg.livrano-3141592.tmp",
                                             world.aircraft() / "Texture" / "T_WING_QRX.bmp.livrano-7.tmp",
                                             temp / "T_WING_QRX_c.bmp.livrano-42.tmp"};
    const std::vector<fs::path> kept = {
        world.aircraft() / "notes.livrano-7.tmp.txt", world.aircraft() / "a.livrano-x7.tmp",
        world.aircraft() / "backup.tmp", world.aircraft() / "Texture" / ".livrano-7.tmp",
        world.data() / "Aircraft.cfg.livrano-7.tmp"};
    for (const std::vector<fs::path>& files : {leftovers, kept})
        for (const fs::path& file : files)
            writeFile(file, "x");
    fs::create_directories(world.aircraft() / "Model.livrano-7.tmp");
    EXPECT_EQ(findInterruptedWork(world.aircraft(), world.programFolder()).temporaries, leftovers);
    const Status status = CreateRepaint(world.app.buildState());
    ASSERT_TRUE(status) << status.message();
    for (const fs::path& file : leftovers)
        EXPECT_FALSE(fs::exists(file)) << file;
    for (const fs::path& file : kept)
        EXPECT_TRUE(fs::exists(file)) << file;
    EXPECT_TRUE(fs::is_directory(world.aircraft() / "Model.livrano-7.tmp"));

    const std::vector<double> driverAndCfg = {0, 1, 2, 3, 8, 9, 10, 11, 12, 14, 16, 18, 18, 19, 20, 20};
    const std::vector<double>& progress = world.frontend.progressValues;
    ASSERT_GE(progress.size(), driverAndCfg.size());
    EXPECT_EQ(std::vector<double>(progress.begin(), progress.begin() + 16), driverAndCfg);
    for (std::size_t i = 16; i < progress.size(); ++i)
        EXPECT_GT(progress[i], 20) << i; // the texture passes

    const std::vector<std::string>& texts = world.frontend.statusTexts;
    ASSERT_GE(texts.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 6),
              (std::vector<std::string>{
                  "Finished what an interrupted run left in Craft: removed 3 temporary files",
                  "Copying Files", "Creating Aircraft Directories", "Renaming Textures in MDL",
                  "Writing Aircraft Configuration File", "Working Texture - T_FUSE_QRX_1"}));
    // The craft's textures have no size: every one is left out, and the closing text says so.
    EXPECT_EQ(texts.back(), "Your Aircraft Repaint has been built, but 3 textures were left out");
    for (const char* name : {"T_FUSE_QRX_1", "T_WING_QRX", "T_TAIL_QRX"}) // with the reason, in the detail
        EXPECT_THAT(world.frontend.statusDetail, HasSubstr(std::string(name) + " was skipped: ")) << name;

    const std::vector<std::string>& events = world.frontend.events;
    EXPECT_EQ(events[2], "show-progress");
    const auto hidden = std::find(events.begin(), events.end(), "hide-progress");
    const auto done = std::find(events.begin(), events.end(), "status: " + texts.back());
    const auto lastProgress = std::find_if(events.rbegin(), events.rend(), [](const std::string& e) {
                                  return e.starts_with("progress: ");
                              }).base();
    EXPECT_TRUE(lastProgress <= hidden && hidden < done);
    EXPECT_FALSE(world.frontend.progressVisible);
    EXPECT_EQ(world.frontend.sounds, std::vector<std::string>{"Next.wav"});
    EXPECT_EQ(events.back(), "sound: Next.wav");

    // The aircraft is loaded again: the choices are cleared, the aircraft stays chosen.
    const RepaintSettings& chosen = world.app.settings;
    EXPECT_EQ((std::vector<std::string>{chosen.Variation, chosen.FolderExtension, chosen.AircraftName,
                                        chosen.PendingAircraftName, world.app.spec.AircraftDirectory}),
              (std::vector<std::string>{"", "", "Corvane Craft", "Corvane Craft", "Craft"}));
    EXPECT_EQ(chosen.AircraftIndex, 0);

    EXPECT_EQ(RepaintWorld::titles(world.aircraft() / "Aircraft.cfg"),
              (std::vector<std::string>{"Corvane Craft Alpha", "Corvane Craft Beta", "Corvane Craft Gamma",
                                        "Corvane Craft Blue Sky"}));
    EXPECT_EQ(readFile(world.aircraft() / "Aircraft.bak"), kThreeEntries);
}

// A folder that cannot be emptied (the painter keeps sketches in it) is written again under its
// own spelling, not beside it under another case.
TEST(BuildRepaint, TextureFolderAircraftSkipTheModelAndKeepTheirFoldersSpelling) {
    RepaintWorld world;
    world.app.spec.TextureAssignOnly = 1;
    world.app.spec.CopyRenameAirFile = 0;
    world.installConfiguration();
    ASSERT_TRUE(CreateRepaint(world.app.buildState()));
    const std::vector<double>& progress = world.frontend.progressValues;
    EXPECT_EQ(std::vector<double>(progress.begin(), progress.begin() + 4), (std::vector<double>{0, 1, 2, 3}));
    for (const std::string& text : world.frontend.statusTexts)
        EXPECT_NE(text, "Renaming Textures in MDL");
    EXPECT_EQ(RepaintWorld::listing(world.aircraft()),
              (std::set<std::string>{"Aircraft.cfg", "Texture.qrx/"}));
    for (const char* extension : {"harbour", "HARBOUR"}) {
        chooseAgain(world, "Harbour", extension);
        world.app.spec.TextureAssignOnly = 1;
        const Status built = CreateRepaint(world.app.buildState());
        ASSERT_TRUE(built) << built.message();
        fs::create_directories(world.aircraft() / "Texture.harbour" / "sketches");
    }
    EXPECT_TRUE(fs::is_directory(world.aircraft() / "Texture.harbour" / "sketches"));
    EXPECT_FALSE(fs::exists(world.aircraft() / "Texture.HARBOUR"));
}

// The livery rebuilt under its own title and folders: each failing step ends the build with its
// own text, aircraft.cfg as it was or whole and new (that every file stays whole, old or new, is the
// writing commands' model test's to hold, on every kind of aircraft).
const std::string kInstalledBlueSky =
    std::string(kThreeEntries) + "[fltsim.3]\r\ntitle=Corvane Craft Blue Sky\r\nmodel=QRX\r\n\r\n";
const std::pair<const char*, const char*> kBlueSkyFiles[] = {
    {"Model.QRX/Craft_QRX.mdl", "old model"},
    {"Model.QRX/Model.cfg", "[models]\r\nnormal=Craft_QRX\r\n; old\r\n"},
    {"Craft_QRX.air", "old air"}};

TEST(BuildRepaint, AFailingStepEndsTheBuildThereWithAWholeAircraftCfg) {
    const char* const model = "Renaming Textures in MDL";
    const char* const cfgStep = "Writing Aircraft Configuration File";
    struct Case {
        const char* operation;
        const char* file;
        const char* step;
        bool cfgWritten = false;
        const char* lastText = nullptr; // the step's own unless given
        bool savedMeanwhile = false;    // an editor saves aircraft.cfg before the operation instead
    };
    const Case cases[] = {
        {"writeFile", "Livrano.journal", "Copying Files"},
        {"createDirectory", "Texture", "Creating Aircraft Directories"},
        {"writeFile", "Craft_QRX.mdl", model},
        {"syncFile", "Model.cfg", model},
        {"renameFile", "Craft_QRX.air", "Copying the flight-model file", false, model},
        {"readFile", "Aircraft.cfg", cfgStep},
        {"writeFile", "Aircraft.original", cfgStep},
        {"syncFile", "Aircraft.bak", cfgStep},
        {"syncFile", "Aircraft.cfg", cfgStep},
        {"renameFile", "Aircraft.cfg", cfgStep},
        {"readFile", "Aircraft.cfg", cfgStep, false, nullptr, true},
        {"syncFile", "Aircraft.bak", cfgStep, false, nullptr, true},
        {"reload", "", "Reloading the aircraft specification", true, "Moving New Textures"},
    };
    auto blueSky = [](RepaintWorld& world) {
        world.installConfiguration();
        writeFile(world.aircraft() / "Aircraft.cfg", kInstalledBlueSky);
        for (const auto& [file, bytes] : kBlueSkyFiles)
            writeFile(world.aircraft() / file, bytes);
    };
    for (const Case& c : cases) {
        RepaintWorld world;
        blueSky(world);
        const bool reload = std::string(c.operation) == "reload";
        if (reload)
            world.app.settings.AircraftIndex = 7; // names no catalogue entry
        const std::string saved = kInstalledBlueSky + "[fltsim.4]\r\ntitle=Saved Meanwhile\r\n";
        FailingFileOperations files([&](const std::string& op, const std::string& name) {
            const bool at = op == c.operation && name == c.file;
            if (at && c.savedMeanwhile)
                writeFile(world.aircraft() / "Aircraft.cfg", saved);
            return at && !c.savedMeanwhile;
        });
        const Status status = CreateRepaint(world.app.buildState(), files);
        const std::string label = std::string(c.operation) + " " + c.file;
        ASSERT_FALSE(status) << label;
        EXPECT_THAT(status.message(), HasSubstr(std::string("\"") + c.step + "\"")) << label;
        EXPECT_EQ(world.frontend.statusTexts.back(), c.lastText ? c.lastText : c.step) << label;
        EXPECT_EQ(world.frontend.progressVisible, !reload) << label;
        EXPECT_TRUE(world.frontend.sounds.empty()) << label;
        EXPECT_EQ(files.failures, reload || c.savedMeanwhile ? 0 : 1) << label;
        EXPECT_EQ(status.text().find("changed after the build read it") != std::string::npos,
                  c.savedMeanwhile)
            << label;

        if (c.cfgWritten) {
            EXPECT_EQ(RepaintWorld::titles(world.aircraft() / "Aircraft.cfg"),
                      (std::vector<std::string>{"Corvane Craft Alpha", "Corvane Craft Beta",
                                                "Corvane Craft Gamma", "Corvane Craft Blue Sky"}))
                << label;
        } else {
            EXPECT_EQ(readFile(world.aircraft() / "Aircraft.cfg"),
                      c.savedMeanwhile ? saved : kInstalledBlueSky)
                << label;
        }
    }
}

// Each file operation of a restore made to fail in turn, alone or with all after it: aircraft.cfg stays
// whole and its bytes are never lost. A failed restore leaves it as it was and the backup with its own
// bytes (a second failure may stop that, and the message says so), unless only the last sync failed.
TEST(RestoreAircraftCfg, NoSequenceOfFailedStepsLosesTheCurrentFile) {
    const std::string current = kThreeEntries, backup = "[fltsim.0]\r\ntitle=Backup\r\n";
    const std::string original = "[fltsim.0]\r\ntitle=Original\r\n";
    for (const bool fromOriginal : {false, true}) {
        std::size_t operations = 1; // found by the runs: one more than a whole restore has
        for (std::size_t failing = 0; failing < operations * 2; ++failing) {
            RepaintWorld world;
            const fs::path cfg = world.aircraft() / "Aircraft.cfg", bak = world.aircraft() / "Aircraft.bak";
            for (const auto& [file, bytes] :
                 {std::pair{cfg, current}, {bak, backup}, {world.aircraft() / "Aircraft.original", original}})
                writeFile(file, bytes);
            std::size_t n = 0; // an odd `failing`: its operation and every one after it fail
            FailingFileOperations files([&](const std::string&, const std::string&) {
                return failing % 2 ? n++ >= failing / 2 : n++ == failing / 2;
            });
            const Status status = RestoreAircraftCfg(world.app.repaintInputs(), fromOriginal, files);
            operations = std::max(operations, n + 1);
            SCOPED_TRACE(std::to_string(fromOriginal) + " " + std::to_string(failing) + ": " + status.text());
            const std::string nowCfg = readFile(cfg), nowBak = readFile(bak);
            const bool toldCopy = status.text().find("holds a copy of aircraft.cfg") != std::string::npos;
            EXPECT_EQ(bool(status), files.failures == 0);
            EXPECT_TRUE(nowCfg == current || nowCfg == (fromOriginal ? original : backup));
            EXPECT_TRUE(nowCfg == current || nowBak == current) << "the current file is lost";
            EXPECT_EQ(nowBak, nowCfg != current || toldCopy ? current : backup);
            EXPECT_TRUE(failing % 2 == 1 || !toldCopy);
            for (const std::string& name : RepaintWorld::listing(world.aircraft()))
                EXPECT_TRUE(failing % 2 == 1 || !temporaryFileTarget(name)) << name << " is left";
        }
        EXPECT_GE(operations, 9u); // the reads and two replacements of four steps each
    }
}

// aircraft.cfg deleted by hand: a restore puts the kept file in its place.
TEST(RestoreAircraftCfg, PutsTheKeptFileWhereAircraftCfgIsMissing) {
    const std::string backup = "[fltsim.0]\r\ntitle=Backup\r\n",
                      original = "[fltsim.0]\r\ntitle=Original\r\n";
    for (const bool fromOriginal : {false, true}) {
        RepaintWorld world;
        writeFile(world.aircraft() / "Aircraft.bak", backup);
        writeFile(world.aircraft() / "Aircraft.original", original);
        EXPECT_TRUE(RestoreAircraftCfg(world.app.repaintInputs(), fromOriginal, systemFileOperations()))
            << fromOriginal;
        EXPECT_EQ(readFile(world.aircraft() / "Aircraft.cfg"), fromOriginal ? original : backup);
    }
}

// An editor saving aircraft.cfg between the plan and the build: the build is refused before it
// writes anything (a save while it runs is a row of the failing steps' table).
TEST(BuildRepaint, AnAircraftCfgSavedSinceThePlanIsLeftAsSaved) {
    RepaintWorld world;
    world.installConfiguration();
    const fs::path cfg = world.aircraft() / "Aircraft.cfg";
    writeFile(cfg, kThreeEntries);
    const BuildPlan plan = world.plan();
    writeFile(cfg, kInstalledBlueSky);
    const std::set<std::string> before = RepaintWorld::listing(world.root());
    const Status status = BuildRepaint(world.app.buildState(), plan);
    EXPECT_EQ(status.kind(), Status::Kind::Refused);
    EXPECT_THAT(status.text(), HasSubstr("changed after the build read it"));
    EXPECT_EQ(RepaintWorld::listing(world.root()), before);
    EXPECT_EQ(readFile(cfg), kInstalledBlueSky);
}

TEST(BuildRepaint, EveryFileItKeepsIsOnTheDiskBeforeItReplacesTheOld) {
    RepaintWorld world;
    AircraftSpec& spec = world.app.spec;
    spec.TemplateSizeX = spec.TemplateSizeY = 8;
    for (TextureSpec& t : spec.Textures) {
        t.TextureSizeX = t.TextureSizeY = 4;
        t.NumSectionsOnTexture = 1;
        t.Sections = {{0, 0, 8, 8, 0, 0, 4, 4, 0}};
    }
    world.app.extraTextures = {1, "", 1, {"extra.bmp"}};
    world.installConfiguration();
    const fs::path templateFile = world.root() / "template.bmp";
    testkit::writeFile(templateFile, encodeBmp24(testkit::gradientPicture(8, 8)));
    ASSERT_TRUE(LoadTemplate(world.app.spec, world.app.surfaces, world.frontend, templateFile.string()));
    fs::create_directories(world.programFolder() / "TempBitmaps");
    writeFile(world.aircraft() / "Aircraft.cfg", kThreeEntries);
    writeFile(world.aircraft() / "Texture" / "extra.bmp", "extra");

    FailingFileOperations files([](const std::string&, const std::string&) { return false; });
    ASSERT_TRUE(CreateRepaint(world.app.buildState(), files));
    const std::vector<std::string>& log = files.log;
    auto inOrder = [&](const std::vector<std::string>& steps) {
        return std::search(log.begin(), log.end(), steps.begin(), steps.end()) != log.end();
    };
    const std::pair<const char*, const char*> written[] = {
        {"Craft_QRX.mdl", "Model.QRX"},  {"Model.cfg", "Model.QRX"},    {"Craft_QRX.air", "Craft"},
        {"Aircraft.original", "Craft"},  {"Aircraft.bak", "Craft"},     {"Aircraft.cfg", "Craft"},
        {"T_FUSE_QRX_1.bmp", "Texture"}, {"T_WING_QRX.bmp", "Texture"}, {"T_TAIL_QRX.bmp", "Texture"},
        {"extra.bmp", "Texture.qrx"}};
    for (const auto& [file, folder] : written) {
        const std::string name = file;
        EXPECT_TRUE(inOrder({"writeFile " + name, "syncFile " + name, "renameFile " + name,
                             std::string("syncFolder ") + folder}))
            << name;
    }
    for (const char* folder : {"Model.QRX", "Texture.qrx"})
        EXPECT_TRUE(inOrder({std::string("createDirectory ") + folder, "syncFolder Craft"})) << folder;
}

// A file saved as UTF-16 or with CR line ends is read; the new one is CRLF Windows-1252 as always.
TEST(CreateRepaint, ReadsAnInstalledFileSavedAsUtf16OrWithCrLineEnds) {
    const std::string entry = "[fltsim.0]\r\ntitle=Livery \xE9\r\n; by hand\r\nmodel=AAA\r\n\r\n";
    std::string crOnly = entry;
    crOnly.erase(std::remove(crOnly.begin(), crOnly.end(), '\n'), crOnly.end());
    for (const std::string& installed : {utf16(entry, true), utf16(entry, false), crOnly}) {
        RepaintWorld world;
        world.installConfiguration();
        writeFile(world.aircraft() / "Aircraft.cfg", installed);
        ASSERT_TRUE(CreateRepaint(world.app.buildState()));
        EXPECT_THAT(readFile(world.aircraft() / "Aircraft.cfg"), HasSubstr(entry));
        EXPECT_EQ(RepaintWorld::titles(world.aircraft() / "Aircraft.cfg"),
                  (std::vector<std::string>{"Livery \xE9", "Corvane Craft Blue Sky"}));
        EXPECT_EQ(readFile(world.aircraft() / "Aircraft.bak"), installed);
    }
}

TEST(CreateRepaint, OtherLiveriesKeepTheirBytesAndTheOriginalFileIsKeptOnce) {
    RepaintWorld world;
    world.installConfiguration();
    // Entries made by hand: a description past the profile's limits, quoted values, a comment, odd
    // spacing, a key of the painter's own, a line end of another kind.
    std::vector<std::string> sections;
    std::string original;
    for (const char* n : {"0", "1", "2"}) {
        sections.push_back(std::string("[fltsim.") + n + "]\r\ntitle=Livery " + n +
                           "\r\n; repainted by hand\r\n  ui_variation=\"Blue Harbour, quoted\"\r\n"
                           "atc_id =  N318BH \nmodel=M" +
                           n + "\r\nmy_note='keep " + n + "'\r\ndescription=" + std::string(612, 'd') +
                           "\r\n\r\n");
        original += sections.back();
    }
    writeFile(world.aircraft() / "Aircraft.cfg", original);
    // The third build's variation differs in case and blanks only: it still replaces "One".
    for (const auto& [variation, extension] :
         {std::pair{"One", "one"}, std::pair{"Two", "two"}, std::pair{" one ", "one"},
          std::pair{"Two", "two"}, std::pair{"One", "one"}}) {
        chooseAgain(world, variation, extension);
        ASSERT_TRUE(CreateRepaint(world.app.buildState())) << variation;
    }
    const std::string cfg = readFile(world.aircraft() / "Aircraft.cfg");
    for (const std::string& section : sections)
        EXPECT_THAT(cfg, HasSubstr(section));
    EXPECT_EQ(readFile(world.aircraft() / "Aircraft.original"), original);
    // Each build replaced the last one of its title; the backup holds the file as the last build
    // found it.
    EXPECT_EQ(RepaintWorld::titles(world.aircraft() / "Aircraft.bak"),
              (std::vector<std::string>{"Livery 0", "Livery 1", "Livery 2", "Corvane Craft one",
                                        "Corvane Craft Two"}));
    EXPECT_EQ(RepaintWorld::titles(world.aircraft() / "Aircraft.cfg"),
              (std::vector<std::string>{"Livery 0", "Livery 1", "Livery 2", "Corvane Craft Two",
                                        "Corvane Craft One"}));
}

// Every name is looked up, never compared with every other: 8,000 textures, each with its file
// and the same-title livery's (built under another folder extension) beside it, planned and checked in time
// linear in them (comparing them took minutes).
TEST(CreateRepaint, ThousandsOfTexturesPlanInTimeOfTheConfiguration) {
    RepaintWorld world;
    AircraftSpec& spec = world.app.spec;
    spec.Textures.assign(8000, TextureSpec(spec.Textures[1]));
    spec.NumTextures = 8000;
    for (std::size_t i = 0; i < spec.Textures.size(); ++i) {
        const std::string base = "T" + std::to_string(i) + "_";
        spec.Textures[i].BaseTextureName = base + "XXX";
        spec.Textures[i].ReplaceMask = base + "*";
        spec.Textures[i].MdlOffsets = {};
        for (const char* id : {"XXX", "OLD"})
            writeFile(world.aircraft() / "Texture" / (base + id + ".bmp"), "");
    }
    writeFile(world.aircraft() / "Aircraft.cfg",
              "[fltsim.0]\r\ntitle=Corvane Craft Blue Sky\r\nmodel=OLD\r\n");
    const ProfileDocument configuration(
        configurationText(spec, world.app.extraTextures, world.app.extraFields));

    const std::clock_t start = std::clock();
    const BuildPlan plan = world.plan();
    const std::vector<SpecProblem> problems =
        checkAircraftSpec(configuration, spec, world.app.extraTextures, world.app.extraFields, {});
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    EXPECT_EQ(plan.removals.size(), 8000u);
    EXPECT_EQ(plan.textures.textures.back().destination, world.aircraft() / "Texture" / "T7999_QRX.bmp");
    EXPECT_TRUE(plan.warnings.empty());
    EXPECT_TRUE(std::none_of(problems.begin(), problems.end(),
                             [](const SpecProblem& p) { return p.key == "BaseTextureName"; }));
    EXPECT_LT(seconds, testkit::cpuSecondsAllowed(2.0));
}

} // namespace
} // namespace livrano
