// SPDX-License-Identifier: MIT
#include "aircraft/catalogue.h"

#include <gtest/gtest.h>

#include "support/data_rows.h"
#include "support/sample_configuration.h"
#include "support/temp_dir.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testkit::TempDir;
using Lines = std::vector<std::string>;

std::string named(const std::string& displayName) {
    return "[Main]\r\nAircraftDisplayName=  " + displayName + "  \r\nNumTextures=0\r\n";
}

TEST(LoadAircraftCatalogue, SortsByNameWithoutRegardToCase) {
    TempDir dir;
    const fs::path folder = dir / "Aircraft Configurations";
    // "a" before "B", which a comparison of bytes would turn round.
    testkit::writeConfiguration(folder / "B_skylark.bin", named("Skylark"));
    testkit::writeConfiguration(folder / "a_heron.BIN", named("Heron"));
    // Files that do not decipher still take their slot, with an empty name.
    testkit::writeConfiguration(folder / "c_wrong_key.bin", named("Wrong Key"), "SomeOtherKey");
    testkit::writeFile(folder / "d_empty.bin", "");
    testkit::writeFile(folder / "e.bin", "plain text, not enciphered at all");
    testkit::writeConfiguration(folder / "f_petrel.bin", named("Petrel"));
    testkit::writeFile(folder / "readme.txt", "not a configuration");
    fs::create_directories(folder / "d_folder.bin");
    // A user's file that happens to carry the name a plain copy of e.bin would have.
    testkit::writeFile(folder / "e", "the user's own notes");
    const testkit::Snapshot before = testkit::snapshot(folder);

    const AircraftCatalogue catalogue = LoadAircraftCatalogue(dir.path());
    EXPECT_EQ(aircraftLines(catalogue), (Lines{"Heron", "Skylark", "", "", "", "Petrel"}));
    EXPECT_EQ(catalogue.CatalogueLastIndex, 5);
    EXPECT_EQ(catalogue.Entries[1].ConfigFile, folder / "B_skylark.bin");
    EXPECT_EQ(testkit::snapshot(folder), before); // nothing written
}

TEST(LoadAircraftCatalogue, EmptyWithoutFilesAndAtMostOneHundredEntries) {
    TempDir dir;
    EXPECT_EQ(LoadAircraftCatalogue(dir.path()).CatalogueLastIndex, -1); // no folder
    const fs::path folder = dir / "aircraft configurations";             // found whatever its case
    fs::create_directories(folder);
    EXPECT_TRUE(aircraftLines(LoadAircraftCatalogue(dir.path())).empty());
    for (int i = 0; i <= 100; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "cfg%03d.bin", i);
        testkit::writeConfiguration(folder / name, named("Aircraft " + std::to_string(i)));
    }
    const AircraftCatalogue catalogue = LoadAircraftCatalogue(dir.path());
    EXPECT_EQ(catalogue.Entries.size(), 100u);
    EXPECT_EQ(catalogue.CatalogueLastIndex, 99);
    EXPECT_EQ(catalogue.Entries.back().DisplayName, "Aircraft 99");
}

TEST(CatalogueLookup, ByIndexAndByName) {
    AircraftCatalogue catalogue;
    catalogue.Entries = {{"Corvane Heron", "/c/heron.bin"},
                         {"corvane skylark", "/c/skylark1.bin"},
                         {"Corvane Skylark", "/c/skylark2.bin"},
                         {"", "/c/broken.bin"},
                         {"42", "/c/fortytwo.bin"}};
    catalogue.CatalogueLastIndex = 4;

    EXPECT_EQ(catalogueEntry(catalogue, 2)->ConfigFile, fs::path("/c/skylark2.bin"));
    EXPECT_EQ(catalogueEntry(catalogue, 5), nullptr);
    EXPECT_EQ(catalogueEntry(catalogue, -1), nullptr);

    for (const std::vector<std::string>& c : testkit::dataRows("catalogue_lookup.txt", "find"))
        EXPECT_EQ(findAircraft(catalogue, c[0]),
                  c[1] == "none" ? std::nullopt : std::optional(std::stoi(c[1])))
            << c[0];
}

} // namespace
} // namespace livrano
