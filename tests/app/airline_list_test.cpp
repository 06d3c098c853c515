// SPDX-License-Identifier: MIT
#include "app/airline_list.h"

#include <gtest/gtest.h>

#include "support/data_rows.h"
#include "support/temp_dir.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testkit::TempDir;
using Entries = std::vector<std::string>;

TEST(SplitAirlineEntries, SeparatorsQuotesAndBlanks) {
    for (const std::vector<std::string>& row : testkit::dataRows("airline_lists.txt", "split"))
        EXPECT_EQ(splitAirlineEntries(row[0]), Entries(row.begin() + 1, row.end())) << row[0];
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
    fs::path simFile = root / "sim/Aircraft/airlines.cfg";
};

// The simulator's list is used only when it holds more than ten entries; either list's file is
// found whatever its case; the screen's lines start with "*NONE*".
TEST(LoadAirlineList, ChoosesTheListAndGivesItsScreenLines) {
    struct Case {
        const char* ownFile; // below the program folder
        const char* ownText;
        const char* simFile; // below the simulator's root, "SIM0", "SIM1", ...
        int simEntries;
        bool simulatorUsed;
        Entries ownEntries;
    };
    const char* const three = "OWN A\r\nOWN B\r\nOWN C\r\n";
    const char* const sim = "Aircraft/airlines.cfg";
    const Case cases[] = {
        {"Data/airlines.cfg", three, sim, 10, false, {"OWN A", "OWN B", "OWN C"}},
        {"Data/airlines.cfg", three, sim, 0, false, {"OWN A", "OWN B", "OWN C"}},
        {"Data/airlines.cfg", three, sim, 11, true, {}},
        {"DATA/Airlines.CFG", "OWN\r\n", "aircraft/AIRLINES.cfg", 12, true, {}},
        {"Data/airlines.cfg", "\r\n", sim, 0, false, {}},
    };
    for (const Case& c : cases) {
        Installation inst;
        testkit::writeFile(inst.program / c.ownFile, c.ownText);
        testkit::writeFile(inst.root / "sim" / c.simFile, numberedList(c.simEntries));
        Entries expected = {"*NONE*"};
        for (int i = 0; c.simulatorUsed && i < c.simEntries; ++i)
            expected.push_back("SIM" + std::to_string(i));
        expected.insert(expected.end(), c.ownEntries.begin(), c.ownEntries.end());
        AirlineList list;
        ASSERT_TRUE(LoadAirlineList(inst.program, list).ok());
        EXPECT_EQ(callsignLines(list), expected) << c.ownFile << " " << c.simEntries;
        EXPECT_EQ(list.AirlineLastIndex, static_cast<int>(expected.size()) - 2) << c.simEntries;
    }
}

TEST(LoadAirlineList, MissingOwnFileFailsEvenWithSimulatorList) {
    Installation inst;
    testkit::writeFile(inst.simFile, numberedList(20));
    AirlineList list;
    list.AirlineEntries = {"KEPT"};
    list.AirlineLastIndex = 0;
    const Status s = LoadAirlineList(inst.program, list);
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(
        s.message(),
        "The 'Corvane Software\\Livrano\\Data\\airlines.cfg' file is missing. Please reinstall Livrano.\n" +
            (inst.program / "Data" / "airlines.cfg").string());
    EXPECT_EQ(list.AirlineEntries, (Entries{"KEPT"}));
}

} // namespace
} // namespace livrano
