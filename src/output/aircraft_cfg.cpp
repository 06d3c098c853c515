#include "output/aircraft_cfg.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <set>
#include <string>
#include <system_error>

#include "aircraft/extra_field_names.h"
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

// The numbers N of every section header "[fltsim.N]" (N in decimal without leading zeros, the
// only spelling a reader of "fltsim." + N finds), ascending and each once.
std::set<std::size_t> fltsimNumbers(const std::string& bytes) {
    std::set<std::size_t> numbers;
    // A byte order mark some editors write would hide the first header.
    std::size_t start = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string_view line(bytes.data() + start, end - start);
        start = end + 1;
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (line.empty() || line.front() != '[')
            continue;
        const std::size_t close = line.rfind(']');
        if (close == std::string_view::npos)
            continue;
        const std::string name = trim(line.substr(1, close - 1));
        if (name.size() <= 7 || !equalsNoCase(name.substr(0, 7), "fltsim."))
            continue;
        const std::string digits = name.substr(7);
        if (digits.size() > 9 || (digits.size() > 1 && digits[0] == '0') ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        std::size_t n = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), n);
        numbers.insert(n);
    }
    return numbers;
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

FltsimEntry readEntry(const ProfileDocument& doc, const std::string& section, const ExtraFieldSpec& extra) {
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
    for (std::pair<std::string, std::string>& key : doc.keys(section)) {
        const bool known =
            isEntryKey(key.first) ||
            std::any_of(extra.ExtraFieldNames.begin(),
                        extra.ExtraFieldNames.begin() + static_cast<std::ptrdiff_t>(extraFieldCount(extra)),
                        [&](const std::string& name) { return equalsNoCase(trim(name), key.first); });
        if (!known)
            e.otherKeys.push_back(std::move(key));
    }
    return e;
}

// Collects the entries for the composed file. An entry whose section the clean copy already
// has is written key by key into it; every other entry is appended as a new section whose last
// line is followed by a blank line, as the simulator's own files separate their entries.
class EntryComposer {
public:
    explicit EntryComposer(ProfileDocument& doc)
        : m_doc(doc), m_existing(fltsimNumbers(doc.bytes())), m_lineEnd(lineEndOf(doc.bytes())) {}

    void begin(std::size_t index) {
        m_index = index;
        m_keys.clear();
    }
    void add(std::string key, std::string value) { m_keys.emplace_back(std::move(key), std::move(value)); }
    void end() {
        const std::string section = sectionOf(m_index);
        if (m_existing.count(m_index) != 0) {
            for (const auto& [key, value] : m_keys)
                m_doc.write(section, key, value);
            return;
        }
        m_appended += "[" + section + "]" + m_lineEnd;
        for (const auto& [key, value] : m_keys)
            m_appended += key + "=" + oneLine(value) + m_lineEnd;
        m_appended += m_lineEnd;
    }
    // The clean copy with the appended entries.
    ProfileDocument finish() const {
        std::string bytes = m_doc.bytes();
        if (!m_appended.empty() && !bytes.empty() && bytes.back() != '\n')
            bytes += m_lineEnd;
        return ProfileDocument(bytes + m_appended);
    }

private:
    static std::string lineEndOf(const std::string& bytes) {
        const std::size_t newline = bytes.find('\n');
        return newline != std::string::npos && (newline == 0 || bytes[newline - 1] != '\r') ? "\n" : "\r\n";
    }
    static std::string oneLine(std::string value) {
        std::replace(value.begin(), value.end(), '\r', ' ');
        std::replace(value.begin(), value.end(), '\n', ' ');
        return value;
    }

    ProfileDocument& m_doc;
    std::set<std::size_t> m_existing;
    std::string m_lineEnd;
    std::size_t m_index = 0;
    std::vector<std::pair<std::string, std::string>> m_keys;
    std::string m_appended;
};

// Writes every key of the entry; `modelAndTexture` false leaves those two keys out.
void writeEntry(EntryComposer& w, std::size_t index, const FltsimEntry& e, const ExtraFieldSpec& extra,
                bool modelAndTexture = true) {
    w.begin(index);
    w.add("title", e.title);
    w.add("sim", e.sim);
    if (modelAndTexture)
        w.add("model", e.model);
    w.add("panel", e.panel);
    w.add("sound", e.sound);
    if (modelAndTexture)
        w.add("texture", e.texture);
    w.add("kb_checklists", e.kb_checklists);
    w.add("kb_reference", e.kb_reference);
    w.add("atc_id", e.atc_id);
    w.add("atc_airline", e.atc_airline);
    w.add("atc_flight_number", e.atc_flight_number);
    w.add("atc_heavy", std::to_string(e.atc_heavy));
    w.add("ui_manufacturer", e.ui_manufacturer);
    w.add("ui_type", e.ui_type);
    w.add("ui_variation", e.ui_variation);
    w.add("visual_damage", std::to_string(e.visual_damage));
    w.add("description", e.description);
    const std::size_t count = std::min(extraFieldCount(extra), e.extraValues.size());
    for (std::size_t k = 0; k < count; ++k)
        w.add(trim(extra.ExtraFieldNames[k]), e.extraValues[k]);
    for (const auto& [key, value] : e.otherKeys)
        w.add(key, value);
    w.end();
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

} // namespace

std::string newEntryTitle(const Application& app) {
    return foldControls(trim(app.spec.AircraftTitlePrefix) + " " + trim(app.settings.Variation));
}

FltsimEntry newFltsimEntry(const Application& app, const ProfileDocument& dataCopy, const std::string& sim) {
    const AircraftSpec& spec = app.spec;
    const RepaintSettings& settings = app.settings;
    const std::string callsign = trim(settings.Callsign);
    const std::string dataModel = dataCopy.readString("livrano", "model");
    FltsimEntry e;
    e.title = newEntryTitle(app);
    e.sim = foldControls(sim);
    if (spec.TextureAssignOnly == 0)
        e.model = variationId(app);
    else if (spec.TextureAssignOnly == 1)
        e.model = !dataModel.empty() ? dataModel : toUpper(trim(spec.ModelFolder));
    e.panel = dataCopy.readString("livrano", "panel");
    if (spec.TextureAssignOnly == 1)
        e.texture = folderExtension(app);
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
    for (std::size_t k = 0; k < extraFieldCount(app.extraFields); ++k)
        e.extraValues.push_back(trim(app.extraFields.ExtraFieldDefaults[k]));
    for (std::string* value :
         {&e.model, &e.panel, &e.texture, &e.kb_checklists, &e.kb_reference, &e.atc_id, &e.atc_airline,
          &e.atc_flight_number, &e.ui_manufacturer, &e.ui_type, &e.ui_variation, &e.description})
        *value = foldControls(*value);
    for (std::string& value : e.extraValues)
        value = foldControls(value);
    return e;
}

Status readFltsimEntries(const ProfileDocument& document, const ExtraFieldSpec& extraFields,
                         std::vector<FltsimEntry>& entries) {
    std::vector<FltsimEntry> read;
    for (std::size_t n : fltsimNumbers(document.bytes())) {
        const std::string section = sectionOf(n);
        if (document.readString(section, "title").empty())
            continue;
        if (read.size() == kFltsimSlots)
            return Status::Refused("The aircraft.cfg holds more than " + std::to_string(kFltsimSlots) +
                                   " liveries; no more can be added.");
        read.push_back(readEntry(document, section, extraFields));
    }
    entries = std::move(read);
    return Status::Ok();
}

Status WriteAircraftCfg(Application& app, const BuildPlan& plan, FileOperations& files) {
    app.frontend.setStatusText("Writing Aircraft Configuration File");
    std::error_code ec;
    const bool haveInstalled = fs::exists(plan.installedCfg, ec);
    std::string installedBytes;
    if (haveInstalled) {
        if (Status s = files.readFile(plan.installedCfg, installedBytes); !s)
            return s;
    }

    app.frontend.setProgress(8);
    const WeightAndBalance weightAndBalance =
        readWeightAndBalance(ProfileDocument(std::move(installedBytes)));

    app.frontend.setProgress(9);
    if (haveInstalled) {
        // The file as it was before the program first changed it stays beside it for good:
        // Aircraft.bak only ever holds the file of the build before.
        if (!fs::exists(plan.originalCfg, ec)) {
            if (Status s = files.copyFile(plan.installedCfg, plan.originalCfg); !s)
                return s;
        }
        if (Status s = files.copyFile(plan.installedCfg, plan.backupCfg); !s)
            return s;
    }

    // The livery of the same title gave way before the build's first step.
    app.frontend.setProgress(10);
    app.frontend.setProgress(11);
    ProfileDocument clean(plan.dataBytes);
    EntryComposer composer(clean);

    app.frontend.setProgress(12);
    const std::vector<FltsimEntry>& entries = plan.entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        app.frontend.setProgress(12.0 +
                                 static_cast<double>(i + 1) * 6.0 / static_cast<double>(entries.size()));
        writeEntry(composer, i, entries[i], app.extraFields);
    }

    app.frontend.setProgress(18);
    writeEntry(composer, entries.size(), plan.entry, app.extraFields, plan.entryHasModelAndTexture);
    ProfileDocument doc = composer.finish();

    app.frontend.setProgress(19);
    for (const auto& [key, value] : weightAndBalance)
        doc.write(kWeightAndBalance, key, value);
    if (Status s = files.replaceFile(plan.installedCfg, doc.bytes()); !s)
        return s;

    app.frontend.setProgress(20);
    return Status::Ok();
}

} // namespace livrano
