#include "app/airline_list.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using Entries = std::vector<std::string>;

TEST(SplitAirlineEntries, SeparatorsQuotesAndBlanks) {
    struct Case {
        const char* text;
        Entries expected;
    };
    const Case cases[] = {
        {"SPEEDBIRD\r\nSHAMROCK\r\n", {"SPEEDBIRD", "SHAMROCK"}},
        {"SPEEDBIRD\nSHAMROCK", {"SPEEDBIRD", "SHAMROCK"}},
        {"SPEEDBIRD\rSHAMROCK\r", {"SPEEDBIRD", "SHAMROCK"}},
        {"AIR FRANCE,LUFTHANSA, SWISS", {"AIR FRANCE", "LUFTHANSA", "SWISS"}},
        {"   \tCLIPPER   \r\n", {"CLIPPER"}},
        {"\"GOLDEN, EAGLE\"\r\nKESTREL", {"GOLDEN, EAGLE", "KESTREL"}},
        {"\"  PADDED  \"", {"  PADDED  "}},
        {"\"NAME\" ignored, NEXT", {"NAME", "NEXT"}},
        {"\"GOLDEN\r\nEAGLE\", KESTREL", {"GOLDEN\r\nEAGLE", "KESTREL"}},
        {"\"OPEN\r\nNEXT", {"OPEN", "NEXT"}},
        {"\r\n\r\n  \r\nONE\r\n,,\r\n\"\"\r\nTWO,", {"ONE", "TWO"}},
        {"", {}},
        {"SOME\"QUOTE", {"SOME\"QUOTE"}},
        {"\xC9LAN\r\n", {"\xC9LAN"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(splitAirlineEntries(c.text), c.expected) << c.text;
}

std::string numberedList(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "SIM" + std::to_string(i) + "\r\n";
    return text;
}

struct Installation {
    TempDir root;
    fs::path program = root / "sim/Corvane Software/Livrano";
    fs::path ownFile = program / "Data/airlines.cfg";
    fs::path simFile = root / "sim/Aircraft/airlines.cfg";
};

TEST(LoadAirlineList, SimulatorListIsUsedOnlyWhenLongerThanTen) {
    struct Case {
        int simulatorEntries;
        bool simulatorUsed;
    };
    for (const Case c : {Case{10, false}, Case{11, true}, Case{0, false}, Case{40, true}}) {
        Installation inst;
        testing::writeFile(inst.ownFile, "OWN A\r\nOWN B\r\nOWN C\r\n");
        testing::writeFile(inst.simFile, numberedList(c.simulatorEntries));
        AirlineList list;
        ASSERT_TRUE(LoadAirlineList(inst.program, list).ok());
        if (c.simulatorUsed) {
            ASSERT_EQ(list.AirlineEntries.size(), static_cast<std::size_t>(c.simulatorEntries));
            EXPECT_EQ(list.AirlineEntries.front(), "SIM0");
            EXPECT_EQ(list.AirlineLastIndex, c.simulatorEntries - 1);
        } else {
            EXPECT_EQ(list.AirlineEntries, (Entries{"OWN A", "OWN B", "OWN C"})) << c.simulatorEntries;
            EXPECT_EQ(list.AirlineLastIndex, 2);
        }
    }
}

TEST(LoadAirlineList, ThreeEntriesGiveFourScreenLinesNoneFirst) {
    Installation inst;
    testing::writeFile(inst.ownFile, "SPEEDBIRD\r\n\"GOLDEN, EAGLE\"\r\nKESTREL\r\n");
    AirlineList list;
    ASSERT_TRUE(LoadAirlineList(inst.program, list).ok());
    EXPECT_EQ(callsignLines(list), (Entries{"*NONE*", "SPEEDBIRD", "GOLDEN, EAGLE", "KESTREL"}));
}

TEST(LoadAirlineList, EmptyFileGivesNoneAlone) {
    Installation inst;
    testing::writeFile(inst.ownFile, "\r\n");
    AirlineList list;
    ASSERT_TRUE(LoadAirlineList(inst.program, list).ok());
    EXPECT_EQ(list.AirlineLastIndex, -1);
    EXPECT_EQ(callsignLines(list), (Entries{"*NONE*"}));
}

TEST(LoadAirlineList, FindsFilesWhateverTheirCase) {
    Installation inst;
    testing::writeFile(inst.program / "DATA/Airlines.CFG", "OWN\r\n");
    testing::writeFile(inst.root / "sim/aircraft/AIRLINES.cfg", numberedList(12));
    AirlineList list;
    ASSERT_TRUE(LoadAirlineList(inst.program, list).ok());
    EXPECT_EQ(list.AirlineEntries.size(), 12u);
}

TEST(LoadAirlineList, MissingOwnFileFailsEvenWithSimulatorList) {
    Installation inst;
    testing::writeFile(inst.simFile, numberedList(20));
    AirlineList list;
    list.AirlineEntries = {"KEPT"};
    list.AirlineLastIndex = 0;
    const Status s = LoadAirlineList(inst.program, list);
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(
        s.message(),
        "The 'Corvane Software\\Livrano\\Data\\airlines.cfg' file is missing. Please reinstall Livrano.");
    EXPECT_EQ(list.AirlineEntries, (Entries{"KEPT"}));
}

} // namespace
} // namespace livrano
