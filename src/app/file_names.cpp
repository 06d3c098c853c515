// SPDX-License-Identifier: MIT
#include "app/file_names.h"

#include <array>
#include <optional>
#include <string>
#include <system_error>

#include "app/code_page.h"
#include "app/text.h"

namespace livrano {

namespace fs = std::filesystem;

fs::path programLocation(const fs::path& programFolder, std::string_view relative) {
    fs::path result = programFolder;
    std::string part;
    auto flush = [&] {
        if (!part.empty())
            result /= pathFromWindows1252(part);
        part.clear();
    };
    for (char c : relative) {
        if (c == '\\' || c == '/')
            flush();
        else
            part.push_back(c);
    }
    flush();
    return result.lexically_normal();
}

fs::path resolveCaseless(const fs::path& path) {
    std::error_code ec;
    if (fs::exists(path, ec))
        return path;
    fs::path result = path.root_path();
    bool searching = true;
    for (const fs::path& component : path.relative_path()) {
        // Compared as the Windows-1252 text the program forms names in, so that "CAFÉ" finds "café".
        const std::optional<std::string> name = windows1252FromPath(component);
        if (searching && name && *name != "." && *name != ".." && !fs::exists(result / component, ec)) {
            fs::path found;
            const fs::path dir = result.empty() ? fs::path(".") : result;
            for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
                const std::optional<std::string> entry = windows1252FromPath(it->path().filename());
                if (entry && equalsNoCase(*entry, *name)) {
                    found = it->path().filename();
                    break;
                }
            }
            if (found.empty()) {
                searching = false;
                result /= component;
            } else {
                result /= found;
            }
            continue;
        }
        result /= component;
    }
    return result;
}

Status checkSafeFileName(std::string_view what, std::string_view name) {
    const std::string shown = utf8FromWindows1252(name);
    auto refuse = [&](const std::string& why) {
        // The message leaves out what the value's key is called, why Windows cares and a long
        // value's tail, which goes last: "The folder extension contains a path separator: "a/b"."
        const std::string_view brief = what.substr(0, what.find(" ("));
        return Status::Refused("The " + std::string(brief) + " " + why.substr(3, why.find(", which") - 3) +
                                   ": \"" + shortName(shown) + "\".",
                               "The " + std::string(what) + " \"" + shown +
                                   "\" cannot be used as a file name: " + why + ".");
    };
    if (name.empty())
        return refuse("it is empty");
    if (name == "." || name == "..")
        return refuse("it names a folder above or the folder itself");
    for (unsigned char c : name) {
        if (c == '/' || c == '\\')
            return refuse("it contains a path separator");
        if (c < 32 || c == 127)
            return refuse("it contains a control character");
        if (c == ':' || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*')
            return refuse(std::string("it contains the character '") + static_cast<char>(c) + "'");
    }
    if (name.back() == '.' || name.back() == ' ')
        return refuse("it ends with a dot or a blank, which Windows drops");
    // Device names are reserved whatever extension follows them.
    const std::string stem = toUpper(name.substr(0, name.find('.')));
    static const std::array<const char*, 4> devices = {"CON", "PRN", "AUX", "NUL"};
    for (const char* d : devices) {
        if (trim(stem) == d)
            return refuse("it is a reserved device name");
    }
    if (stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '1' &&
        stem[3] <= '9')
        return refuse("it is a reserved device name");
    return Status::Ok();
}

} // namespace livrano
