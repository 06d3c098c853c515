// SPDX-License-Identifier: MIT
#include "app/program_folder.h"

#include <cstdlib>
#include <string>
#include <system_error>

#include "app/file_bytes.h"
#include "app/file_names.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

bool holdsAirlineList(const fs::path& folder) {
    std::error_code ec;
    return fs::is_regular_file(resolveCaseless(programLocation(folder, "\\Data\\airlines.cfg")), ec);
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The folders that may hold the shared files, most specific first.
const char* const kSharedBesideBinaries[] = {"../share/livrano", "program", "."};

} // namespace

fs::path executableFolder(const char* argv0) {
    std::error_code ec;
    // Linux exposes the running executable here; elsewhere argv0 serves.
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec || self.empty())
        self = fs::absolute(fs::path(argv0 != nullptr ? argv0 : ""), ec);
    return self.parent_path();
}

std::optional<fs::path> findProgramFolder(const std::optional<fs::path>& given, const fs::path& executable) {
    if (given)
        return *given;
    if (const std::string named = environment("LIVRANO_PROGRAM_FOLDER"); !named.empty())
        return fs::path(named);
    for (const fs::path& folder : {executable, executable / "program"}) {
        if (holdsAirlineList(folder))
            return folder;
    }
    if (const std::optional<std::string> recorded = readFileBytes(lastSetupRecord())) {
        const fs::path folder = recorded->substr(0, recorded->find('\n'));
        if (!folder.empty() && holdsAirlineList(folder))
            return folder;
    }
    return std::nullopt;
}

std::optional<fs::path> findSharedFiles(const fs::path& executable) {
    for (const char* relative : kSharedBesideBinaries) {
        const fs::path folder = (executable / relative).lexically_normal();
        if (holdsAirlineList(folder))
            return folder;
    }
    return std::nullopt;
}

fs::path lastSetupRecord() {
    fs::path config = environment("XDG_CONFIG_HOME");
    if (config.empty() || config.is_relative()) {
        const std::string home = environment("HOME");
        if (home.empty())
            return {};
        config = fs::path(home) / ".config";
    }
    return config / "livrano" / "program-folder";
}

} // namespace livrano
