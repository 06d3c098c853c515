// SPDX-License-Identifier: MIT
#include "aircraft/profile.h"

#include <algorithm>

#include "app/code_page.h"
#include "app/file_bytes.h"
#include "app/text.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimBlanks(std::string_view text) {
    std::size_t first = 0;
    while (first < text.size() && isBlank(text[first]))
        ++first;
    std::size_t last = text.size();
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

enum class LineKind { Blank, Comment, Header, Key, Other };

// What one line of a profile says. `name` and `value` point into the line's text.
struct LineView {
    LineKind kind = LineKind::Blank;
    std::string_view name;  // section name of a header, key name of a key
    std::string_view value; // a key's value, blanks removed, quotation marks kept
};

// A UTF-8 byte order mark written by some editors would otherwise hide the first header.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

LineView classify(std::string_view text) {
    const std::string_view line = trimBlanks(text);
    if (line.empty())
        return {};
    if (line.front() == ';')
        return {LineKind::Comment, {}, {}};
    if (line.front() == '[') {
        // The last ']' closes the name, so text after it ("[fltsim.0] ; old") is ignored.
        const auto close = line.rfind(']');
        if (close != std::string_view::npos && close > 0)
            return {LineKind::Header, trimBlanks(line.substr(1, close - 1)), {}};
    }
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return {LineKind::Other, {}, {}};
    return {LineKind::Key, trimBlanks(line.substr(0, equals)), trimBlanks(line.substr(equals + 1))};
}

// One pair of matching quotation marks around the whole value is dropped, as Windows does.
std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::string oneLine(std::string_view value) {
    std::string out(value);
    std::replace(out.begin(), out.end(), '\r', ' ');
    std::replace(out.begin(), out.end(), '\n', ' ');
    return out;
}

std::int32_t parseProfileInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint32_t total = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        total = total * 10u + static_cast<std::uint32_t>(text[i] - '0');
    if (negative)
        total = 0u - total;
    return static_cast<std::int32_t>(total);
}

} // namespace

ProfileDocument::ProfileDocument(std::string bytes) : m_bytes(std::move(bytes)) {
    const std::string_view all = m_bytes;
    const auto firstNewline = all.find('\n');
    if (firstNewline != std::string_view::npos)
        m_lineEnd = (firstNewline > 0 && all[firstNewline - 1] == '\r') ? "\r\n" : "\n";

    m_sections.push_back({});
    for (Line& line : splitLines(all)) {
        std::string_view text = line.text;
        if (m_sections.size() == 1 && m_sections.front().lines.empty()) {
            if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
                text.remove_prefix(kByteOrderMark.size());
        }
        const LineView view = classify(text);
        if (view.kind == LineKind::Header) {
            Section section;
            section.name = std::string(view.name);
            m_sectionIndex.emplace(toUpper(section.name), m_sections.size());
            m_sections.push_back(std::move(section));
        } else if (view.kind == LineKind::Key) {
            m_sections.back().keys.emplace(toUpper(view.name), m_sections.back().lines.size());
        }
        m_sections.back().lines.push_back(std::move(line));
    }
}

std::vector<ProfileDocument::Line> ProfileDocument::splitLines(std::string_view all) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < all.size()) {
        const auto newline = all.find('\n', start);
        Line line;
        if (newline == std::string_view::npos) {
            line.text = std::string(all.substr(start));
            start = all.size();
        } else {
            const bool crlf = newline > start && all[newline - 1] == '\r';
            const std::size_t textEnd = crlf ? newline - 1 : newline;
            line.text = std::string(all.substr(start, textEnd - start));
            line.end = crlf ? "\r\n" : "\n";
            start = newline + 1;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

void ProfileDocument::indexKeys(Section& section) {
    section.keys.clear();
    for (std::size_t i = 0; i < section.lines.size(); ++i) {
        const LineView view = classify(section.lines[i].text);
        if (view.kind == LineKind::Key)
            section.keys.emplace(toUpper(view.name), i);
    }
}

const ProfileDocument::Section* ProfileDocument::findSection(std::string_view section) const {
    const auto found = m_sectionIndex.find(toUpper(trimBlanks(section)));
    return found == m_sectionIndex.end() ? nullptr : &m_sections[found->second];
}

ProfileDocument ProfileDocument::load(const std::filesystem::path& file) {
    return ProfileDocument(readFileBytes(file).value_or(std::string()));
}

const std::string& ProfileDocument::bytes() const {
    if (m_bytesStale)
        joinLines();
    return m_bytes;
}

void ProfileDocument::joinLines() const {
    std::size_t size = 0;
    for (const Section& section : m_sections)
        for (const Line& line : section.lines)
            size += line.text.size() + line.end.size();
    m_bytes.clear();
    m_bytes.reserve(size);
    for (const Section& section : m_sections) {
        for (const Line& line : section.lines) {
            m_bytes += line.text;
            m_bytes += line.end;
        }
    }
    m_bytesStale = false;
}

std::vector<ProfileSection> ProfileDocument::sections() const {
    std::vector<ProfileSection> sections;
    for (std::size_t i = 1; i < m_sections.size(); ++i) {
        ProfileSection section{m_sections[i].name, {}};
        for (const Line& line : m_sections[i].lines)
            section.text += line.text + line.end;
        if (i == 1 && m_sections[0].lines.empty() && section.text.starts_with(kByteOrderMark))
            section.text.erase(0, kByteOrderMark.size());
        sections.push_back(std::move(section));
    }
    return sections;
}

void ProfileDocument::endLastLine() {
    for (auto it = m_sections.rbegin(); it != m_sections.rend(); ++it) {
        if (!it->lines.empty()) {
            if (it->lines.back().end.empty())
                it->lines.back().end = m_lineEnd;
            return;
        }
    }
}

void ProfileDocument::putSection(std::string_view name, std::string_view text, bool replace) {
    Section section;
    section.name = std::string(trimBlanks(name));
    section.lines = splitLines(text);
    if (!section.lines.empty() && section.lines.back().end.empty())
        section.lines.back().end = m_lineEnd;
    indexKeys(section);
    m_bytesStale = true;
    const std::string key = toUpper(section.name);
    const auto found = m_sectionIndex.find(key);
    if (replace && found != m_sectionIndex.end()) {
        m_sections[found->second] = std::move(section);
        return;
    }
    endLastLine();
    m_sectionIndex.emplace(key, m_sections.size());
    m_sections.push_back(std::move(section));
}

std::optional<std::string> ProfileDocument::find(std::string_view section, std::string_view key,
                                                 std::size_t maxChars) const {
    const Section* found = findSection(section);
    if (found == nullptr)
        return std::nullopt;
    const auto line = found->keys.find(toUpper(trimBlanks(key)));
    if (line == found->keys.end())
        return std::nullopt;
    return std::string(unquote(classify(found->lines[line->second].text).value).substr(0, maxChars));
}

bool ProfileDocument::hasSection(std::string_view section) const {
    return findSection(section) != nullptr;
}

void ProfileDocument::visitKeys(std::string_view section, const KeyVisitor& visit) const {
    const Section* found = findSection(section);
    if (found == nullptr)
        return;
    for (std::size_t i = 0; i < found->lines.size(); ++i) {
        const LineView view = classify(found->lines[i].text);
        if (view.kind == LineKind::Key && found->keys.at(toUpper(view.name)) == i)
            visit(view.name, view.value);
    }
}

void ProfileDocument::forEachKey(std::string_view section, const KeyVisitor& visit) const {
    visitKeys(section, [&](std::string_view key, std::string_view value) {
        visit(key, unquote(value).substr(0, kIniStringChars));
    });
}

std::int32_t ProfileDocument::intValue(std::string_view value) {
    return parseProfileInt(value);
}

std::vector<std::pair<std::string, std::string>> ProfileDocument::keys(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> keys;
    visitKeys(section, [&](std::string_view key, std::string_view value) { keys.emplace_back(key, value); });
    return keys;
}

std::string ProfileDocument::readText(std::string_view section, std::string_view key,
                                      std::size_t maxChars) const {
    // NUL bytes read as spaces, as they did from the space-filled buffer of the Windows call.
    std::string value = find(section, key, maxChars).value_or(std::string());
    std::replace(value.begin(), value.end(), '\0', ' ');
    return trim(value);
}

std::string ProfileDocument::readString(std::string_view section, std::string_view key) const {
    return readText(section, key, kIniStringChars);
}

std::string ProfileDocument::readLongString(std::string_view section, std::string_view key) const {
    return readText(section, key, kIniLongStringChars);
}

std::int32_t ProfileDocument::readInt(std::string_view section, std::string_view key) const {
    return parseProfileInt(find(section, key, kIniStringChars).value_or(std::string()));
}

bool ProfileDocument::writable(std::string_view section, std::string_view key) {
    const auto hasLineBreak = [](std::string_view text) {
        return text.find_first_of("\r\n") != std::string_view::npos;
    };
    const std::string_view name = trimBlanks(key);
    return !hasLineBreak(section) && !hasLineBreak(key) && !name.empty() &&
           name.find('=') == std::string_view::npos && name.front() != ';' && name.front() != '[';
}

void ProfileDocument::write(std::string_view section, std::string_view key, std::string_view value) {
    if (!writable(section, key))
        return;
    const std::string_view sectionName = trimBlanks(section);
    const std::string_view keyName = trimBlanks(key);
    const std::string newValue = oneLine(value);
    m_bytesStale = true;

    const auto found = m_sectionIndex.find(toUpper(sectionName));
    if (found == m_sectionIndex.end()) {
        // The file's last line gets its line end before the new section follows it.
        endLastLine();
        Section added;
        added.name = std::string(sectionName);
        added.lines.push_back({"[" + added.name + "]", m_lineEnd});
        added.lines.push_back({std::string(keyName) + "=" + newValue, m_lineEnd});
        indexKeys(added);
        m_sectionIndex.emplace(toUpper(added.name), m_sections.size());
        m_sections.push_back(std::move(added));
        return;
    }

    Section& target = m_sections[found->second];
    std::vector<Line>& lines = target.lines;
    if (const auto existing = target.keys.find(toUpper(keyName)); existing != target.keys.end()) {
        // Only the value changes: the key's spelling and the blanks before the value stay,
        // unless the value brings blanks of its own (writing it again then changes nothing).
        std::string& text = lines[existing->second].text;
        std::size_t valueStart = text.find('=') + 1;
        if (newValue.empty() || !isBlank(newValue.front())) {
            while (valueStart < text.size() && isBlank(text[valueStart]))
                ++valueStart;
        }
        text.replace(valueStart, std::string::npos, newValue);
        return;
    }
    std::size_t last = 0; // the last line that is neither blank nor a comment; the header at least
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const LineKind kind = classify(lines[i].text).kind;
        if (kind != LineKind::Blank && kind != LineKind::Comment)
            last = i;
    }
    if (lines[last].end.empty())
        lines[last].end = m_lineEnd;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last) + 1,
                 Line{std::string(keyName) + "=" + newValue, m_lineEnd});
    indexKeys(target);
}

Status ProfileDocument::save(const std::filesystem::path& file) const {
    return replaceFileBytes(file, bytes());
}

std::string ReadIniString(std::string_view section, std::string_view key, const std::filesystem::path& file) {
    return ProfileDocument::load(file).readString(section, key);
}

std::string ReadIniLongString(std::string_view section, std::string_view key,
                              const std::filesystem::path& file) {
    return ProfileDocument::load(file).readLongString(section, key);
}

std::int32_t ReadIniInt(std::string_view section, std::string_view key, const std::filesystem::path& file) {
    return ProfileDocument::load(file).readInt(section, key);
}

Status WriteIniString(std::string_view section, std::string_view key, std::string_view value,
                      const std::filesystem::path& file) {
    if (!ProfileDocument::writable(section, key))
        return Status::Error("The key \"" + utf8FromWindows1252(key) + "\" of section \"" +
                             utf8FromWindows1252(section) + "\" cannot be written to \"" +
                             utf8FromPath(file) + "\".");
    // Only a missing file starts empty: one that is there but cannot be read (a folder, a device,
    // no permission) would otherwise be replaced by this single key.
    std::optional<std::string> bytes = readFileBytes(file);
    std::error_code ec;
    if (!bytes && fs::exists(fs::symlink_status(file, ec)))
        return Status::Error("\"" + utf8FromPath(file) + "\" cannot be read, so it is left as it is.");
    ProfileDocument document(std::move(bytes).value_or(std::string()));
    document.write(section, key, value);
    return document.save(file);
}

} // namespace livrano
