// SPDX-License-Identifier: MIT
#include "aircraft/aircraft_spec_loader.h"

#include <gtest/gtest.h>

#include <ctime>

#include "output/application.h"
#include "support/data_rows.h"
#include "support/recording_frontend.h"
#include "support/sample_configuration.h"
#include "support/temp_dir.h"
#include "support/time_limit.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testkit::kSkylarkConfiguration;
using testkit::replaced;
using Loaded = testkit::ReadConfiguration;
using Lines = std::vector<std::string>;

bool sameRect(const TextureSection& s, std::initializer_list<int> v) {
    const int got[] = {s.TemplateLeft, s.TemplateTop, s.TemplateRight, s.TemplateBottom,
                       s.DestLeft,     s.DestTop,     s.DestRight,     s.DestBottom};
    return std::equal(v.begin(), v.end(), std::begin(got), std::end(got));
}

TEST(ReadAircraftSpec, SixteenBitFieldsKeepOnlyValuesInRange) {
    using Probe = long (*)(const AircraftSpec&);
    const Probe sizeX = [](const AircraftSpec& s) -> long { return s.Textures[0].TextureSizeX; };
    const Probe textures = [](const AircraftSpec& s) -> long { return long(s.Textures.size()); };
    struct Case {
        const char* from;
        const char* to;
        Probe probe;
        long expected;
        bool noted;
    };
    const Case cases[] = {
        {"TextureSizeX=1024", "TextureSizeX=40000", sizeX, 0, true},
        {"TextureSizeX=1024", "TextureSizeX=32767", sizeX, 32767, false},
        {"TextureSizeX=1024", "TextureSizeX=-32768", sizeX, -32768, false},
        {"TextureSizeX=1024", "TextureSizeX=-32769", sizeX, 0, true},
        {"Section.01.DestBottom=1024", "Section.01.DestBottom=99999",
         [](const AircraftSpec& s) -> long { return s.Textures[0].Sections[1].DestBottom; }, 0, true},
        {"Offset.00=70000", "Offset.00=-2147483000",
         [](const AircraftSpec& s) -> long { return s.Textures[2].MdlOffsets[0]; }, -2147483000, false},
        {"NumTextures=3", "NumTextures=65539", textures, 0, true},
        {"NumTextures=3", "NumTextures=-2", textures, 0, false},
        {"NumTextures=3", "NumTextures=2", textures, 2, false},
        {"NumSectionsOnTexture=2", "NumSectionsOnTexture=0",
         [](const AircraftSpec& s) -> long { return long(s.Textures[0].Sections.size()); }, 0, false},
        {"NumMdlOffsets=2", "NumMdlOffsets=-1",
         [](const AircraftSpec& s) -> long { return long(s.Textures[0].MdlOffsets.size()); }, 0, false},
        {"TemplateSizeY=1024", "TemplateSizeY=1024000",
         [](const AircraftSpec& s) -> long { return s.TemplateSizeY; }, 0, true},
    };
    for (const Case& c : cases) {
        const Loaded l = testkit::readConfiguration(replaced(kSkylarkConfiguration, c.from, c.to));
        EXPECT_EQ(c.probe(l.spec), c.expected) << c.to;
        EXPECT_EQ(l.notes.size(), c.noted ? 1u : 0u) << c.to;
    }
}

TEST(ReadAircraftSpec, OnlyHeldSectionsAreKeptAndOffsetsEndAtTheFirstMissing) {
    const std::string text =
        replaced(kSkylarkConfiguration,
                 "NumSectionsOnTexture=1\r\nSection.00.TemplateLeft=0\r\n"
                 "Section.00.TemplateTop=512",
                 "NumSectionsOnTexture=3\r\nSection.02.DestTop=7\r\nsection.2.DestLeft=9\r\n"
                 "Section.00.TemplateLeft=0\r\nSection.00.TemplateTop=512");
    const Loaded l = testkit::readConfiguration(
        replaced(text, "NumMdlOffsets=1\r\nOffset.00=22528", "NumMdlOffsets=3\r\nOffset.01=9"));
    const TextureSpec& wings = l.spec.Textures[1];
    ASSERT_EQ(wings.Sections.size(), 2u);
    EXPECT_TRUE(sameRect(wings.Sections[0], {0, 512, 2048, 768, 0, 0, 1024, 512}));
    EXPECT_EQ(wings.Sections[1].Number, 2);
    EXPECT_TRUE(sameRect(wings.Sections[1], {0, 0, 0, 0, 0, 7, 0, 0}));
    EXPECT_EQ(wings.MdlOffsets, (std::vector<std::int32_t>{0}));
}

TEST(ReadAircraftSpec, HostileCountsLoadInTimeOfTheFile) {
    const std::string text = testkit::hostileConfiguration();
    const std::clock_t start = std::clock();
    const Loaded l = testkit::readConfiguration(text);
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    ASSERT_EQ(l.spec.Textures.size(), 32767u);
    EXPECT_EQ(l.spec.Textures[32766].Sections.size(), 4000u);
    EXPECT_TRUE(l.spec.Textures[0].Sections.empty());
    EXPECT_EQ(l.spec.Textures[0].MdlOffsets.size(), 1u);
    // A key lookup that scanned its section took 16 s and more here, as built for use.
    EXPECT_LT(seconds, testkit::cpuSecondsAllowed(1.0)) << text.size() << " bytes";
}

TEST(ReadAircraftSpec, TextsAreCutAtTheirCapacity) {
    const std::string longName(150, 'N');
    const std::string longPath = "abcdefghijklmnopqrstuvwxyz";
    const std::string longDescription(600, 'd');
    std::string text = replaced(kSkylarkConfiguration, "DataPath=c310", "DataPath=" + longPath);
    text = replaced(text, "ViewName=Wings", "ViewName=" + longName);
    text = replaced(text, "Description=\"A light twin for short fields, repainted with Livrano.\"",
                    "Description=" + longDescription);
    const Loaded l = testkit::readConfiguration(text);
    EXPECT_EQ(l.spec.DataPath, longPath.substr(0, 20));
    EXPECT_EQ(l.spec.Textures[1].ViewName, longName.substr(0, 100));
    EXPECT_EQ(l.spec.Description, longDescription.substr(0, 511));
    ASSERT_EQ(l.notes.size(), 2u);
    EXPECT_EQ(l.notes[0].key, "DataPath");
    EXPECT_EQ(l.notes[0].capacity, 20u);
    EXPECT_EQ(l.notes[1].section, "Texture.01");
}

TEST(ReadAircraftSpec, ExtraListsSurviveUnlessRebuilt) {
    const std::string other =
        replaced(replaced(kSkylarkConfiguration, "ExtraField.00=atc_parking_codes", "ExtraField.00=other"),
                 "ExtraTexture.00=C310_GLASS.bmp", "ExtraTexture.00=OTHER.bmp");
    for (const std::vector<std::string>& c : testkit::dataRows("skylark_reloads.txt", "reload")) {
        // The sample first, then the variant over the same records, as a second load does.
        Loaded l = testkit::readConfiguration(kSkylarkConfiguration);
        ASSERT_TRUE(readAircraftSpec(ProfileDocument(replaced(other, c[0], c[1])), false, l.spec,
                                     l.extraTextures, l.extraFields));
        EXPECT_EQ(l.extraFields.ExtraFieldNames[0], c[2] == "1" ? "other" : "atc_parking_codes") << c[1];
        EXPECT_EQ(l.extraTextures.ExtraTextureNames[0], c[3] == "1" ? "OTHER.bmp" : "C310_GLASS.bmp") << c[1];
        EXPECT_EQ(l.extraFields.CopyExtraFields, std::stoi(c[4])) << c[1];
    }
}

// Records whether the load was still marked as running when the texture list was filled.
struct FlagWatchingFrontend : testkit::RecordingFrontend {
    const Application* app = nullptr;
    bool loadingAtList = false;
    void setTextureList(const std::vector<std::string>& lines) override {
        loadingAtList = app->flags.SpecLoading;
        RecordingFrontend::setTextureList(lines);
    }
};

TEST(LoadAircraftSpec, LoadsEncipheredFileInOrderAndWritesNothing) {
    testkit::TempDir dir;
    const fs::path file = dir / "Aircraft Configurations/skylark.bin";
    testkit::writeConfiguration(file, kSkylarkConfiguration);
    for (const bool dxt3 : {false, true}) {
        FlagWatchingFrontend frontend;
        Application app(dir.path(), frontend);
        frontend.app = &app;
        app.settings.Callsign = "KESTREL";

        LoadAircraftSpec(file, dxt3, app.spec, app.extraTextures, app.extraFields, app.settings, app.flags,
                         frontend);

        EXPECT_EQ(frontend.events, (Lines{"empty-choices", "tail-number: N310SK", "texture-list"}));
        EXPECT_TRUE(frontend.loadingAtList);
        EXPECT_FALSE(app.flags.SpecLoading);
        EXPECT_EQ(frontend.textureList, (Lines{"*Entire Template*", "Fuselage", "Wings", "Tail"}));
        EXPECT_EQ((Lines{app.settings.Callsign, app.settings.PendingTailNumber, app.settings.TailNumber}),
                  (Lines{"", "N310SK", "N310SK"}));
        ASSERT_EQ(app.spec.Textures.size(), 3u);
        for (const TextureSpec& t : app.spec.Textures)
            EXPECT_EQ(t.TextureFormat, dxt3 ? "DXT3NM" : "32ANM");
        EXPECT_EQ(app.extraFields.ExtraFieldDefaults, (Lines{"0", "RAMP"}));
        EXPECT_EQ(testkit::entryCount(file.parent_path()), 1);
    }
}

TEST(LoadAircraftSpec, UnreadableFileGivesEmptySpecification) {
    testkit::TempDir dir;
    const fs::path clean = dir / "clean.bin";
    testkit::writeConfiguration(clean, kSkylarkConfiguration);
    // Damaged containers are the cipher's tests; here, that each way a file fails to read (not
    // deciphered, empty, missing) leaves nothing of the earlier aircraft.
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"wrong key", testkit::encipherConfiguration(kSkylarkConfiguration, "NotTheProgramKey")},
        {"empty", ""},
        {"missing", std::nullopt},
    };
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        const fs::path file = dir / "damaged.bin";
        fs::remove(file);
        if (bytes)
            testkit::writeFile(file, *bytes);
        testkit::RecordingFrontend frontend;
        Application app(dir.path(), frontend);
        // A clean load first, so that leftovers of it would show.
        auto load = [&app](const fs::path& configFile) {
            LoadAircraftSpec(configFile, false, app.spec, app.extraTextures, app.extraFields, app.settings,
                             app.flags, app.frontend);
        };
        load(clean);
        ASSERT_EQ(app.spec.Textures.size(), 3u);

        load(file);
        EXPECT_EQ(frontend.textureList, (Lines{"*Entire Template*"}));
        EXPECT_TRUE(app.spec.Textures.empty());
        EXPECT_EQ(app.spec.AircraftDisplayName, "");
        EXPECT_EQ(frontend.tailNumber, "");
        EXPECT_EQ(app.extraFields.CopyExtraFields, 0);
        EXPECT_FALSE(app.flags.SpecLoading);
    }
}

} // namespace
} // namespace livrano
