// SPDX-License-Identifier: MIT
#include "output/aircraft_cfg.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <system_error>

#include "app/code_page.h"
#include "app/file_stamp.h"
#include "app/text.h"
#include "output/variation_layout.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

constexpr const char* kWeightAndBalance = "WEIGHT_AND_BALANCE";
// Far above any aircraft's station count; bounds the scan when the count is nonsense.
constexpr std::int32_t kMaxStations = 1000;

std::string sectionOf(std::size_t n) {
    return "fltsim." + std::to_string(n);
}

std::int16_t toInt16(std::int32_t value) {
    return static_cast<std::int16_t>(std::clamp<std::int32_t>(value, std::numeric_limits<std::int16_t>::min(),
                                                              std::numeric_limits<std::int16_t>::max()));
}

bool carriesExtraFields(const ExtraFieldSpec& extra) {
    return extra.CopyExtraFields == 1 && extra.NumFields >= 1;
}

std::size_t extraFieldCount(const ExtraFieldSpec& extra) {
    if (!carriesExtraFields(extra))
        return 0;
    return std::min({static_cast<std::size_t>(extra.NumFields), extra.ExtraFieldNames.size(),
                     extra.ExtraFieldDefaults.size()});
}

// N of a section name "fltsim.N" (N in decimal without leading zeros, the only spelling a
// reader of "fltsim." + N finds); nullopt for every other name.
std::optional<std::size_t> fltsimNumber(const std::string& name) {
    if (name.size() <= 7 || !equalsNoCase(name.substr(0, 7), "fltsim."))
        return std::nullopt;
    const std::string digits = name.substr(7);
    if (digits.size() > 9 || (digits.size() > 1 && digits[0] == '0') ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::size_t n = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), n);
    return n;
}

// A control character in a written value would break the file's lines or hide the value from
// the simulator's reader; a blank takes its place.
std::string foldControls(std::string value) {
    for (char& c : value) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    return value;
}

FltsimEntry readEntry(const ProfileDocument& doc, const ProfileSection& raw, std::size_t number,
                      const ExtraFieldSpec& extra) {
    const std::string& section = raw.name;
    FltsimEntry e;
    e.title = doc.readString(section, "title");
    e.sim = doc.readString(section, "sim");
    e.model = doc.readString(section, "model");
    e.panel = doc.readString(section, "panel");
    e.sound = doc.readString(section, "sound");
    e.texture = doc.readString(section, "texture");
    e.kb_checklists = doc.readString(section, "kb_checklists");
    e.kb_reference = doc.readString(section, "kb_reference");
    e.atc_id = doc.readString(section, "atc_id");
    e.atc_airline = doc.readString(section, "atc_airline");
    e.atc_flight_number = doc.readString(section, "atc_flight_number");
    e.ui_manufacturer = doc.readString(section, "ui_manufacturer");
    e.ui_type = doc.readString(section, "ui_type");
    e.ui_variation = doc.readString(section, "ui_variation");
    e.atc_heavy = toInt16(doc.readInt(section, "atc_heavy"));
    e.visual_damage = toInt16(doc.readInt(section, "visual_damage"));
    e.description = doc.readLongString(section, "description");
    for (std::size_t k = 0; k < extraFieldCount(extra); ++k)
        e.extraValues.push_back(doc.readLongString(section, trim(extra.ExtraFieldNames[k])));
    e.number = number;
    e.section = raw.text;
    return e;
}

std::string lineEndOf(const std::string& bytes) {
    const std::size_t newline = bytes.find('\n');
    return newline != std::string::npos && (newline == 0 || bytes[newline - 1] != '\r') ? "\n" : "\r\n";
}

// The section carried under number `n`: its own bytes, the header line rewritten only when the
// number changes.
std::string renumbered(const std::string& section, std::size_t from, std::size_t to) {
    if (from == to)
        return section;
    const std::size_t end = section.find_first_of("\r\n");
    return "[" + sectionOf(to) + "]" + (end == std::string::npos ? std::string() : section.substr(end));
}

// Writes the new entry: key by key into the clean copy's section of its number when there is
// one, else as a section of its own after the rest, followed by a blank line as the simulator's
// own files separate their entries.
void writeNewEntry(ProfileDocument& doc, std::size_t number, const FltsimEntry& e,
                   const ExtraFieldSpec& extra, bool modelAndTexture) {
    std::vector<std::pair<std::string, std::string>> keys = {{"title", e.title}, {"sim", e.sim}};
    if (modelAndTexture)
        keys.emplace_back("model", e.model);
    keys.emplace_back("panel", e.panel);
    keys.emplace_back("sound", e.sound);
    if (modelAndTexture)
        keys.emplace_back("texture", e.texture);
    for (const auto& [key, value] : std::initializer_list<std::pair<const char*, std::string>>{
             {"kb_checklists", e.kb_checklists},
             {"kb_reference", e.kb_reference},
             {"atc_id", e.atc_id},
             {"atc_airline", e.atc_airline},
             {"atc_flight_number", e.atc_flight_number},
             {"atc_heavy", std::to_string(e.atc_heavy)},
             {"ui_manufacturer", e.ui_manufacturer},
             {"ui_type", e.ui_type},
             {"ui_variation", e.ui_variation},
             {"visual_damage", std::to_string(e.visual_damage)},
             {"description", e.description}})
        keys.emplace_back(key, value);
    const std::size_t count = std::min(extraFieldCount(extra), e.extraValues.size());
    for (std::size_t k = 0; k < count; ++k)
        keys.emplace_back(trim(extra.ExtraFieldNames[k]), e.extraValues[k]);

    const std::string section = sectionOf(number);
    if (doc.hasSection(section)) {
        for (const auto& [key, value] : keys)
            doc.write(section, key, value);
        return;
    }
    const std::string lineEnd = lineEndOf(doc.bytes());
    std::string text = "[" + section + "]" + lineEnd;
    for (const auto& [key, value] : keys)
        text.append(key).append("=").append(value).append(lineEnd);
    doc.putSection(section, text + lineEnd, false);
}

// The weight-and-balance values present in the installed file, in the order they are written
// back. A value the installed file lacks is not written, so the data copy's own value stands.
using WeightAndBalance = std::vector<std::pair<std::string, std::string>>;

WeightAndBalance readWeightAndBalance(const ProfileDocument& doc) {
    WeightAndBalance values;
    auto carry = [&](const std::string& key) {
        if (doc.find(kWeightAndBalance, key, kIniStringChars))
            values.emplace_back(key, doc.readString(kWeightAndBalance, key));
    };
    for (const char* key :
         {"empty_weight", "reference_datum_position", "empty_weight_CG_position", "max_number_of_stations"})
        carry(key);
    const std::int32_t stations =
        std::min(doc.readInt(kWeightAndBalance, "max_number_of_stations"), kMaxStations);
    for (std::int32_t k = 0; k < stations; ++k)
        carry("station_load." + std::to_string(k));
    return values;
}

Status changedSincePlan(const BuildPlan& plan) {
    return Status::Refused(
        "The aircraft's aircraft.cfg changed while the build ran: build again.",
        "The aircraft's " + utf8FromPath(plan.installedCfg) +
            " changed after the build read it (another program saved it meanwhile); it was left as that program saved it: build again.");
}

} // namespace

Status checkInstalledCfgUnchanged(const BuildPlan& plan) {
    return stampOf(plan.installedCfg) == plan.installedStamp ? Status::Ok() : changedSincePlan(plan);
}

Status checkInstalledCfgWritable(const fs::path& installedCfg) {
    std::error_code ec;
    const fs::file_status status = fs::status(installedCfg, ec);
    if (ec || !fs::exists(status) || (status.permissions() & fs::perms::owner_write) != fs::perms::none)
        return Status::Ok();
    return Status::Refused(
        "aircraft.cfg is read-only: make it writable to build.",
        utf8FromPath(installedCfg) +
            " is read-only, and the simulator's own file functions refuse to replace it. Nothing was written.");
}

Status checkFltsimValue(std::string_view key, std::string_view value) {
    const bool control = foldControls(std::string(value)) != value;
    ProfileDocument probe;
    probe.write("fltsim.0", key, value);
    const bool description = equalsNoCase(trim(key), "description");
    const std::size_t limit = description ? kIniLongStringChars : kIniStringChars;
    const std::string read =
        description ? probe.readLongString("fltsim.0", key) : probe.readString("fltsim.0", key);
    if (!control && read == trim(value))
        return Status::Ok();
    // A value far beyond the limit is shown as far as a reader would take it.
    const std::string shown = utf8FromWindows1252(value.substr(0, limit + 1));
    const std::string quoted = "\"" + shortName(shown) + "\"";
    if (control)
        return Status::Refused(
            "The " + std::string(key) + " " + quoted + " holds a control character.",
            "The value \"" + shown + "\" of " + std::string(key) +
                " holds a control character, which would break aircraft.cfg's lines or hide the value from the simulator.");
    return Status::Refused("The " + std::string(key) + " " + quoted +
                               " cannot be read back from aircraft.cfg.",
                           "The value \"" + shown + "\" of " + std::string(key) +
                               " cannot be read back from aircraft.cfg as written (at most " +
                               std::to_string(limit) + " characters, no enclosing quotation marks).");
}

std::string newEntryTitle(const RepaintInputs& repaint) {
    return foldControls(trim(repaint.spec.AircraftTitlePrefix) + " " + trim(repaint.settings.Variation));
}

FltsimEntry newFltsimEntry(const RepaintInputs& repaint, const ProfileDocument& dataCopy,
                           const std::string& sim) {
    const AircraftSpec& spec = repaint.spec;
    const RepaintSettings& settings = repaint.settings;
    const std::string callsign = trim(settings.Callsign);
    const std::string dataModel = dataCopy.readString("livrano", "model");
    FltsimEntry e;
    e.title = newEntryTitle(repaint);
    e.sim = foldControls(sim);
    if (spec.TextureAssignOnly == 0)
        e.model = variationId(repaint);
    else if (spec.TextureAssignOnly == 1)
        e.model = !dataModel.empty() ? dataModel : toUpper(trim(spec.ModelFolder));
    e.panel = dataCopy.readString("livrano", "panel");
    if (spec.TextureAssignOnly == 1)
        e.texture = folderExtension(repaint);
    e.kb_checklists = trim(spec.CheckListFile);
    e.kb_reference = trim(spec.ReferenceFile);
    e.atc_id = toUpper(trim(settings.TailNumber));
    e.atc_airline = callsign == "*NONE*" ? std::string() : callsign;
    e.atc_flight_number = trim(spec.AircraftFlight);
    e.atc_heavy = spec.DefaultHeavy;
    e.ui_manufacturer = trim(spec.Manufacturer);
    e.ui_type = trim(spec.AircraftType);
    e.ui_variation = trim(settings.Variation);
    e.visual_damage = spec.ShowDamage;
    e.description = trim(spec.Description);
    for (std::size_t k = 0; k < extraFieldCount(repaint.extraFields); ++k)
        e.extraValues.push_back(trim(repaint.extraFields.ExtraFieldDefaults[k]));
    for (std::string* value :
         {&e.model, &e.panel, &e.texture, &e.kb_checklists, &e.kb_reference, &e.atc_id, &e.atc_airline,
          &e.atc_flight_number, &e.ui_manufacturer, &e.ui_type, &e.ui_variation, &e.description})
        *value = foldControls(*value);
    for (std::string& value : e.extraValues)
        value = foldControls(value);
    return e;
}

Status installedCfgText(const fs::path& file, std::string_view bytes, std::string& text) {
    std::string converted;
    if (Status s = windows1252FromSavedText("file " + utf8FromPath(file), bytes, converted); !s)
        return Status::Refused("aircraft.cfg holds text the simulator's files cannot hold; mend it first.",
                               s.message());
    std::string lines;
    lines.reserve(converted.size());
    for (std::size_t i = 0; i < converted.size(); ++i) {
        lines += converted[i];
        if (converted[i] == '\r' && (i + 1 == converted.size() || converted[i + 1] != '\n'))
            lines += '\n';
    }
    text = std::move(lines);
    return Status::Ok();
}

Status readFltsimEntries(const ProfileDocument& document, const ExtraFieldSpec& extraFields,
                         std::vector<FltsimEntry>& entries, std::vector<ProfileSection>& others) {
    std::vector<FltsimEntry> titled;
    std::vector<ProfileSection> kept;
    std::set<std::size_t> seen;
    for (ProfileSection& section : document.sections()) {
        const std::optional<std::size_t> n = fltsimNumber(section.name);
        if (!n)
            continue;
        // A reader finds the first section of a name only; a later one is text it never reads.
        if (!seen.insert(*n).second || document.readString(section.name, "title").empty()) {
            kept.push_back(std::move(section));
            continue;
        }
        if (titled.size() == kFltsimSlots)
            return Status::Refused("The aircraft.cfg holds more than " + std::to_string(kFltsimSlots) +
                                   " liveries; no more can be added.");
        titled.push_back(readEntry(document, section, *n, extraFields));
    }
    // Entries the reader cannot see (another encoding, another line end) would all be lost to a rewrite.
    std::string text = document.bytes();
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    if (titled.empty() && kept.empty() && toUpper(text).find("[FLTSIM") != std::string::npos)
        return Status::Refused("Save aircraft.cfg as ANSI or UTF-16 text: no livery can be read from it.",
                               "It holds [fltsim sections, but in a form the program cannot read.");
    std::sort(titled.begin(), titled.end(),
              [](const FltsimEntry& a, const FltsimEntry& b) { return a.number < b.number; });
    entries = std::move(titled);
    others = std::move(kept);
    return Status::Ok();
}

Status checkRoomForLivery(std::size_t carried) {
    if (carried < kFltsimSlots)
        return Status::Ok();
    return Status::Refused("The aircraft.cfg holds " + std::to_string(carried) +
                               " liveries, the most it can hold (" + std::to_string(kFltsimSlots) +
                               "): no more can be added.",
                           "A livery of an installed title can still be built again.");
}

std::vector<std::size_t> fltsimNumbers(const std::vector<FltsimEntry>& entries,
                                       const std::vector<ProfileSection>& others) {
    std::set<std::size_t> taken;
    for (const ProfileSection& section : others)
        taken.insert(*fltsimNumber(section.name));
    std::vector<std::size_t> numbers;
    std::size_t next = 0;
    auto nextFree = [&] {
        while (taken.count(next) != 0)
            ++next;
        return next++;
    };
    numbers.reserve(entries.size() + 1);
    for (const FltsimEntry& e : entries)
        numbers.push_back(taken.count(e.number) != 0 ? e.number : nextFree());
    numbers.push_back(nextFree());
    return numbers;
}

Status ComposeAircraftCfg(const ExtraFieldSpec& extraFields, Frontend& frontend, const BuildPlan& plan,
                          std::string& bytes, FileOperations& files) {
    frontend.setStatusText("Writing Aircraft Configuration File");
    std::error_code ec;
    const bool haveInstalled = fs::exists(plan.installedCfg, ec);
    std::string installedBytes;
    if (haveInstalled) {
        if (Status s = files.readFile(plan.installedCfg, installedBytes); !s)
            return s;
    }
    // The file is composed from the entries the plan read: any other file would lose the liveries
    // saved into it since.
    if ((haveInstalled ? stampOf(plan.installedCfg, installedBytes) : FileStamp()) != plan.installedStamp)
        return changedSincePlan(plan);
    std::string installedText;
    if (Status s = installedCfgText(plan.installedCfg, installedBytes, installedText); !s)
        return s;

    frontend.setProgress(8);
    const WeightAndBalance weightAndBalance = readWeightAndBalance(ProfileDocument(std::move(installedText)));

    frontend.setProgress(9);
    // The livery of the same title gave way before the build's first step.
    frontend.setProgress(10);
    frontend.setProgress(11);
    ProfileDocument doc(plan.dataBytes);

    // A painter's own lines in the entries (long values, quotation marks, comments, spacing)
    // are theirs: each section goes in whole, in place of the clean copy's of that name. A
    // second section of one name goes after the first, where no reader looks, as it stood.
    frontend.setProgress(12);
    std::set<std::size_t> placed;
    const std::vector<FltsimEntry>& entries = plan.entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        frontend.setProgress(12.0 + static_cast<double>(i + 1) * 6.0 / static_cast<double>(entries.size()));
        const std::size_t n = plan.numbers[i];
        doc.putSection(sectionOf(n), renumbered(entries[i].section, entries[i].number, n),
                       placed.insert(n).second);
    }
    for (const ProfileSection& section : plan.others)
        doc.putSection(section.name, section.text, placed.insert(*fltsimNumber(section.name)).second);

    frontend.setProgress(18);
    if (plan.writesEntry)
        writeNewEntry(doc, plan.entryNumber, plan.entry, extraFields, plan.entryHasModelAndTexture);

    frontend.setProgress(19);
    for (const auto& [key, value] : weightAndBalance)
        doc.write(kWeightAndBalance, key, value);
    bytes = doc.bytes();
    frontend.setProgress(20);
    return Status::Ok();
}

Status CommitAircraftCfg(const BuildPlan& plan, std::string_view bytes, FileOperations& files) {
    auto unchanged = [&plan] {
        const Status s = checkInstalledCfgUnchanged(plan);
        return s ? s : Status::Error(s.message(), s.detail());
    };
    if (Status s = unchanged(); !s)
        return s;
    // The backups are made only now: a build that stops before this keeps Aircraft.bak as the file
    // of the change before, which restoring would otherwise find to be the file in place. The file
    // as it was before the program first changed it stays beside it for good.
    std::error_code ec;
    if (fs::exists(plan.installedCfg, ec)) {
        if (!fs::exists(plan.originalCfg, ec)) {
            if (Status s = files.backUpFile(plan.installedCfg, plan.originalCfg); !s)
                return s;
        }
        if (Status s = files.backUpFile(plan.installedCfg, plan.backupCfg); !s)
            return s;
    }
    // A save while the backups were written would be lost under the new file.
    if (Status s = unchanged(); !s)
        return s;
    return files.replaceFile(plan.installedCfg, bytes);
}

Status WriteAircraftCfg(const ExtraFieldSpec& extraFields, Frontend& frontend, const BuildPlan& plan,
                        FileOperations& files) {
    std::string bytes;
    if (Status s = ComposeAircraftCfg(extraFields, frontend, plan, bytes, files); !s)
        return s;
    return CommitAircraftCfg(plan, bytes, files);
}

} // namespace livrano
