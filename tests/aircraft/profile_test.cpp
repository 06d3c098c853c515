// SPDX-License-Identifier: MIT
#include "aircraft/profile.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>

#include <sys/stat.h>

#include "support/data_rows.h"
#include "support/temp_dir.h"
#include "support/time_limit.h"

namespace livrano {
namespace {

using testkit::readFile;
using testkit::TempDir;
using testkit::writeFile;

// An aircraft.cfg as repainters meet it (tests/data/house_colours.cfg): CRLF lines, comments,
// blanks in odd places, quoted values, a duplicated section and key, a line without '=', and
// lines that look like headers but are none.
const std::string kAircraftCfg = readFile(testkit::testData("house_colours.cfg"));

TEST(ProfileRead, AircraftCfgValues) {
    const ProfileDocument doc(kAircraftCfg);
    for (const std::vector<std::string>& c : testkit::dataRows("profile_cases.txt", "read")) {
        EXPECT_EQ(doc.readString(c[0], c[1]), c[2]) << c[0] << " / " << c[1];
        EXPECT_EQ(doc.readLongString(c[0], c[1]), c[2]) << c[0] << " / " << c[1];
    }
}

TEST(ProfileRead, FindKeepsInnerBlanksTellsMissingFromEmptyAndFoldsCase) {
    const ProfileDocument doc(kAircraftCfg);
    EXPECT_EQ(doc.find("fltsim.0", "description", kIniStringChars), "  A long-haul twin. ");
    EXPECT_EQ(doc.find("fltsim.0", "model", kIniStringChars), "");
    EXPECT_EQ(doc.find("fltsim.0", "nothing", kIniStringChars), std::nullopt);
    EXPECT_EQ(doc.find("nothing", "title", kIniStringChars), std::nullopt);
    // The first of two [fltsim.0] sections wins, for a key the second one has as well.
    EXPECT_EQ(doc.find("fltsim.0", "title", kIniStringChars), "Boeing 737-800 House Colours");
    EXPECT_TRUE(doc.hasSection(" Weight_And_Balance "));
    EXPECT_TRUE(ProfileDocument(std::string("[empty]\r\n")).hasSection("EMPTY"));
    EXPECT_FALSE(doc.hasSection("fltsim.2"));
    // Names fold case as Windows-1252 letters do.
    EXPECT_EQ(
        ProfileDocument(std::string("[\xC9QUIPE]\r\nN\xC9=\xE9t\xE9\r\n")).readString("\xE9quipe", "n\xE9"),
        "\xE9t\xE9");
}

TEST(ProfileRead, LineEndingsAndByteOrderMark) {
    const char* texts[] = {
        "[a]\nkey=LF value\n[b]\nkey=other\n",
        "[a]\r\nkey=LF value\r\n[b]\r\nkey=other",
        "[a]\r\nkey=LF value\n[b]\nkey=other\r\n", // mixed
        "\xEF\xBB\xBF[a]\r\nkey=LF value\r\n[b]\r\nkey=other\r\n",
        "; header comment\r\n[a]\r\nkey=LF value\r\r\n[b]\nkey=other",
    };
    for (const char* text : texts) {
        const ProfileDocument doc{std::string(text)};
        EXPECT_EQ(doc.readString("a", "key"), "LF value") << text;
        EXPECT_EQ(doc.readString("b", "KEY"), "other") << text;
        EXPECT_EQ(doc.bytes(), text);
        // The mark belongs to the file, not to the first section a rewrite moves elsewhere.
        EXPECT_EQ(doc.sections().front().text.substr(0, 3), "[a]") << text;
    }
}

TEST(ProfileRead, LongValuesAreCutLikeTheWindowsBuffers) {
    std::string v300, v600;
    for (int i = 0; i < 300; ++i)
        v300 += static_cast<char>('a' + i % 26);
    for (int i = 0; i < 600; ++i)
        v600 += static_cast<char>('A' + i % 26);
    // NUL bytes read as spaces, as from the space-filled buffer of the Windows call.
    const ProfileDocument doc("[fltsim.0]\r\ndescription=" + v300 + "\r\nlong=\"" + v600 + "\"\r\nnul=x" +
                              std::string(1, '\0') + "y\r\n");
    EXPECT_EQ(doc.readString("fltsim.0", "nul"), "x y");
    EXPECT_EQ(doc.readString("fltsim.0", "description"), v300.substr(0, 254));
    EXPECT_EQ(doc.readLongString("fltsim.0", "description"), v300);
    EXPECT_EQ(doc.readString("fltsim.0", "long"), v600.substr(0, 254));
    EXPECT_EQ(doc.readLongString("fltsim.0", "long"), v600.substr(0, 511));
}

TEST(ProfileRead, IntegersLikeGetPrivateProfileInt) {
    for (const std::vector<std::string>& c : testkit::dataRows("profile_cases.txt", "int")) {
        const ProfileDocument doc("[GENERAL]\r\nvalue=" + c[0] + "\r\n");
        EXPECT_EQ(doc.readInt("general", "VALUE"), std::stol(c[1])) << c[0];
    }
}

TEST(ProfileWrite, ExactBytes) {
    for (const std::vector<std::string>& row : testkit::dataRows("profile_cases.txt", "write")) {
        const std::string &name = row[0], &section = row[2], &key = row[3], &value = row[4];
        SCOPED_TRACE(name);
        ProfileDocument doc{row[1]};
        doc.write(section, key, value);
        EXPECT_EQ(doc.bytes(), row[5]);
        // The lines kept in memory after a write read the same as the same bytes read afresh.
        ProfileDocument reread(doc.bytes());
        EXPECT_EQ(reread.find(section, key, kIniLongStringChars),
                  doc.find(section, key, kIniLongStringChars));
        // Writing the same again changes nothing.
        reread.write(section, key, value);
        EXPECT_EQ(reread.bytes(), doc.bytes());
    }
}

TEST(ProfileWrite, AircraftCfgEditKeepsEveryOtherByte) {
    ProfileDocument doc(kAircraftCfg);
    doc.write("fltsim.1", "atc_id", "N2");
    doc.write("fltsim.2", "title", "Third");
    doc.write("fltsim.0", "texture", "Renamed");
    std::string expected = kAircraftCfg;
    expected.replace(expected.find("texture=House"), 13, "texture=Renamed");
    expected.insert(expected.find("visual_damage\r\n") + 15, "atc_id=N2\r\n");
    expected += "[fltsim.2]\r\ntitle=Third\r\n";
    EXPECT_EQ(doc.bytes(), expected);
    EXPECT_EQ(doc.readString("fltsim.1", "atc_id"), "N2");
    EXPECT_EQ(doc.readString("FLTSIM.2", "TITLE"), "Third");
}

TEST(ProfileFile, WriteCreatesAndEditsFiles) {
    const TempDir dir;
    const auto file = dir / "aircraft.cfg";
    EXPECT_EQ(ReadIniString("fltsim.0", "title", file), "");
    EXPECT_EQ(ReadIniInt("fltsim.0", "title", file), 0);
    ASSERT_TRUE(WriteIniString("fltsim.0", "title", "First", file));
    ASSERT_TRUE(WriteIniString("fltsim.0", "texture", "One", file));
    ASSERT_TRUE(WriteIniString("GENERAL", "editable", "1", file));
    EXPECT_EQ(readFile(file), "[fltsim.0]\r\ntitle=First\r\ntexture=One\r\n[GENERAL]\r\neditable=1\r\n");
    EXPECT_EQ(ReadIniString("FLTSIM.0", "TEXTURE", file), "One");
    EXPECT_EQ(ReadIniLongString("fltsim.0", "title", file), "First");
    EXPECT_EQ(ReadIniInt("general", "editable", file), 1);
    EXPECT_FALSE(WriteIniString("a", "bad=key", "2", file));
    // Nothing is left beside the file.
    EXPECT_EQ(testkit::entryCount(dir.path()), 1);
}

TEST(ProfileFile, FailedSaveOrReadLeavesTheOldFileWhole) {
    const TempDir dir;
    // A name so long that no file can be made beside it: the save must fail before the old file
    // is touched. (Folder permissions would not stop a test running as root.)
    const auto file = dir / (std::string(248, 'a') + ".cfg");
    writeFile(file, kAircraftCfg);
    ProfileDocument doc = ProfileDocument::load(file);
    doc.write("fltsim.0", "title", "Changed");
    const Status saved = doc.save(file);
    EXPECT_FALSE(saved.ok());
    EXPECT_NE(saved.message().find(".cfg"), std::string::npos) << saved.message();
    EXPECT_EQ(readFile(file), kAircraftCfg);

    // Nor is what cannot be read replaced.
    std::filesystem::remove(file);
    EXPECT_FALSE(WriteIniString("a", "k", "v", dir / "missing" / "aircraft.cfg").ok());
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));

    // Something that is there but reads as no file must not become a one-key file.
    const auto pipe = dir / "aircraft.cfg";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(WriteIniString("a", "k", "v", pipe).ok());
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    EXPECT_EQ(testkit::entryCount(dir.path()), 1);
}

TEST(ProfilePerformance, ThousandEntriesReadAndRewritten) {
    std::string text;
    for (int i = 0; i < 1000; ++i) {
        text += "[fltsim." + std::to_string(i) + "]\r\n";
        for (int k = 0; k < 20; ++k)
            text += "key" + std::to_string(k) + "=value " + std::to_string(i) + "\r\n";
        text += "\r\n";
    }
    const std::clock_t start = std::clock();
    ProfileDocument doc(text);
    for (int i = 0; i < 1000; ++i) {
        const std::string section = "fltsim." + std::to_string(i);
        for (int k = 0; k < 20; ++k) {
            const std::string key = "KEY" + std::to_string(k);
            ASSERT_EQ(doc.readString(section, key), "value " + std::to_string(i));
            doc.write(section, key, "new " + std::to_string(i));
            doc.write(section, "added" + std::to_string(k), "x");
        }
    }
    const std::size_t size = doc.bytes().size();
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    EXPECT_EQ(doc.readString("fltsim.999", "added19"), "x");
    EXPECT_GT(size, text.size());
    // 0.05 s as built for use, where rebuilding the whole document at every write took 15 s.
    EXPECT_LT(seconds, testkit::cpuSecondsAllowed(1.0)) << size << " bytes read and rewritten";
}

} // namespace
} // namespace livrano
