// SPDX-License-Identifier: MIT
#pragma once
// A small model of what an aircraft holds as the commands that write into it run, and the check
// that the aircraft on disk holds what the model says: the oracle of the soak (the real
// livrano-cli, killed at random moments) and of the writing commands' model test (the same steps
// in the test's process, with failing file operations). It works on a demo installation of every
// kind of aircraft the configurations describe.

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/headless_frontend.h"
#include "output/application.h"
#include "output/build_plan.h"

namespace livrano::soak {

enum class Command {
    Build,
    Remove,
    Pack,
    Install,
    Restore,
    Rebuild
}; // Rebuild: the textures, as --watch does

struct Step {
    Step(Command c, std::string v = {}, std::string e = {}, int p = 0, std::size_t z = 0)
        : command(c), variation(std::move(v)), extension(std::move(e)), picture(p), zip(z) {}
    Command command;
    std::string variation; // the livery's, for all but install and restore
    std::string extension; // build
    int picture;           // build, rebuild: 0 the template, 1 its repainted copy
    std::size_t zip;       // install: which of the aircraft's packed zips
};

struct Livery {
    std::string title;
    std::string key;             // its folder extension in upper case; "" for the aircraft's own files
    std::set<std::string> files; // upper-case paths from the aircraft folder
    bool operator==(const Livery& o) const;
};

struct Model {
    std::vector<Livery> cfg;                // aircraft.cfg's liveries, in order
    std::optional<std::vector<Livery>> bak; // Aircraft.bak's
    std::set<std::string> onDisk;           // the keys whose files are there, listed or not
};

struct Packed {
    Livery livery; // its files as far as they were there to pack
    std::filesystem::path zip;
};

// Every entry under a folder by its relative name: its type, its permissions and a file's bytes.
using Snapshot =
    std::map<std::string, std::tuple<std::filesystem::file_type, std::filesystem::perms, std::string>>;
Snapshot snapshot(const std::filesystem::path& folder);

// One aircraft of the installation, loaded as a command loads it, with its model.
class Aircraft {
public:
    Aircraft(const std::filesystem::path& programFolder, const std::filesystem::path& folder,
             const std::filesystem::path& templateFile);

    std::string title(const std::string& variation) const;
    // The files a livery of `key` has on this aircraft (upper-case paths).
    std::set<std::string> filesOf(const std::string& key) const;
    // Whether `path` (upper case) is a file or folder of the livery of `key`.
    bool owns(const std::string& key, const std::string& path) const;
    // Every key the steps choose from.
    std::set<std::string> keys() const;
    // Aircraft.bak's liveries; nullopt when there is none.
    std::optional<std::vector<Livery>> backup() const;
    // The model of what is on disk, for a start or after a run the model cannot foresee.
    Model fromDisk() const;

    HeadlessFrontend frontend;
    Application app;
    std::filesystem::path folder;
    std::filesystem::path pictures[2];
    Model model;
    std::vector<std::pair<std::string, std::string>> liveries; // the variations and extensions steps take
    std::map<std::string, BuildPlan> plans;                    // each title's last build, for Rebuild
    std::vector<Packed> zips;

private:
    std::vector<Livery> read(const std::filesystem::path& cfg, const std::set<std::string>* there) const;
};

// A folder in memory where the system has one, else the temporary folder: the steps write many
// small files, which a busy disk makes slow.
std::filesystem::path scratchFolder();

// A demo installation in `dir` of the demo's two aircraft and the two kinds they leave out (one
// with extra textures from a Texture.<suffix> folder), each 16 times smaller; each aircraft with
// the liveries steps choose from. Empty, with `why` set, when it cannot be made.
std::vector<std::unique_ptr<Aircraft>> makeInstallation(const std::filesystem::path& dir, std::string& why);

struct Expected {
    int exit = 2; // the exit status of the step's command; a refusal changes nothing
    Model after;
    std::set<std::string> touched; // the keys whose files the step may change
};

// What the step does to the aircraft's model.
Expected predict(const Aircraft& a, const Step& s);
// A step chosen from the aircraft's liveries, with `rebuild` a texture rebuild among them.
Step randomStep(const Aircraft& a, std::mt19937& rng, bool rebuild);
// One line for a report: the aircraft and the step.
std::string describe(const Aircraft& a, const Step& s);
// The step as livrano-cli's arguments (a texture rebuild as a build).
std::string commandLine(const Aircraft& a, const Step& s);

// Where the aircraft's next zip goes, and noting that the livery titled `title` was packed there.
std::filesystem::path zipFile(const Aircraft& a);
void packed(Aircraft& a, const std::string& title, const std::filesystem::path& zip);

// How the aircraft differs from its model, "" when it holds it: the list is the model's, every
// file of every listed livery whose files the model has on disk is there and decodes (but for
// textures a build named in `leftOut`), nothing but the `touched` keys' files, aircraft.cfg and its
// backups changed since `before`; `settled` (the command or the next one's recovery has finished)
// adds: no temporary file, journal or set-aside folder, and no file of a livery the model has gone.
std::string violations(const Aircraft& a, const Snapshot& before, const std::set<std::string>& touched,
                       const std::vector<std::string>& leftOut, bool settled);

} // namespace livrano::soak
