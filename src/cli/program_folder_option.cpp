#include "cli/program_folder_option.h"

namespace livrano::cli {

void addProgramFolderOption(CLI::App& command, std::optional<std::string>& folder) {
    command
        .add_option("--program-folder", folder,
                    "the program folder (default: LIVRANO_PROGRAM_FOLDER, else the executable's folder)")
        ->type_name("DIR");
}

} // namespace livrano::cli
