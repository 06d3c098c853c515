#pragma once
// One folder's names listed once, for finding many names in it without regard to case: a
// planner that looks up thousands of names would otherwise list the folder once per name.

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace livrano {

class CaselessFolder {
public:
    // Lists `folder` (which need not exist) as it is now.
    explicit CaselessFolder(std::filesystem::path folder);

    // What resolveCaseless(folder / name) gives, `name` being Windows-1252 text: the entry of that
    // exact name, else the first one whose name differs in case only, else the name as given. A
    // name that is not one plain component is resolved on the disk instead.
    std::filesystem::path find(std::string_view name) const;

private:
    std::filesystem::path m_folder;
    std::unordered_set<std::string> m_names;                         // as on the disk
    std::unordered_map<std::string, std::filesystem::path> m_folded; // upper-case Windows-1252
};

} // namespace livrano
