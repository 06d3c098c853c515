// SPDX-License-Identifier: MIT
// The painter's loop run as a painter runs it, on demo simulators: liveries taken out and
// aircraft.cfg restored, liveries packed in one simulator and installed into another, and
// hostile zips refused with the simulator left as it was; what the disk would refuse midway,
// refused by the plan.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include <zip.h>

#include "aircraft/profile.h"
#include "output/aircraft_cfg.h"
#include "output/livery_install.h"
#include "output/livery_pack.h"
#include "output/repaint_world.h"
#include "output/zip_archive.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace livrano {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;
using testkit::CliRun;
using testkit::readFile;
using testkit::RepaintWorld;
using testkit::runCli;
using testkit::shellQuoted;
using testkit::TempDir;

const std::string kSkylark = "Corvane C-310 Skylark";
const std::string kMeridian = "Corvane CJ-70 Meridian";

// A zip member as a hand-made archive may hold it: any name bytes, any name encoding, a link.
struct RawMember {
    std::string name;
    std::string bytes;
    zip_flags_t encoding = ZIP_FL_ENC_UTF_8;
    bool link = false;
};

void writeZip(const fs::path& file, const std::vector<RawMember>& members) {
    int error = 0;
    zip_t* zip = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(zip, nullptr);
    for (const RawMember& m : members) {
        zip_source_t* source = zip_source_buffer(zip, m.bytes.data(), m.bytes.size(), 0);
        const zip_int64_t i = zip_file_add(zip, m.name.c_str(), source, m.encoding);
        ASSERT_GE(i, 0) << m.name;
        if (m.link)
            zip_file_set_external_attributes(zip, static_cast<zip_uint64_t>(i), 0, ZIP_OPSYS_UNIX,
                                             0120777u << 16);
    }
    ASSERT_EQ(zip_close(zip), 0);
}

// Each livery's section of an aircraft.cfg as written, less its header line.
std::vector<std::string> sections(const fs::path& cfg) {
    std::vector<FltsimEntry> entries;
    std::vector<ProfileSection> others;
    EXPECT_TRUE(readFltsimEntries(ProfileDocument(readFile(cfg)), {}, entries, others));
    std::vector<std::string> bodies;
    bodies.reserve(entries.size());
    for (const FltsimEntry& e : entries)
        bodies.push_back(e.section.substr(e.section.find('\n') + 1));
    return bodies;
}

class Simulators : public ::testing::Test {
protected:
    void SetUp() override {
        for (const fs::path& dir : {m_dir / "a", m_dir / "b"})
            ASSERT_EQ(runCli("demo " + shellQuoted(dir.string())).exitCode, 0);
    }
    fs::path program(const std::string& sim) const { return m_dir / sim / "Corvane Software" / "Livrano"; }
    fs::path aircraft(const std::string& sim, const std::string& name) const {
        return m_dir / sim / "Aircraft" / name;
    }
    CliRun cli(const std::string& sim, const std::string& command, const std::string& aircraftName,
               const std::string& more) {
        return runCli(command + " --program-folder " + shellQuoted(program(sim).string()) + " --aircraft " +
                      shellQuoted(aircraftName) + " " + more);
    }
    CliRun build(const std::string& sim, const std::string& name, const std::string& variation) {
        const std::string picture = name == kSkylark ? "Skylark Template.bmp" : "Meridian Template.bmp";
        return cli(sim, "build", name,
                   "--template " + shellQuoted((program(sim) / "Templates" / picture).string()) +
                       " --variation " + variation + " --folder " + variation.substr(0, 3));
    }

    TempDir m_dir;
};

// A livery packed in one simulator reads back in the other as the same entry and files. Taking
// out the second of three liveries numbers the third down, keeps every other entry's lines and
// every file another livery or the aircraft uses; restore gives each file back.
TEST_F(Simulators, PackInstallRemoveAndRestoreRoundTrip) {
    for (const std::string& name : {kSkylark, kMeridian}) {
        ASSERT_EQ(build("a", name, "Demo").exitCode, 0);
        const fs::path zip = m_dir / (name + ".zip");
        const CliRun packed = cli("a", "pack", name,
                                  "--title " + shellQuoted(name + " demo") + " " + shellQuoted(zip.string()));
        ASSERT_EQ(packed.exitCode, 0) << packed.err;
        const testkit::Snapshot installedBefore = testkit::snapshot(aircraft("b", name));
        const CliRun installed = cli("b", "install-livery", name, shellQuoted(zip.string()));
        ASSERT_EQ(installed.exitCode, 0) << installed.err;
        EXPECT_EQ(sections(aircraft("b", name) / "aircraft.cfg").at(2),
                  sections(aircraft("a", name) / "aircraft.cfg").at(2));
        std::size_t added = 0;
        for (const auto& [path, entry] : testkit::snapshot(aircraft("b", name))) {
            const auto& [type, perms, bytes] = entry;
            if (installedBefore.count(path) != 0 || type == fs::file_type::directory ||
                path == "aircraft.cfg" || path == "Aircraft.bak" || path == "Aircraft.original")
                continue;
            ++added;
            EXPECT_EQ(bytes, readFile(aircraft("a", name) / path)) << path;
        }
        EXPECT_EQ(added, 7u); // both aircraft: textures, or textures, model and flight model

        const fs::path folder = aircraft("a", name);
        const std::string before = readFile(folder / "aircraft.cfg");
        const std::vector<std::string> liveries = sections(folder / "aircraft.cfg");
        ASSERT_EQ(liveries.size(), 3u);
        const testkit::Snapshot files = testkit::snapshot(folder);
        const std::string gone = name + (name == kSkylark ? " Blue Harbour" : " Northwind"); // its title
        const CliRun removed = cli("a", "remove", name, "--title " + shellQuoted(gone));
        ASSERT_EQ(removed.exitCode, 0) << removed.err;
        const std::string after = readFile(folder / "aircraft.cfg");
        EXPECT_EQ(sections(folder / "aircraft.cfg"), (std::vector<std::string>{liveries[0], liveries[2]}));
        for (const auto& [path, entry] : files) {
            const bool its = path.find(name == kSkylark ? "BlueHarbour" : "NWD") != std::string::npos;
            EXPECT_EQ(fs::exists(folder / path), !its) << path;
        }
        ASSERT_EQ(cli("a", "restore", name, "").exitCode, 0);
        EXPECT_EQ(readFile(folder / "aircraft.cfg"), before);
        ASSERT_EQ(cli("a", "restore", name, "").exitCode, 0);
        EXPECT_EQ(readFile(folder / "aircraft.cfg"), after);
        const CliRun original = cli("a", "restore", name, "--original");
        ASSERT_EQ(original.exitCode, 0);
        EXPECT_THAT(original.out, HasSubstr(gone + "\": its "));
    }

    // Every aircraft of the program is listed, the one built for last with its restored livery.
    const CliRun listed = runCli("list --json --program-folder " + shellQuoted(program("a").string()));
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    for (const std::string& title : {kSkylark + "\"", kMeridian + " Northwind"})
        EXPECT_THAT(listed.out, HasSubstr(title));
    // A livery's files are a JSON list: one comma between two of them, none before the first.
    EXPECT_THAT(listed.out, HasSubstr("}, {\"role\": "));
    EXPECT_THAT(listed.out, testing::Not(HasSubstr("[, {")));

    // Packing where no zip can go ends its dry run as it ends itself.
    const std::string nowhere = "--title " + shellQuoted(kSkylark + " Blue Harbour") + " " +
                                shellQuoted((m_dir / "missing" / "livery.zip").string());
    for (const std::string dryRun : {" --dry-run", ""})
        EXPECT_EQ(cli("a", "pack", kSkylark, nowhere + dryRun).exitCode, 2);
}

// A refusal says why, exits 2 and leaves the simulator as it was: taking out a factory livery (the
// aircraft's clean copy lists it), restoring a backup that lists no livery. A good backup is restored.
TEST_F(Simulators, RefusalsChangeNothingAndABackupWithLiveriesIsRestored) {
    const char* const own = "is one of the aircraft's own";
    const struct {
        std::string aircraft, command, backup;
        int exitCode;
        const char* says;
    } cases[] = {
        {kSkylark, "remove --title " + shellQuoted(kSkylark + " factory"), "", 2, own},
        {kMeridian, "remove --title " + shellQuoted(kMeridian + " House Colours"), "", 2, own},
        {kSkylark, "restore", "", 2, "is empty"},
        {kSkylark, "restore --dry-run", "", 2, "is empty"},
        {kSkylark, "restore", "[General]\r\natc_type=CORVANE\r\n[fltsim.0]\r\nmodel=\r\n", 2,
         "lists no livery"},
        {kSkylark, "restore", "[fltsim.0]\r\ntitle=" + kSkylark + " Kept\r\n", 0, "Restored"},
    };
    for (const auto& c : cases) {
        const fs::path folder = aircraft("a", c.aircraft);
        if (c.command.starts_with("restore"))
            testkit::writeFile(folder / "Aircraft.bak", c.backup);
        const testkit::Snapshot before = testkit::snapshot(m_dir / "a");
        const CliRun run = cli("a", c.command, c.aircraft, "");
        EXPECT_EQ(run.exitCode, c.exitCode) << c.command << run.err;
        EXPECT_THAT(c.exitCode == 0 ? run.out : run.err, HasSubstr(c.says)) << c.command;
        if (c.exitCode == 0)
            EXPECT_EQ(readFile(folder / "aircraft.cfg"), c.backup);
        else
            EXPECT_EQ(testkit::snapshot(m_dir / "a"), before) << c.command;
    }
}

// A zip that install-livery refuses, and what its message says.
struct HostileZip {
    std::vector<RawMember> members; // or, when empty, `bytes`
    std::string bytes;
    std::string refusal;
    std::function<void()> prepare = [] {}; // changes the aircraft folder, for this case alone
};

std::vector<HostileZip> hostileZips(const fs::path& skylark) {
    const std::string snippet = "[fltsim.X]\r\ntitle=" + kSkylark + " New\r\ntexture=NEW\r\n";
    const RawMember texture{"texture.NEW/C310_FUSE.bmp", "fuse"};
    const RawMember cfg{"fltsim.cfg", snippet};
    std::vector<RawMember> many = {cfg};
    for (int i = 0; i <= 10000; ++i)
        many.push_back({"texture.NEW/" + std::to_string(i) + ".bmp", ""});
    std::string damaged;
    EXPECT_TRUE(
        makeZip({{texture.name, std::string(5000, 'x') + "varied bytes"}, {cfg.name, cfg.bytes}}, damaged));
    damaged[60] = static_cast<char>(damaged[60] ^ 0x55);
    std::string truncated;
    EXPECT_TRUE(makeZip({{texture.name, "fuse"}, {cfg.name, cfg.bytes}}, truncated));
    truncated.resize(truncated.size() / 2);
    // The zip of `member` and the snippet, both headers of the member declaring `size`.
    const fs::path scratch = skylark.parent_path().parent_path().parent_path() / "declaring.zip";
    const auto declaring = [&](const RawMember& member, std::uint32_t size) {
        writeZip(scratch, {member, cfg});
        std::string bytes = readFile(scratch);
        for (std::size_t at : {std::size_t{22}, bytes.find("PK\x01\x02") + 24})
            bytes.replace(at, 4, {char(size), char(size >> 8), char(size >> 16), char(size >> 24)});
        return bytes;
    };

    const auto entry = [&](const std::string& more) { return RawMember{"fltsim.cfg", snippet + more}; };
    return {
        {{{"../escape.bmp", "x"}, texture, cfg}, "", "leads out of the aircraft folder"},
        {{{"texture.NEW/../../../escape.bmp", "x"}, cfg}, "", "leads out of the aircraft folder"},
        {{{"/tmp/escape.bmp", "x"}, texture, cfg}, "", "is an absolute path"},
        {{{"texture.NEW\\..\\..\\escape.bmp", "x"}, cfg}, "", "holds a backslash"},
        {{{"C:/escape.bmp", "x"}, texture, cfg}, "", "names a drive"},
        {{{"texture.NEW/link.bmp", "/etc/passwd", ZIP_FL_ENC_UTF_8, true}, cfg}, "", "is a link"},
        {{{"texture.\xC9\xCD/a.bmp", "x", ZIP_FL_ENC_CP437}, texture, cfg}, "", "in an encoding"},
        {{{"Corvane_C310.air", "x"}, texture, cfg}, "", "would overwrite"},
        {{{"texture.BlueHarbour/C310_NEW.bmp", "x"}, texture, cfg}, "", "would overwrite the folder"},
        {{texture, {"fltsim.cfg", "[fltsim.X]\r\ntitle=" + kSkylark + " BLUE harbour\r\ntexture=NEW\r\n"}},
         "",
         "is installed already"},
        {{texture}, "", "no text file with an [fltsim.X] section"},
        {{texture, cfg, {"readme.txt", snippet}}, "", "2 text files"},
        {{{"texture.OTHER/a.bmp", "x"}, cfg}, "", "names the texture folder Texture.NEW"},
        {many, "", "10002 entries"},
        {{{"texture.NEW/zeros.bmp", std::string(80 << 20, '\0')}, cfg}, "", "zip bomb"},
        {{}, damaged, "damaged"},
        {{}, truncated, "damaged"},
        // Folders Windows takes for one.
        {{{"texture.NEW/a.bmp", "x"}, {"TEXTURE.new/b.bmp", "x"}, cfg}, "", "differs only in case"},
        {{{"texture.NEW/Sub/a.bmp", "x"}, {"texture.NEW/SUB/b.bmp", "x"}, cfg}, "", "differs only in case"},
        // What removing the livery would leave behind.
        {{texture, {"texture/C310_NEW.bmp", "x"}, cfg}, "", "is in a folder that is not the livery's own"},
        {{texture, {"texture.Other/a.bmp", "x"}, cfg}, "", "is in a folder that is not the livery's own"},
        {{texture, {"texture.NEW/Sub/a.bmp", "x"}, cfg}, "", "would stay behind"},
        {{texture, {"New.air", "x"}, cfg}, "", "would stay behind"},
        // Values a build would not write.
        {{texture, entry("sim=../" + kSkylark + "/Corvane_C310\r\n")}, "", "flight model contains a path"},
        {{texture, entry("model=..\\..\\Other\r\n")}, "", "model folder contains a path"},
        {{texture, entry(std::string("atc_id=N1\0X\r\n", 13))}, "", "control character"},
        {{texture, entry("; \x1b]2;title\x07\r\n")}, "", "control character"},
        {{texture, entry("ui_variation=a\tb\r\n")}, "", "ui_variation \"a"},
        {{texture, entry("description=" + std::string((1 << 20) - 200, 'd') + "\r\n")},
         "",
         "cannot be read back"},
        // What the file system would refuse midway.
        {{{"texture.NEW/" + std::string(250, 'n') + ".bmp", "x"}, cfg}, "", "too long for the file system"},
        {{texture, cfg},
         "",
         "would overwrite the folder",
         [&] { fs::create_directory_symlink("Elsewhere", skylark / "texture.NEW"); }},
        // Refused before a byte is inflated, and while inflating at the first byte past its word.
        {{}, declaring(texture, 0xFFFFFFF0), "declares more than 2147483648 bytes"},
        {{},
         declaring({"texture.NEW/zeros.bmp", std::string(8 << 20, '\0')}, 100),
         "inflates past the 100 bytes it declares"},
    };
}

// Every hostile zip is refused before anything is written, by the dry run as by the install.
TEST_F(Simulators, HostileZipsAreRefused) {
    const fs::path skylark = aircraft("b", kSkylark);
    for (const HostileZip& c : hostileZips(skylark)) {
        c.prepare();
        const testkit::Snapshot before = testkit::snapshot(m_dir / "b");
        const fs::path zip = m_dir / "hostile.zip";
        if (c.members.empty())
            testkit::writeFile(zip, c.bytes);
        else
            writeZip(zip, c.members);
        for (const std::string dryRun : {" --dry-run", ""}) {
            const CliRun run = cli("b", "install-livery", kSkylark, shellQuoted(zip.string()) + dryRun);
            EXPECT_EQ(run.exitCode, 2) << c.refusal << dryRun << ": " << run.err;
            EXPECT_THAT(run.err, HasSubstr(c.refusal)) << dryRun;
            EXPECT_EQ(testkit::snapshot(m_dir / "b"), before) << c.refusal << dryRun;
        }
        fs::remove(skylark / "texture.NEW");
    }
}

// Zips made by hand install whatever their names' encoding: one folder holding it all, a UTF-8
// read-me with a byte order mark, an indented header and a comment holding a bracket, names in
// CP437 or flagged UTF-8.
TEST_F(Simulators, HandMadeZipsInstall) {
    const std::string handSnippet =
        "\xEF\xBB\xBFHow to install\r\n \t[fltsim.X]\r\n; colours [v2]\r\ntitle=" + kSkylark +
        " Café\r\ntexture=Café\r\nmodel=\r\n";
    std::string macSnippet = handSnippet;
    std::erase(macSnippet, '\n');
    const std::vector<std::vector<RawMember>> zips = {
        {{"My Livery/TEXTURE.Café/C310_FUSE.bmp", "fuse"},
         {"My Livery/Read me.txt", handSnippet},
         {"My Livery/preview.jpg", "jpg"}},
        // Its lines ended as an old Mac editor ends them.
        {{"texture.Caf\x82/C310_FUSE.bmp", "fuse", ZIP_FL_ENC_CP437}, {"fltsim.txt", macSnippet}},
    };
    for (const std::vector<RawMember>& members : zips) {
        writeZip(m_dir / "hand.zip", members);
        const CliRun run = cli("b", "install-livery", kSkylark, shellQuoted((m_dir / "hand.zip").string()));
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const fs::path folder = aircraft("b", kSkylark);
        const fs::path fuse = fs::path(members[0].name).parent_path().filename();
        EXPECT_EQ(readFile(folder / (fuse.string().find("TEXTURE") == 0 ? "TEXTURE.Café" : "texture.Café") /
                           "C310_FUSE.bmp"),
                  "fuse");
        EXPECT_EQ(RepaintWorld::titles(folder / "aircraft.cfg").back(), kSkylark + " Caf\xE9");
        ASSERT_EQ(cli("b", "remove", kSkylark, "--title " + shellQuoted(kSkylark + " café")).exitCode, 0);
    }
}

// A livery of the craft as remove finds one: its textures in the shared folder, its own model.
// Planned, then, unless `dryRun`, installed.
Status install(RepaintWorld& w, bool dryRun, FileOperations& files) {
    std::string bytes;
    EXPECT_TRUE(makeZip({{"texture/T_FUSE_QRX_1.bmp", "fuse"},
                         {"Model.QRX/Craft_QRX.mdl", "model"},
                         {"fltsim.cfg", "[fltsim.X]\r\ntitle=Shared\r\nmodel=QRX\r\n"}},
                        bytes));
    ZipReader zip;
    EXPECT_TRUE(zip.open(std::move(bytes)));
    InstallPlan plan;
    Status s = planLiveryInstall(w.app.repaintInputs(), zip, plan, files);
    return s && !dryRun ? InstallLivery(w.app.extraFields, w.frontend, zip, plan, files) : s;
}

Status remove(RepaintWorld& w, bool dryRun, FileOperations& files) {
    BuildPlan plan;
    Status s = planLiveryRemoval(w.app.repaintInputs(), "Shared", plan, files);
    return s && !dryRun ? WriteAircraftCfg(w.app.extraFields, w.frontend, plan, files) : s;
}

Status pack(RepaintWorld& w, bool dryRun, FileOperations& files) {
    Status s = checkPackTarget(w.root() / "livery.zip", 3000, files);
    return s && !dryRun ? files.replaceFile(w.root() / "livery.zip", std::string(3000, 'z')) : s;
}

// What the disk would refuse midway through installing, removing or packing a livery is refused
// by the plan: the dry run, which only plans, ends as the command does.
TEST(LiveryCommands, RefuseInThePlanWhatTheDiskWouldRefuseMidway) {
    const auto installed = [](RepaintWorld& w) { ASSERT_TRUE(install(w, false, systemFileOperations())); };
    const struct {
        std::function<void(RepaintWorld&)> prepare;
        std::function<Status(RepaintWorld&, bool dryRun, FileOperations&)> command;
        std::optional<std::uintmax_t> freeSpace;
        std::string named;
    } cases[] = {
        {{}, install, 16, "Too little free space for installing the livery: free "},
        {[](RepaintWorld& w) { fs::create_directory_symlink("Nowhere", w.aircraft()); },
         install,
         {},
         "Craft is not a folder, and installing the livery makes a folder of that name"},
        {installed, remove, 16, "Too little free space for taking the livery out"},
        {[=](RepaintWorld& w) {
             installed(w);
             fs::remove(w.aircraft() / "Aircraft.bak");
             fs::create_directory(w.aircraft() / "Aircraft.bak");
         },
         remove,
         {},
         "Aircraft.bak is not a regular file"},
        {{}, pack, 2048, "Too little free space for packing: free 1 KB more"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.named);
        RepaintWorld world;
        if (c.prepare)
            c.prepare(world);
        const testkit::Snapshot before = testkit::snapshot(world.root());
        testkit::FailingFileOperations files([](const std::string&, const std::string&) { return false; });
        files.freeSpace = c.freeSpace;
        for (const bool dryRun : {true, false}) {
            const Status status = c.command(world, dryRun, files);
            EXPECT_EQ(status.kind(), Status::Kind::Refused) << dryRun;
            EXPECT_THAT(status.text(), testing::HasSubstr(c.named)) << dryRun;
            EXPECT_EQ(testkit::snapshot(world.root()), before) << dryRun;
        }
    }
}

} // namespace
} // namespace livrano
