// SPDX-License-Identifier: MIT
#include "aircraft/aircraft_spec_checks.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/data_rows.h"
#include "support/sample_configuration.h"

namespace livrano {
namespace {

using testkit::kSkylarkConfiguration;
using testkit::replaced;
using Places = std::vector<std::pair<std::string, std::string>>;

Places places(const std::vector<SpecProblem>& problems) {
    Places out;
    for (const SpecProblem& p : problems)
        out.emplace_back(p.section, p.key);
    return out;
}

// The rows of tests/data/skylark_faults.txt: edits of the sample and the places of its faults.
TEST(CheckAircraftSpec, FindsEachFaultWhereItIs) {
    for (const std::vector<std::string>& row : testkit::dataRows("skylark_faults.txt", "fault")) {
        const auto arrow = std::find(row.begin(), row.end(), "=>");
        ASSERT_TRUE(arrow != row.end() && (arrow - row.begin()) % 2 == 0 && (row.end() - arrow) % 2 == 1);
        SCOPED_TRACE(arrow == row.begin() ? "unedited" : row[1]);
        std::string text = kSkylarkConfiguration;
        for (auto edit = row.begin(); edit != arrow; edit += 2)
            text = replaced(text, edit[0], edit[1]);
        Places expected;
        for (auto place = arrow + 1; place != row.end(); place += 2)
            expected.emplace_back(place[0], place[1]);
        const std::vector<SpecProblem> problems = testkit::configurationProblems(text);
        EXPECT_EQ(places(problems), expected);
        for (const SpecProblem& p : problems)
            EXPECT_FALSE(p.message.empty());
    }
}

} // namespace
} // namespace livrano
