// SPDX-License-Identifier: MIT
#include "aircraft/aircraft_spec_checks.h"

#include <algorithm>
#include <optional>
#include <set>
#include <unordered_set>
#include <utility>

#include "aircraft/extra_field_names.h"
#include "aircraft/masked_name.h"
#include "aircraft/texture_file_names.h"
#include "app/code_page.h"
#include "app/file_names.h"
#include "app/text.h"

namespace livrano {

namespace {

const char* const kSectionFields[] = {"TemplateLeft", "TemplateTop", "TemplateRight", "TemplateBottom",
                                      "DestLeft",     "DestTop",     "DestRight",     "DestBottom"};

std::string rect(int left, int top, int right, int bottom) {
    return "(" + std::to_string(left) + "," + std::to_string(top) + ")-(" + std::to_string(right) + "," +
           std::to_string(bottom) + ")";
}

class Checker {
public:
    Checker(const ProfileDocument& profile, const AircraftSpec& spec, const std::vector<SpecValueNote>& notes)
        : m_profile(profile), m_spec(spec) {
        for (const SpecValueNote& n : notes)
            m_noted.insert({toLower(n.section), toLower(n.key)});
    }

    std::vector<SpecProblem> take() { return std::move(m_problems); }

    void add(std::string section, std::string key, std::string message) {
        m_problems.push_back({std::move(section), std::move(key), std::move(message)});
    }

    bool has(const std::string& section, const std::string& key) const {
        return m_profile.find(section, key, kIniStringChars).has_value();
    }
    bool hasSection(const std::string& section) const { return m_profile.hasSection(section); }
    bool hasAnySectionField(const std::string& section, const std::string& name) const {
        return std::any_of(std::begin(kSectionFields), std::end(kSectionFields),
                           [&](const char* field) { return has(section, name + "." + field); });
    }

    // An entry just past a list's count usually means the count was not raised with the list:
    // nothing reads the entry, so the build silently goes without it.
    void unreadPastCount(const std::string& section, const std::string& key, const std::string& what,
                         const std::string& countKey, int count) {
        add(section, key,
            what + " is given, but " + countKey + " = " + std::to_string(count) + " leaves it unread.");
    }
    bool noted(const std::string& section, const std::string& key) const {
        return m_noted.count({toLower(section), toLower(key)}) != 0;
    }

    void safeName(const std::string& section, const std::string& key, const std::string& what,
                  const std::string& name) {
        if (Status s = checkSafeFileName(what, name); !s.ok())
            add(section, key, s.detail().empty() ? s.message() : s.detail()); // the detail says it whole
    }

    // A name the build derives from a base name and a mask must be derivable.
    void maskedName(const std::string& section, const std::string& baseKey, const std::string& base,
                    const std::string& maskKey, const std::string& mask) {
        const int n = m_spec.NumIdentifierCharacters;
        if (mask.find('*') == std::string::npos) {
            add(section, maskKey,
                "The mask \"" + utf8FromWindows1252(mask) + "\" has no '*', so the new name of \"" +
                    utf8FromWindows1252(base) + "\" cannot be formed.");
            return;
        }
        // Without identifier characters there is no length to check; checkMain reports that.
        if (n > 0 && !MaskedName(base, mask, n, std::string(static_cast<std::size_t>(n), 'X'))) {
            const std::size_t position = mask.find('*') + 1;
            add(section, baseKey,
                "\"" + utf8FromWindows1252(base) + "\" (" + std::to_string(base.size()) +
                    " characters) is too short for the mask \"" + utf8FromWindows1252(mask) +
                    "\": the identifier starts at character " + std::to_string(position) + " and needs " +
                    std::to_string(n) + " characters (NumIdentifierCharacters).");
        }
    }

    void textureSize(const std::string& section, const std::string& key, int size) {
        if (noted(section, key))
            return; // already reported as dropped
        if (size <= 0)
            add(section, key, key + " is " + std::to_string(size) + ": a texture needs a positive size.");
        else if (size % 4 != 0)
            add(section, key,
                key + " " + std::to_string(size) + " is not a multiple of 4, which DXT3 blocks need.");
    }

    // A rectangle must lie within 0..width x 0..height; a zero width or height means no area. Right
    // and bottom are exclusive, but a reversed side is copied mirrored as the platform draws it,
    // from the left (top) pixel back to one past the right (bottom): (1024,0)-(0,512) covers
    // columns 1..1024. A non-positive bound is reported elsewhere.
    void rectangle(const std::string& section, const std::string& key, const char* what, int l, int t, int r,
                   int b, int width, int height, const char* boundName) {
        const std::string shown = rect(l, t, r, b);
        if (l == r || t == b) {
            add(section, key, std::string("The ") + what + " rectangle " + shown + " has no area.");
            return;
        }
        if (width <= 0 || height <= 0)
            return;
        auto outside = [](int from, int to, int size) {
            return from < to ? from < 0 || to > size : to + 1 < 0 || from + 1 > size;
        };
        if (outside(l, r, width) || outside(t, b, height))
            add(section, key,
                std::string("The ") + what + " rectangle " + shown + " reaches outside the " + boundName +
                    " (" + std::to_string(width) + "x" + std::to_string(height) + ").");
    }

private:
    const ProfileDocument& m_profile;
    const AircraftSpec& m_spec;
    std::set<std::pair<std::string, std::string>> m_noted;
    std::vector<SpecProblem> m_problems;
};

void checkNotes(Checker& c, const std::vector<SpecValueNote>& notes) {
    for (const SpecValueNote& n : notes) {
        if (n.kind == SpecValueNote::Kind::OutOfRange)
            c.add(n.section, n.key,
                  n.key + " = " + utf8FromWindows1252(n.value) +
                      " lies outside -32768..32767, so the program ignores it.");
        else
            c.add(n.section, n.key,
                  n.key + " is longer than " + std::to_string(n.capacity) + " characters; only \"" +
                      utf8FromWindows1252(cutTo(n.value, n.capacity)) + "\" is used.");
    }
}

void checkMain(Checker& c, const AircraftSpec& spec) {
    if (spec.AircraftDisplayName.empty())
        c.add("Main", "AircraftDisplayName",
              "The display name is missing: the aircraft list would show an empty line.");
    c.safeName("Main", "DataPath", "data path", spec.DataPath);
    c.safeName("Main", "AircraftDirectory", "aircraft folder", spec.AircraftDirectory);
    if (spec.TextureAssignOnly != 0 && spec.TextureAssignOnly != 1)
        c.add("Main", "TextureAssignOnly",
              "TextureAssignOnly is " + std::to_string(spec.TextureAssignOnly) + "; it must be 0 or 1.");
    if (spec.NumTextures <= 0 && !c.noted("Main", "NumTextures"))
        c.add("Main", "NumTextures",
              "NumTextures is " + std::to_string(spec.NumTextures) + ": no texture is built.");
    // With no identifier character a derived name is the base name itself: the variation's
    // copies would replace the aircraft's own model, textures or flight model.
    const bool namesDerived = spec.TextureAssignOnly == 0 || spec.CopyRenameAirFile == 1;
    if (namesDerived && spec.NumIdentifierCharacters <= 0 && !c.noted("Main", "NumIdentifierCharacters"))
        c.add(
            "Main", "NumIdentifierCharacters",
            "NumIdentifierCharacters is " + std::to_string(spec.NumIdentifierCharacters) +
                ": the new file names need at least one identifier character, or they are the aircraft's own names.");
    const std::pair<const char*, int> templateSizes[] = {{"TemplateSizeX", spec.TemplateSizeX},
                                                         {"TemplateSizeY", spec.TemplateSizeY}};
    for (const auto& [key, size] : templateSizes) {
        if (size <= 0 && !c.noted("Main", key))
            c.add("Main", key,
                  std::string(key) + " is " + std::to_string(size) + ": the template needs a positive size.");
    }
}

void checkModelAndAir(Checker& c, const AircraftSpec& spec) {
    // The model is copied and renamed only for aircraft whose textures share one folder; the
    // flight model only when asked. Names that are not used are checked only when given.
    const bool modelUsed = spec.TextureAssignOnly == 0;
    if (modelUsed || !spec.BaseModelName.empty())
        c.safeName("Model", "BaseModelName", "model base name", spec.BaseModelName);
    if (modelUsed)
        c.maskedName("Model", "BaseModelName", spec.BaseModelName, "ReplaceMask", spec.ReplaceMask);

    const bool airUsed = spec.CopyRenameAirFile == 1;
    if (airUsed || !spec.BaseAirName.empty())
        c.safeName("Air", "BaseAirName", "flight model base name", spec.BaseAirName);
    if (airUsed)
        c.maskedName("Air", "BaseAirName", spec.BaseAirName, "ReplaceAirMask", spec.ReplaceAirMask);
}

// Numbers first..last (inclusive) that a count promises but the configuration does not hold, as
// one problem for the run: a count of 32767 over a handful of entries is one fault, not thousands.
std::string missingRun(const std::string& what, int first, int last) {
    return first == last ? what + twoDigits(first)
                         : what + twoDigits(first) + " to " + what + twoDigits(last);
}

void checkSection(Checker& c, const AircraftSpec& spec, const TextureSpec& texture,
                  const std::string& section, const TextureSection& s) {
    const std::string name = "Section." + twoDigits(s.Number);
    std::string missing;
    for (const char* field : kSectionFields) {
        if (!c.has(section, name + "." + field))
            missing += (missing.empty() ? "" : ", ") + name + "." + field;
    }
    if (!missing.empty())
        c.add(section, name, "Missing " + missing + " (read as 0).");
    c.rectangle(section, name, "template", s.TemplateLeft, s.TemplateTop, s.TemplateRight, s.TemplateBottom,
                spec.TemplateSizeX, spec.TemplateSizeY, "template");
    c.rectangle(section, name, "texture", s.DestLeft, s.DestTop, s.DestRight, s.DestBottom,
                texture.TextureSizeX, texture.TextureSizeY, "texture");
}

void checkSections(Checker& c, const AircraftSpec& spec, const TextureSpec& texture,
                   const std::string& section) {
    const int count = std::max<int>(texture.NumSectionsOnTexture, 0);
    const auto missing = [&](int first, int last) {
        if (first <= last)
            c.add(section, missingRun("Section.", first, last),
                  "The keys of " + missingRun("Section.", first, last) +
                      " are missing (NumSectionsOnTexture = " + std::to_string(count) + "); " +
                      (first == last ? "it reads as an empty rectangle." : "they read as empty rectangles."));
    };
    int next = 0;
    for (const TextureSection& s : texture.Sections) {
        missing(next, s.Number - 1);
        checkSection(c, spec, texture, section, s);
        next = s.Number + 1;
    }
    missing(next, count - 1);
}

void checkTextures(Checker& c, const AircraftSpec& spec) {
    const auto missing = [&](std::size_t first, std::size_t last) {
        const std::string run = missingRun("Texture.", static_cast<int>(first), static_cast<int>(last));
        c.add("Texture." + twoDigits(static_cast<int>(first)), "",
              std::string(first == last ? "The section [" : "The sections [") + run + "] " +
                  (first == last ? "is" : "are") +
                  " missing (NumTextures = " + std::to_string(spec.NumTextures) + ").");
    };
    std::size_t missingFrom = 0; // the first of the current run of missing sections
    for (std::size_t i = 0; i < spec.Textures.size(); ++i) {
        const TextureSpec& texture = spec.Textures[i];
        const std::string section = "Texture." + twoDigits(static_cast<int>(i));
        if (!c.hasSection(section)) {
            if (i + 1 == spec.Textures.size() ||
                c.hasSection("Texture." + twoDigits(static_cast<int>(i + 1))))
                missing(missingFrom, i);
            continue;
        }
        missingFrom = i + 1;
        c.safeName(section, "BaseTextureName", "texture base name", texture.BaseTextureName);
        if (spec.TextureAssignOnly == 0)
            c.maskedName(section, "BaseTextureName", texture.BaseTextureName, "ReplaceMask",
                         texture.ReplaceMask);
        c.textureSize(section, "TextureSizeX", texture.TextureSizeX);
        c.textureSize(section, "TextureSizeY", texture.TextureSizeY);
        if (texture.NumSectionsOnTexture <= 0 && !c.noted(section, "NumSectionsOnTexture"))
            c.add(section, "NumSectionsOnTexture",
                  "NumSectionsOnTexture is " + std::to_string(texture.NumSectionsOnTexture) +
                      ": nothing of the template reaches this texture.");
        checkSections(c, spec, texture, section);
        // Offsets are byte positions in the model copy, which only TextureAssignOnly 0 patches;
        // other aircraft never read them.
        const std::size_t offsetsRead = spec.TextureAssignOnly == 0 ? texture.MdlOffsets.size() : 0;
        for (std::size_t k = 0; k < offsetsRead; ++k) {
            const std::string key = "Offset." + twoDigits(static_cast<int>(k));
            if (!c.has(section, key))
                c.add(section, key,
                      key + " is missing (NumMdlOffsets = " + std::to_string(texture.NumMdlOffsets) + ").");
            else if (texture.MdlOffsets[k] < 1)
                c.add(section, key,
                      key + " = " + std::to_string(texture.MdlOffsets[k]) +
                          " is not a byte position in the model (the first byte is 1).");
        }
        const std::string nextSection =
            "Section." + twoDigits(std::max<int>(texture.NumSectionsOnTexture, 0));
        if (texture.NumSectionsOnTexture > 0 && c.hasAnySectionField(section, nextSection))
            c.unreadPastCount(section, nextSection, nextSection, "NumSectionsOnTexture",
                              texture.NumSectionsOnTexture);
        const std::string nextOffset = "Offset." + twoDigits(std::max<int>(texture.NumMdlOffsets, 0));
        if (spec.TextureAssignOnly == 0 && c.has(section, nextOffset) && !c.noted(section, "NumMdlOffsets"))
            c.unreadPastCount(section, nextOffset, nextOffset, "NumMdlOffsets", texture.NumMdlOffsets);
    }
    const std::string nextTexture = "Texture." + twoDigits(static_cast<int>(spec.Textures.size()));
    if (spec.NumTextures > 0 && c.hasSection(nextTexture))
        c.unreadPastCount(nextTexture, "", "The section [" + nextTexture + "]", "NumTextures",
                          spec.NumTextures);
}

// The textures' files in TempBitmaps must not meet; the names are those of a variation whose
// identifier is all X.
void checkTextureFiles(Checker& c, const AircraftSpec& spec) {
    if (spec.TextureAssignOnly != 0 && spec.TextureAssignOnly != 1)
        return;
    const int n = std::max<int>(spec.NumIdentifierCharacters, 0);
    std::vector<std::string> names;
    std::vector<std::size_t> textures;
    for (std::size_t i = 0; i < spec.Textures.size(); ++i) {
        const TextureSpec& t = spec.Textures[i];
        const std::optional<std::string> name = spec.TextureAssignOnly == 1
                                                    ? trim(t.BaseTextureName)
                                                    : MaskedName(trim(t.BaseTextureName), trim(t.ReplaceMask),
                                                                 n, std::string(std::size_t(n), 'X'));
        if (name) {
            names.push_back(trim(*name));
            textures.push_back(i);
        }
    }
    for (const TextureFileClash& clash : textureFileClashes(names))
        c.add("Texture." + twoDigits(static_cast<int>(textures[clash.later])), "BaseTextureName",
              clash.message);
}

void checkExtras(Checker& c, const AircraftSpec& spec, const ExtraTextureSpec& extraTextures,
                 const ExtraFieldSpec& extraFields) {
    if (extraTextures.CopyExtraTextures == 1) {
        if (!extraTextures.BaseTextureFolder.empty())
            c.safeName("ExtraTextures", "BaseTextureFolder", "extra texture folder",
                       "Texture." + extraTextures.BaseTextureFolder);
        if (extraTextures.NumExtraTextures <= 0)
            c.add("ExtraTextures", "NumTextures", "CopyExtraTextures is 1 but no extra texture is counted.");
        // Each texture's file looked up once, not compared with every extra texture.
        std::unordered_set<std::string> composed;
        for (const TextureSpec& t : spec.Textures)
            if (spec.TextureAssignOnly == 1)
                composed.insert(toUpper(trim(t.BaseTextureName) + textureFileExtension(t)));
        for (std::size_t i = 0; i < extraTextures.ExtraTextureNames.size(); ++i) {
            const std::string key = "ExtraTexture." + twoDigits(static_cast<int>(i));
            if (!c.has("ExtraTextures", key))
                c.add("ExtraTextures", key,
                      key + " is missing (NumTextures = " + std::to_string(extraTextures.NumExtraTextures) +
                          ").");
            else
                c.safeName("ExtraTextures", key, "extra texture", extraTextures.ExtraTextureNames[i]);
            // Textures that keep their names land where the extra textures are copied, last.
            if (composed.count(toUpper(trim(extraTextures.ExtraTextureNames[i]))) != 0)
                c.add("ExtraTextures", key,
                      "\"" + utf8FromWindows1252(trim(extraTextures.ExtraTextureNames[i])) +
                          "\" is a texture the build composes: copying it would replace the new texture.");
        }
        const std::string next =
            "ExtraTexture." + twoDigits(static_cast<int>(extraTextures.ExtraTextureNames.size()));
        if (extraTextures.NumExtraTextures > 0 && c.has("ExtraTextures", next))
            c.unreadPastCount("ExtraTextures", next, next, "NumTextures", extraTextures.NumExtraTextures);
    }
    if (extraFields.CopyExtraFields == 1) {
        if (extraFields.NumFields <= 0)
            c.add("ExtraFields", "NumFields", "CopyExtraFields is 1 but no extra field is counted.");
        for (std::size_t i = 0; i < extraFields.ExtraFieldNames.size(); ++i) {
            const std::string nn = twoDigits(static_cast<int>(i));
            for (const std::string& key : {"ExtraField." + nn, "ExtraFieldDefault." + nn}) {
                if (!c.has("ExtraFields", key))
                    c.add("ExtraFields", key,
                          key + " is missing (NumFields = " + std::to_string(extraFields.NumFields) + ").");
            }
        }
        for (const ExtraFieldNameFault& fault :
             extraFieldNameFaults(extraFields, extraFields.ExtraFieldNames.size())) {
            if (c.has("ExtraFields", "ExtraField." + twoDigits(static_cast<int>(fault.field))))
                c.add("ExtraFields", "ExtraField." + twoDigits(static_cast<int>(fault.field)), fault.message);
        }
        const std::string next =
            "ExtraField." + twoDigits(static_cast<int>(extraFields.ExtraFieldNames.size()));
        if (extraFields.NumFields > 0 && c.has("ExtraFields", next))
            c.unreadPastCount("ExtraFields", next, next, "NumFields", extraFields.NumFields);
    }
}

} // namespace

std::vector<SpecProblem> checkAircraftSpec(const ProfileDocument& profile, const AircraftSpec& spec,
                                           const ExtraTextureSpec& extraTextures,
                                           const ExtraFieldSpec& extraFields,
                                           const std::vector<SpecValueNote>& notes) {
    Checker c(profile, spec, notes);
    checkNotes(c, notes);
    checkMain(c, spec);
    checkModelAndAir(c, spec);
    checkTextures(c, spec);
    checkTextureFiles(c, spec);
    checkExtras(c, spec, extraTextures, extraFields);
    return c.take();
}

} // namespace livrano
