// SPDX-License-Identifier: MIT
#include "output/fltsim_snippet.h"

#include <vector>

#include "aircraft/profile.h"
#include "app/code_page.h"
#include "app/text.h"
#include "output/aircraft_cfg.h"

namespace livrano {

namespace {

// The text's lines without their line ends (CRLF, LF or a lone CR).
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

// The section name of a header line, or nullopt for any other line.
std::optional<std::string> headerName(std::string_view line) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    const std::size_t close = line.find(']');
    if (line.empty() || line.front() != '[' || close == std::string_view::npos)
        return std::nullopt;
    return trim(line.substr(1, close - 1));
}

bool isFltsimName(const std::string& name) {
    return name.size() > 7 && equalsNoCase(name.substr(0, 7), "fltsim.");
}

} // namespace

std::string fltsimSnippet(std::string_view section) {
    std::string out;
    std::string blanks; // kept only when a later line of the section follows
    for (std::string_view line : linesOf(section)) {
        if (out.empty()) {
            out = "[fltsim.X]\r\n";
        } else if (trim(line).empty()) {
            blanks += "\r\n";
        } else {
            out += blanks + std::string(line) + "\r\n";
            blanks.clear();
        }
    }
    return out;
}

bool holdsFltsimSection(std::string_view text) {
    for (std::string_view line : linesOf(text)) {
        const std::optional<std::string> name = headerName(line);
        if (name && isFltsimName(*name))
            return true;
    }
    return false;
}

Status readFltsimSnippet(const ExtraFieldSpec& extraFields, std::string_view text, FltsimEntry& entry) {
    std::string bytes;
    const bool bom = text.starts_with("\xEF\xBB\xBF");
    if (bom)
        text.remove_prefix(3);
    if (bom || isUtf8(text)) {
        if (Status s = windows1252FromUtf8("livery's aircraft.cfg entry", text, bytes); !s)
            return s;
    } else {
        bytes = std::string(text);
    }
    // The one section alone, as [fltsim.0] of a file of its own: read as a build reads entries.
    // It ends at the first line that is no key, comment or blank (a read-me goes on in prose),
    // and a blank line follows it, as it follows every entry of the simulator's files.
    std::string section;
    std::string blanks;
    std::size_t found = 0;
    bool inside = false;
    for (std::string_view line : linesOf(bytes)) {
        const std::optional<std::string> name = headerName(line);
        if (name) {
            inside = isFltsimName(*name);
            found += inside ? 1 : 0;
            if (inside)
                section += "[fltsim.0]\r\n";
            continue;
        }
        const std::string kept = trim(line);
        if (!inside) {
            continue;
        } else if (kept.empty()) {
            blanks += "\r\n";
        } else if (kept.find('=') != std::string::npos || kept.starts_with(';') || kept.starts_with("//")) {
            section += blanks + std::string(line) + "\r\n";
            blanks.clear();
        } else {
            inside = false;
        }
    }
    section += "\r\n";
    if (found != 1)
        return Status::Refused(found == 0
                                   ? std::string("The livery holds no [fltsim.X] section for aircraft.cfg.")
                                   : "The livery holds " + std::to_string(found) +
                                         " [fltsim.X] sections; it must hold exactly one.");
    std::vector<FltsimEntry> entries;
    std::vector<ProfileSection> untitled;
    if (Status s = readFltsimEntries(ProfileDocument(section), extraFields, entries, untitled); !s)
        return s;
    if (entries.empty())
        return Status::Refused("The livery's [fltsim.X] section has no title.");
    entry = std::move(entries.front());
    return Status::Ok();
}

} // namespace livrano
