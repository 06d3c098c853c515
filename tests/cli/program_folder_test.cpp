// Where livrano-cli looks for its program folder when no --program-folder is given.

#include <gtest/gtest.h>

#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testing::shellQuoted;

// The folder the build took for its program folder, read from its complaint that the aircraft
// is not installed there, or that the airline list is missing from it (the window's message,
// then where the file belongs).
TEST(ProgramFolder, ComesFromTheEnvironmentElseTheExecutablesFolder) {
    testing::TempDir dir;
    const fs::path named = dir / "named";
    const fs::path own = dir / "own";
    const fs::path bare = dir / "bare";
    for (const fs::path& folder : {named, own})
        testing::writeFile(folder / "Data" / "airlines.cfg", "KESTREL\r\n");
    const fs::path copy = own / "livrano-cli";
    fs::copy_file(LIVRANO_CLI_PATH, copy);
    const auto notInstalled = [](const fs::path& folder) {
        return " in " + (folder / "Aircraft Configurations").string() + ".";
    };

    struct Case {
        std::string environment;
        fs::path program;
        std::string says;
    };
    const Case cases[] = {
        {"LIVRANO_PROGRAM_FOLDER=" + shellQuoted(named.string()), LIVRANO_CLI_PATH, notInstalled(named)},
        {"env -u LIVRANO_PROGRAM_FOLDER", copy, notInstalled(own)},
        {"LIVRANO_PROGRAM_FOLDER=", copy, notInstalled(own)}, // empty counts as not set
        {"LIVRANO_PROGRAM_FOLDER=" + shellQuoted(bare.string()), LIVRANO_CLI_PATH,
         "file is missing. Please reinstall Livrano.\n  " + (bare / "Data" / "airlines.cfg").string() + "\n"},
    };
    for (const Case& c : cases) {
        const testing::CliRun run =
            testing::runCli("build --aircraft Nowhere --template t.bmp --variation V --folder ABC",
                            c.environment, c.program.string());
        EXPECT_EQ(run.exitCode, 2) << c.environment;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.environment << "\n" << run.err;
    }
}

} // namespace
} // namespace livrano
