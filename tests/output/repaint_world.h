// SPDX-License-Identifier: MIT
#pragma once
// A simulator installation in a temporary folder for the output tests: the simulator's root
// with Aircraft/, the program folder two levels below it, the program's data copies of one
// aircraft, and an Application whose specification and choices describe a repaint of it.

#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/file_bytes.h"
#include "output/application.h"
#include "output/build_plan.h"
#include "output/file_operations.h"
#include "support/recording_frontend.h"
#include "support/temp_dir.h"

namespace livrano::testkit {

class RepaintWorld {
    TempDir m_dir; // first: everything below lives in it

public:
    // "Craft" (TextureAssignOnly 0, its own flight model per variation; tests/data/craft.cfg),
    // extension "qrx", a one-pixel template loaded. The data copy's aircraft.cfg is
    // tests/data/craft_aircraft.cfg.
    RepaintWorld();

    std::filesystem::path aircraft() const { return m_dir / "Aircraft" / "Craft"; }
    std::filesystem::path data() const { return programFolder() / "Data.CRAFT"; }
    std::filesystem::path programFolder() const { return m_dir / "Corvane Software" / "Livrano"; }
    const std::filesystem::path& root() const { return m_dir.path(); }

    // Writes the aircraft record as the enciphered configuration "Craft.bin", catalogues it and
    // selects it, so that a build can load the aircraft again at its end.
    void installConfiguration();

    // The build's plan for the world as it stands; a refusal fails the test.
    BuildPlan plan() const;

    // Every file and folder under `folder`, relative, folders with a trailing "/".
    static std::set<std::string> listing(const std::filesystem::path& folder);
    // The titles of [fltsim.0], [fltsim.1], ... of an aircraft.cfg, up to the first without one.
    static std::vector<std::string> titles(const std::filesystem::path& aircraftCfg);

    // The data copy's model file: 400 bytes, byte i = (i * 7 + 3) % 251.
    static std::string modelBytes();

    RecordingFrontend frontend;
    Application app;
};

// Delegates to the real file system and logs every operation as "<operation> <file name>" (a
// temporary file by the name of the file it replaces; a rename by its target's), except that an
// operation for which `fails` answers true fails without touching anything.
class FailingFileOperations : public FileOperations {
public:
    using Rule = std::function<bool(const std::string& operation, const std::string& fileName)>;
    using Path = std::filesystem::path;
    explicit FailingFileOperations(Rule fails) : m_fails(std::move(fails)) {}

#define LIVRANO_GUARDED(operation, file, parameters, arguments)                                              \
    Status operation parameters override {                                                                   \
        return guarded(#operation, file, [&] { return real().operation arguments; });                        \
    }
    LIVRANO_GUARDED(createDirectory, folder, (const Path& folder), (folder))
    LIVRANO_GUARDED(readFile, file, (const Path& file, std::string& bytes), (file, bytes))
    LIVRANO_GUARDED(writeFile, file,
                    (const Path& file, std::string_view bytes,
                     std::optional<std::filesystem::perms> permissions),
                    (file, bytes, permissions))
    LIVRANO_GUARDED(renameFile, to, (const Path& from, const Path& to), (from, to))
    LIVRANO_GUARDED(removeFile, file, (const Path& file), (file))
    LIVRANO_GUARDED(removeEmptyDirectory, folder, (const Path& folder), (folder))
    LIVRANO_GUARDED(makeDeletable, file, (const Path& file), (file))
    LIVRANO_GUARDED(moveFile, from, (const Path& from, const Path& to), (from, to))
#undef LIVRANO_GUARDED
    // Without `syncs` the syncs are logged and may fail, but do not reach the disk: a test of what
    // files hold has no use for them, and a loaded disk makes each a wait.
    Status syncFile(const Path& file) override {
        return guarded("syncFile", file, [&] { return syncs ? real().syncFile(file) : Status::Ok(); });
    }
    Status syncFolder(const Path& folder) override {
        return guarded("syncFolder", folder,
                       [&] { return syncs ? real().syncFolder(folder) : Status::Ok(); });
    }

    Status availableSpace(const Path& folder, std::uintmax_t& bytes) override {
        if (!freeSpace)
            return guarded("availableSpace", folder, [&] { return real().availableSpace(folder, bytes); });
        bytes = *freeSpace;
        return Status::Ok();
    }

    bool syncs = true;
    int failures = 0;
    std::vector<std::string> log;
    std::optional<std::uintmax_t> freeSpace; // when given, the space every file system has free

private:
    static FileOperations& real() {
        return systemFileOperations();
    }
    // The injected failure when the rule picks this operation on this file, else the real one.
    template <typename Real>
    Status guarded(const std::string& operation, const std::filesystem::path& file, Real realOperation) {
        const std::string name =
            temporaryFileTarget(file.filename().string()).value_or(file.filename().string());
        log.push_back(operation + " " + name);
        if (!m_fails(operation, name))
            return realOperation();
        ++failures;
        return Status::Error("injected failure: " + operation + " " + name);
    }
    Rule m_fails;
};

} // namespace livrano::testkit
