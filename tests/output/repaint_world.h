#pragma once
// A simulator installation in a temporary folder for the output tests: the simulator's root
// with Aircraft/, the program folder two levels below it, the program's data copies of one
// aircraft, and an Application whose specification and choices describe a repaint of it.

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/application.h"
#include "output/file_operations.h"
#include "support/recording_frontend.h"
#include "support/temp_dir.h"

namespace livrano::testing {

class RepaintWorld {
    TempDir m_dir; // first: everything below lives in it

public:
    // "Craft" (TextureAssignOnly 0, its own flight model per variation), extension "qrx".
    RepaintWorld();

    std::filesystem::path aircraft() const { return m_dir / "Aircraft" / "Craft"; }
    std::filesystem::path data() const { return programFolder() / "Data.CRAFT"; }
    std::filesystem::path programFolder() const { return m_dir / "Corvane Software" / "Livrano"; }
    const std::filesystem::path& root() const { return m_dir.path(); }

    // Writes the aircraft record as the enciphered configuration "Craft.bin", catalogues it and
    // selects it, so that a build can load the aircraft again at its end.
    void installConfiguration();

    // Every file and folder under `folder`, relative, folders with a trailing "/".
    static std::set<std::string> listing(const std::filesystem::path& folder);
    // The titles of [fltsim.0], [fltsim.1], ... of an aircraft.cfg, up to the first without one.
    static std::vector<std::string> titles(const std::filesystem::path& aircraftCfg);

    // The data copy's model file: 400 bytes, byte i = (i * 7 + 3) % 251.
    static std::string modelBytes();
    static const char* cleanAircraftCfg();

    RecordingFrontend frontend;
    Application app;
};

// Delegates to the real file system, except that an operation for which `fails` answers true
// (given the operation's name and the file's name) fails without touching anything.
class FailingFileOperations : public FileOperations {
public:
    using Rule = std::function<bool(const std::string& operation, const std::string& fileName)>;
    explicit FailingFileOperations(Rule fails) : m_fails(std::move(fails)) {}

    Status createDirectory(const std::filesystem::path& folder) override;
    Status readFile(const std::filesystem::path& file, std::string& bytes) override;
    Status replaceFile(const std::filesystem::path& file, std::string_view bytes) override;
    Status copyFile(const std::filesystem::path& from, const std::filesystem::path& to) override;
    Status patchFile(const std::filesystem::path& file, const std::vector<FilePatch>& patches) override;
    Status removeFile(const std::filesystem::path& file) override;
    Status removeEmptyDirectory(const std::filesystem::path& folder) override;
    Status makeDeletable(const std::filesystem::path& file) override;

    int failures = 0;

private:
    bool refuse(const std::string& operation, const std::filesystem::path& file);
    Rule m_fails;
};

} // namespace livrano::testing
