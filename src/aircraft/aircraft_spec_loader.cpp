// SPDX-License-Identifier: MIT
#include "aircraft/aircraft_spec_loader.h"

#include <algorithm>
#include <limits>
#include <new>
#include <optional>
#include <string>
#include <tuple>

#include "aircraft/configuration_file.h"
#include "app/frontend.h"
#include "app/repaint_settings.h"
#include "app/state_flags.h"
#include "app/text.h"

namespace livrano {

namespace {

constexpr const char* kEntireTemplate = "*Entire Template*";

// Reads values by the rules every field shares, noting what is not kept as written.
class FieldReader {
public:
    FieldReader(const ProfileDocument& profile, std::vector<SpecValueNote>* notes)
        : m_profile(profile), m_notes(notes) {}

    std::string text(const std::string& section, const std::string& key, std::size_t capacity) const {
        return keep(section, key, m_profile.readString(section, key), capacity);
    }
    std::string longText(const std::string& section, const std::string& key, std::size_t capacity) const {
        return keep(section, key, m_profile.readLongString(section, key), capacity);
    }
    // A text without a capacity of its own: what the profile read gives.
    std::string text(const std::string& section, const std::string& key) const {
        return trim(m_profile.readString(section, key));
    }

    // A 16-bit field takes the value only when it fits; otherwise it keeps what it held.
    void int16(const std::string& section, const std::string& key, std::int16_t& field) const {
        int16(section, key, m_profile.readInt(section, key), field);
    }
    void int16(const std::string& section, const std::string& key, std::int32_t value,
               std::int16_t& field) const {
        if (value >= std::numeric_limits<std::int16_t>::min() &&
            value <= std::numeric_limits<std::int16_t>::max()) {
            field = static_cast<std::int16_t>(value);
            return;
        }
        note({SpecValueNote::Kind::OutOfRange, section, key, std::to_string(value), 0});
    }
    std::int32_t int32(const std::string& section, const std::string& key) const {
        return m_profile.readInt(section, key);
    }
    const ProfileDocument& profile() const { return m_profile; }

private:
    std::string keep(const std::string& section, const std::string& key, const std::string& read,
                     std::size_t capacity) const {
        std::string value = trim(read);
        if (value.size() <= capacity)
            return value;
        note({SpecValueNote::Kind::Cut, section, key, value, capacity});
        return trim(cutTo(value, capacity));
    }
    void note(SpecValueNote n) const {
        if (m_notes != nullptr)
            m_notes->push_back(std::move(n));
    }

    const ProfileDocument& m_profile;
    std::vector<SpecValueNote>* m_notes;
};

std::size_t listSize(std::int16_t count) {
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

// The aircraft block up to the default tail number, which a load shows before reading on.
void readAircraftBlock(const FieldReader& in, AircraftSpec& spec) {
    spec.AircraftDisplayName = in.text("Main", "AircraftDisplayName", kSpecTextCapacity);
    spec.DataPath = in.text("Main", "DataPath", kDataPathCapacity);
    spec.AircraftDirectory = in.text("Main", "AircraftDirectory", kSpecTextCapacity);
    spec.Manufacturer = in.text("Main", "Manufacturer", kSpecTextCapacity);
    spec.AircraftType = in.text("Main", "AircraftType", kSpecTextCapacity);
    spec.AircraftTail = in.text("Main", "AircraftTail", kSpecTextCapacity);
}

const char* const kSectionFields[] = {"TemplateLeft", "TemplateTop", "TemplateRight", "TemplateBottom",
                                      "DestLeft",     "DestTop",     "DestRight",     "DestBottom"};

std::int16_t& sectionField(TextureSection& s, std::size_t field) {
    std::int16_t* const fields[] = {&s.TemplateLeft, &s.TemplateTop, &s.TemplateRight, &s.TemplateBottom,
                                    &s.DestLeft,     &s.DestTop,     &s.DestRight,     &s.DestBottom};
    return *fields[field];
}

// A key "Section.NN.Field" as the reading spells NN (twoDigits) for a section below `count`:
// its section number and field index.
struct SectionKey {
    int number;
    std::size_t field;
};
std::optional<SectionKey> sectionKey(std::string_view key, std::size_t count) {
    constexpr std::string_view kPrefix = "Section.";
    if (key.size() <= kPrefix.size() || !equalsNoCase(key.substr(0, kPrefix.size()), kPrefix))
        return std::nullopt;
    key.remove_prefix(kPrefix.size());
    const std::size_t dot = key.find('.');
    if (dot == std::string_view::npos || dot < 2 || dot > 5)
        return std::nullopt;
    int number = 0;
    for (char c : key.substr(0, dot)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number * 10 + (c - '0');
    }
    if (static_cast<std::size_t>(number) >= count || twoDigits(number) != key.substr(0, dot))
        return std::nullopt;
    for (std::size_t f = 0; f < std::size(kSectionFields); ++f) {
        if (equalsNoCase(key.substr(dot + 1), kSectionFields[f]))
            return SectionKey{number, f};
    }
    return std::nullopt;
}

// The sections the texture's section of the configuration holds, found from its keys rather
// than by asking for every number up to the count: the time follows the file, not the count.
std::vector<TextureSection> readSections(const FieldReader& in, const std::string& section,
                                         std::size_t count) {
    struct Value {
        SectionKey key;
        std::int32_t value;
    };
    std::vector<Value> values;
    in.profile().forEachKey(section, [&](std::string_view key, std::string_view value) {
        if (const std::optional<SectionKey> k = sectionKey(key, count))
            values.push_back({*k, ProfileDocument::intValue(value)});
    });
    // In the order the fields were always read, so that notes come in that order too.
    std::sort(values.begin(), values.end(), [](const Value& a, const Value& b) {
        return std::tie(a.key.number, a.key.field) < std::tie(b.key.number, b.key.field);
    });
    std::vector<TextureSection> sections;
    for (const Value& v : values) {
        if (sections.empty() || sections.back().Number != v.key.number) {
            sections.emplace_back();
            sections.back().Number = static_cast<std::int16_t>(v.key.number);
        }
        const std::string key = "Section." + twoDigits(v.key.number) + "." + kSectionFields[v.key.field];
        in.int16(section, key, v.value, sectionField(sections.back(), v.key.field));
    }
    return sections;
}

void readTexture(const FieldReader& in, const std::string& section, bool dxt3, TextureSpec& texture) {
    texture.BaseTextureName = in.text(section, "BaseTextureName", kSpecTextCapacity);
    texture.ReplaceMask = in.text(section, "ReplaceMask", kSpecTextCapacity);
    texture.ViewName = in.text(section, "ViewName", kSpecTextCapacity);
    in.int16(section, "TextureSizeX", texture.TextureSizeX);
    in.int16(section, "TextureSizeY", texture.TextureSizeY);
    texture.TextureFormat = dxt3 ? kFormatDxt3 : kFormat32Alpha;
    in.int16(section, "DdsFile", texture.DdsFile);

    in.int16(section, "NumSectionsOnTexture", texture.NumSectionsOnTexture);
    texture.Sections = readSections(in, section, listSize(texture.NumSectionsOnTexture));

    in.int16(section, "NumMdlOffsets", texture.NumMdlOffsets);
    texture.MdlOffsets.clear();
    for (std::size_t k = 0; k < listSize(texture.NumMdlOffsets); ++k) {
        const std::string key = "Offset." + twoDigits(static_cast<int>(k));
        const bool present = in.profile().find(section, key, kIniStringChars).has_value();
        texture.MdlOffsets.push_back(present ? in.int32(section, key) : 0);
        if (!present)
            break;
    }
}

// Everything after the default tail number, in the order the configuration is read.
void readRest(const FieldReader& in, bool dxt3, AircraftSpec& spec, ExtraTextureSpec& extraTextures,
              ExtraFieldSpec& extraFields) {
    spec.AircraftFlight = in.text("Main", "AircraftFlight", kSpecTextCapacity);
    spec.AircraftTitlePrefix = in.text("Main", "AircraftTitlePrefix", kSpecTextCapacity);
    spec.CheckListFile = in.text("Main", "CheckListFile", kSpecTextCapacity);
    spec.ReferenceFile = in.text("Main", "ReferenceFile", kSpecTextCapacity);
    spec.Description = in.longText("Main", "Description", kDescriptionCapacity);
    in.int16("Main", "AssignAirline", spec.AssignAirline);
    in.int16("Main", "NumIdentifierCharacters", spec.NumIdentifierCharacters);
    in.int16("Main", "NumTextures", spec.NumTextures);
    in.int16("Main", "TemplateSizeX", spec.TemplateSizeX);
    in.int16("Main", "TemplateSizeY", spec.TemplateSizeY);
    in.int16("Main", "UseAlpha", spec.UseAlpha);
    in.int16("Main", "DefaultHeavy", spec.DefaultHeavy);
    in.int16("Main", "ShowDamage", spec.ShowDamage);
    in.int16("Main", "TextureAssignOnly", spec.TextureAssignOnly);
    spec.ModelFolder = in.text("Main", "ModelFolder", kSpecTextCapacity);

    in.int16("ExtraFields", "CopyExtraFields", extraFields.CopyExtraFields);
    in.int16("ExtraFields", "NumFields", extraFields.NumFields);
    if (extraFields.CopyExtraFields == 1 && extraFields.NumFields >= 1) {
        const std::size_t count = listSize(extraFields.NumFields);
        extraFields.ExtraFieldNames.assign(count, std::string());
        extraFields.ExtraFieldDefaults.assign(count, std::string());
        for (std::size_t i = 0; i < count; ++i) {
            const std::string nn = twoDigits(static_cast<int>(i));
            extraFields.ExtraFieldNames[i] = in.text("ExtraFields", "ExtraField." + nn);
            extraFields.ExtraFieldDefaults[i] = in.text("ExtraFields", "ExtraFieldDefault." + nn);
        }
    }

    in.int16("ExtraTextures", "CopyExtraTextures", extraTextures.CopyExtraTextures);
    extraTextures.BaseTextureFolder = in.text("ExtraTextures", "BaseTextureFolder");
    in.int16("ExtraTextures", "NumTextures", extraTextures.NumExtraTextures);
    if (extraTextures.CopyExtraTextures == 1 && extraTextures.NumExtraTextures >= 1) {
        extraTextures.ExtraTextureNames.assign(listSize(extraTextures.NumExtraTextures), std::string());
        for (std::size_t i = 0; i < extraTextures.ExtraTextureNames.size(); ++i)
            extraTextures.ExtraTextureNames[i] =
                in.text("ExtraTextures", "ExtraTexture." + twoDigits(static_cast<int>(i)));
    }

    spec.BaseModelName = in.text("Model", "BaseModelName", kSpecTextCapacity);
    spec.ReplaceMask = in.text("Model", "ReplaceMask", kSpecTextCapacity);
    spec.BaseAirName = in.text("Air", "BaseAirName", kSpecTextCapacity);
    spec.ReplaceAirMask = in.text("Air", "ReplaceAirMask", kSpecTextCapacity);
    in.int16("Air", "CopyRenameAirFile", spec.CopyRenameAirFile);

    spec.Textures.assign(listSize(spec.NumTextures), TextureSpec{});
    for (std::size_t i = 0; i < spec.Textures.size(); ++i)
        readTexture(in, "Texture." + twoDigits(static_cast<int>(i)), dxt3, spec.Textures[i]);
}

} // namespace

Status readAircraftSpec(const ProfileDocument& profile, bool dxt3, AircraftSpec& spec,
                        ExtraTextureSpec& extraTextures, ExtraFieldSpec& extraFields,
                        std::vector<SpecValueNote>* notes) {
    const FieldReader in(profile, notes);
    spec = AircraftSpec{};
    try {
        readAircraftBlock(in, spec);
        readRest(in, dxt3, spec, extraTextures, extraFields);
        return Status::Ok();
    } catch (const std::bad_alloc&) {
        spec = AircraftSpec{};
        return Status::Error("The configuration is too large to be read in the memory left.");
    }
}

void LoadAircraftSpec(const std::filesystem::path& configFile, bool dxt3, AircraftSpec& spec,
                      ExtraTextureSpec& extraTextures, ExtraFieldSpec& extraFields, RepaintSettings& settings,
                      StateFlags& flags, Frontend& frontend) {
    flags.SpecLoading = true;
    spec = AircraftSpec{};
    settings = RepaintSettings{};
    frontend.showEmptyChoices();

    // A configuration too large for memory loads as an empty one, as an unreadable file does.
    try {
        const ProfileDocument profile(decipherConfiguration(configFile).value_or(std::string()));
        const FieldReader in(profile, nullptr);
        readAircraftBlock(in, spec);
        settings.PendingTailNumber = spec.AircraftTail;
        settings.TailNumber = spec.AircraftTail;
        frontend.showTailNumber(settings.TailNumber);
        readRest(in, dxt3, spec, extraTextures, extraFields);
    } catch (const std::bad_alloc&) {
        spec = AircraftSpec{};
    }

    FillTextureList(spec, frontend);
    flags.SpecLoading = false;
}

Status loadCatalogueAircraft(const AircraftCatalogue& catalogue, int index, bool dxt3, AircraftSpec& spec,
                             ExtraTextureSpec& extraTextures, ExtraFieldSpec& extraFields,
                             RepaintSettings& settings, StateFlags& flags, Frontend& frontend) {
    const AircraftConfigEntry* entry = catalogueEntry(catalogue, index);
    if (entry == nullptr)
        return Status::Error("the aircraft index " + std::to_string(index) +
                             " names no aircraft configuration.");
    const AircraftConfigEntry chosen = *entry;
    LoadAircraftSpec(chosen.ConfigFile, dxt3, spec, extraTextures, extraFields, settings, flags, frontend);
    settings.AircraftIndex = index;
    settings.AircraftName = chosen.DisplayName;
    settings.PendingAircraftName = chosen.DisplayName;
    return Status::Ok();
}

std::vector<std::string> textureListLines(const AircraftSpec& spec) {
    std::vector<std::string> lines;
    lines.reserve(spec.Textures.size() + 1);
    lines.emplace_back(kEntireTemplate);
    for (const TextureSpec& texture : spec.Textures)
        lines.push_back(texture.ViewName);
    return lines;
}

void FillTextureList(const AircraftSpec& spec, Frontend& frontend) {
    frontend.setTextureList(textureListLines(spec));
}

} // namespace livrano
