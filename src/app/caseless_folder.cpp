#include "app/caseless_folder.h"

#include <optional>
#include <system_error>

#include "app/code_page.h"
#include "app/file_names.h"
#include "app/text.h"

namespace livrano {

namespace fs = std::filesystem;

CaselessFolder::CaselessFolder(fs::path folder) : m_folder(std::move(folder)) {
    std::error_code ec;
    for (fs::directory_iterator it(m_folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path name = it->path().filename();
        m_names.insert(name.native());
        if (const std::optional<std::string> text = windows1252FromPath(name))
            m_folded.emplace(toUpper(*text), name);
    }
}

fs::path CaselessFolder::find(std::string_view name) const {
    const fs::path given = pathFromWindows1252(name);
    if (name.empty() || name == "." || name == ".." || name.find_first_of("/\\") != std::string_view::npos)
        return resolveCaseless(m_folder / given);
    if (m_names.count(given.native()) != 0)
        return m_folder / given;
    const auto folded = m_folded.find(toUpper(name));
    return m_folder / (folded == m_folded.end() ? given : folded->second);
}

} // namespace livrano
