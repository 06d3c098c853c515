// SPDX-License-Identifier: MIT
#include "app/airline_list.h"

#include "app/code_page.h"
#include "app/file_bytes.h"
#include "app/file_names.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

// A list this short is taken for a placeholder: the program's own list is the better choice.
constexpr std::size_t kSimulatorListMinimum = 11;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

} // namespace

std::vector<std::string> splitAirlineEntries(std::string_view text) {
    std::vector<std::string> entries;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        while (i < n && isBlank(text[i]))
            ++i;
        std::string entry;
        if (i < n && text[i] == '"') {
            const std::size_t close = text.find('"', i + 1);
            if (close != std::string_view::npos) {
                entry = text.substr(i + 1, close - i - 1);
                i = close + 1;
            } else {
                // Never closed: the line end ends it, so one stray mark cannot swallow the
                // rest of the list.
                for (++i; i < n && !isLineEnd(text[i]); ++i)
                    entry.push_back(text[i]);
            }
            // Whatever follows the closing mark up to the separator is not part of the entry.
            while (i < n && text[i] != ',' && !isLineEnd(text[i]))
                ++i;
        } else {
            while (i < n && text[i] != ',' && !isLineEnd(text[i]))
                entry.push_back(text[i++]);
            while (!entry.empty() && isBlank(entry.back()))
                entry.pop_back();
        }
        if (!entry.empty())
            entries.push_back(std::move(entry));
        if (i < n)
            ++i; // the separator; a CRLF pair leaves an empty piece that is dropped above
    }
    return entries;
}

Status LoadAirlineList(const fs::path& programFolder, AirlineList& list) {
    const fs::path own = resolveCaseless(programLocation(programFolder, "\\Data\\airlines.cfg"));
    const std::optional<std::string> ownText = readFileBytes(own);
    // The path on a second line: the program folder may be anywhere, and this is where it was.
    if (!ownText)
        return Status::Refused(
            "The 'Corvane Software\\Livrano\\Data\\airlines.cfg' file is missing. Please reinstall Livrano.\n" +
            utf8FromPath(own));

    std::vector<std::string> entries = splitAirlineEntries(*ownText);
    const fs::path simulator =
        resolveCaseless(programLocation(programFolder, "\\..\\..\\Aircraft\\airlines.cfg"));
    if (const std::optional<std::string> simText = readFileBytes(simulator)) {
        std::vector<std::string> simEntries = splitAirlineEntries(*simText);
        if (simEntries.size() >= kSimulatorListMinimum)
            entries = std::move(simEntries);
    }

    list.AirlineEntries = std::move(entries);
    list.AirlineLastIndex = static_cast<std::int32_t>(list.AirlineEntries.size()) - 1;
    return Status::Ok();
}

std::vector<std::string> callsignLines(const AirlineList& list) {
    std::vector<std::string> lines;
    lines.reserve(list.AirlineEntries.size() + 1);
    lines.emplace_back(kNoCallsign);
    lines.insert(lines.end(), list.AirlineEntries.begin(), list.AirlineEntries.end());
    return lines;
}

} // namespace livrano
