// Where livrano-cli looks for its program folder when no --program-folder is given.

#include <gtest/gtest.h>

#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testing::shellQuoted;

// The folder the build took for its program folder, read from its complaint that the aircraft
// is not installed there.
TEST(ProgramFolder, ComesFromTheEnvironmentElseTheExecutablesFolder) {
    testing::TempDir dir;
    const fs::path named = dir / "named";
    const fs::path own = dir / "own";
    for (const fs::path& folder : {named, own})
        testing::writeFile(folder / "Data" / "airlines.cfg", "KESTREL\r\n");
    const fs::path copy = own / "livrano-cli";
    fs::copy_file(LIVRANO_CLI_PATH, copy);

    struct Case {
        std::string environment;
        fs::path program;
        fs::path expected;
    };
    const Case cases[] = {
        {"LIVRANO_PROGRAM_FOLDER=" + shellQuoted(named.string()), LIVRANO_CLI_PATH, named},
        {"env -u LIVRANO_PROGRAM_FOLDER", copy, own},
        {"LIVRANO_PROGRAM_FOLDER=", copy, own}, // empty counts as not set
    };
    for (const Case& c : cases) {
        const testing::CliRun run =
            testing::runCli("build --aircraft Nowhere --template t.bmp --variation V --folder ABC",
                            c.environment, c.program.string());
        EXPECT_EQ(run.exitCode, 2) << c.environment;
        EXPECT_NE(run.err.find(" in " + (c.expected / "Aircraft Configurations").string() + "."),
                  std::string::npos)
            << c.environment << "\n"
            << run.err;
    }
}

} // namespace
} // namespace livrano
