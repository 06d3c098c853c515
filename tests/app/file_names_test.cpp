#include "app/file_names.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

TEST(ProgramLocation, JoinsWindowsStyleRelativeParts) {
    const fs::path root = "/sim/Corvane Software/Livrano";
    EXPECT_EQ(programLocation(root, "\\Data\\airlines.cfg"),
              fs::path("/sim/Corvane Software/Livrano/Data/airlines.cfg"));
    EXPECT_EQ(programLocation(root, "\\..\\..\\Aircraft\\B737"), fs::path("/sim/Aircraft/B737"));
    EXPECT_EQ(programLocation(root, "\\Data.b737"), fs::path("/sim/Corvane Software/Livrano/Data.b737"));
}

TEST(ResolveCaseless, FindsExistingNamesWhateverTheirCase) {
    TempDir dir;
    fs::create_directories(dir / "Aircraft/B737/texture");
    testing::writeFile(dir / "Aircraft/B737/aircraft.cfg", "x");

    EXPECT_EQ(resolveCaseless(dir / "aircraft/b737/Aircraft.cfg"), dir / "Aircraft/B737/aircraft.cfg");
    EXPECT_EQ(resolveCaseless(dir / "Aircraft/B737/Texture"), dir / "Aircraft/B737/texture");
    // Missing tails are kept as given, below the resolved part.
    EXPECT_EQ(resolveCaseless(dir / "AIRCRAFT/B737/Model.ABC/x.mdl"), dir / "Aircraft/B737/Model.ABC/x.mdl");
    // Accented letters fold as the simulator's code page folds them.
    fs::create_directories(dir / "Aircraft/B737/Texture.àé€");
    EXPECT_EQ(resolveCaseless(dir / "aircraft/b737/TEXTURE.ÀÉ€"), dir / "Aircraft/B737/Texture.àé€");
}

TEST(ResolveCaseless, ExactNameWinsOverFoldedOne) {
    TempDir dir;
    fs::create_directories(dir / "Texture");
    fs::create_directories(dir / "texture");
    EXPECT_EQ(resolveCaseless(dir / "texture"), dir / "texture");
    EXPECT_EQ(resolveCaseless(dir / "Texture"), dir / "Texture");
}

// A refusal names what the name is for and the name itself.
TEST(CheckSafeFileName, RefusesNamesThatLeaveTheirFolder) {
    const char* bad[] = {"",    ".",         "..",   "a/b",    "a\\b", "C:x",     "a*b",  "x?",
                         "a|b", "tab\there", "dot.", "blank ", "CON",  "nul.txt", "com1", "LPT9.bmp"};
    for (const char* name : bad) {
        const Status s = checkSafeFileName("folder extension", name);
        EXPECT_FALSE(s.ok()) << name;
        EXPECT_NE(s.message().find("folder extension \"" + std::string(name) + "\""), std::string::npos)
            << s.message();
    }
    const char* good[] = {"QRX",   "Texture.abc", "T_FUSE_XXX_1", "Boeing 737-800",
                          "COM10", "CONSOLE",     "\xE9t\xE9"};
    for (const char* name : good)
        EXPECT_TRUE(checkSafeFileName("folder extension", name).ok()) << name;
}

} // namespace
} // namespace livrano
