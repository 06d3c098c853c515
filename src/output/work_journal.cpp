// SPDX-License-Identifier: MIT
#include "output/work_journal.h"

#include <sstream>
#include <system_error>

#include "app/file_bytes.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "livrano work journal 1";

// One path per line: the few bytes that would end or split a line are escaped.
std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '%' || c == '\n' || c == '\r') {
            static const char kHex[] = "0123456789ABCDEF";
            out += '%';
            out += kHex[(static_cast<unsigned char>(c) >> 4) & 0xF];
            out += kHex[static_cast<unsigned char>(c) & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const std::string hex(text.substr(i + 1, 2));
        if (hex.find_first_not_of("0123456789ABCDEF") != std::string::npos)
            return std::nullopt;
        out += static_cast<char>(std::stoi(hex, nullptr, 16));
        i += 2;
    }
    return out;
}

// Only a plain relative path that stays inside the aircraft folder is acted on.
std::optional<fs::path> inside(const fs::path& aircraftFolder, const std::string& relative) {
    const fs::path path(relative);
    if (path.empty() || path.has_root_name() || path.has_root_directory())
        return std::nullopt;
    for (const fs::path& part : path)
        if (part == ".." || part == ".")
            return std::nullopt;
    return aircraftFolder / path;
}

} // namespace

fs::path journalFile(const fs::path& aircraftFolder) {
    return aircraftFolder / "Livrano.journal";
}

Status writeJournal(const fs::path& aircraftFolder, const WorkJournal& journal, FileOperations& files) {
    std::string text = std::string(kHeader) + "\n";
    if (!journal.cfgHash.empty())
        text += "cfg " + journal.cfgHash + "\n";
    if (!journal.cfgBefore.empty())
        text += "before " + journal.cfgBefore + "\n";
    auto lines = [&](const char* kind, const std::vector<fs::path>& paths) {
        for (const fs::path& path : paths)
            text +=
                std::string(kind) + " " + escaped(path.lexically_relative(aircraftFolder).string()) + "\n";
    };
    lines("added", journal.added);
    lines("remove", journal.removals);
    return files.replaceFile(journalFile(aircraftFolder), text);
}

std::optional<WorkJournal> readJournal(const fs::path& aircraftFolder) {
    const std::optional<std::string> bytes = readFileBytes(journalFile(aircraftFolder));
    std::error_code ec;
    if (!bytes)
        return fs::exists(fs::symlink_status(journalFile(aircraftFolder), ec)) ? std::optional(WorkJournal{})
                                                                               : std::nullopt;
    WorkJournal journal;
    std::istringstream in(*bytes);
    std::string line;
    if (!std::getline(in, line) || line != kHeader)
        return journal;
    while (std::getline(in, line)) {
        const std::size_t space = line.find(' ');
        if (space == std::string::npos)
            continue;
        const std::string kind = line.substr(0, space);
        const std::optional<std::string> value = unescaped(std::string_view(line).substr(space + 1));
        if (!value)
            continue;
        if (kind == "cfg") {
            journal.cfgHash = *value;
            continue;
        }
        if (kind == "before") {
            journal.cfgBefore = *value;
            continue;
        }
        const std::optional<fs::path> path = inside(aircraftFolder, *value);
        if (path && kind == "added")
            journal.added.push_back(*path);
        else if (path && kind == "remove")
            journal.removals.push_back(*path);
    }
    return journal;
}

Status closeJournal(const fs::path& aircraftFolder, FileOperations& files) {
    std::error_code ec;
    const fs::path file = journalFile(aircraftFolder);
    if (!fs::exists(fs::symlink_status(file, ec)))
        return Status::Ok();
    if (Status s = files.removeFile(file); !s)
        return s;
    return files.syncFolder(aircraftFolder);
}

} // namespace livrano
