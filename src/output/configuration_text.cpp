// SPDX-License-Identifier: MIT
#include "output/configuration_text.h"

#include <algorithm>

#include "app/text.h"

namespace livrano {

namespace {

class Writer {
public:
    void section(const std::string& name) {
        if (!m_text.empty())
            m_text += "\r\n";
        m_text += "[" + name + "]\r\n";
    }
    void key(const std::string& name, const std::string& value) { m_text += name + "=" + value + "\r\n"; }
    void key(const std::string& name, long long value) { key(name, std::to_string(value)); }
    std::string text() && { return std::move(m_text); }

private:
    std::string m_text;
};

std::size_t countOf(std::int16_t count, std::size_t available) {
    return std::min(static_cast<std::size_t>(std::max<std::int16_t>(count, 0)), available);
}

} // namespace

std::string configurationText(const AircraftSpec& spec, const ExtraTextureSpec& extraTextures,
                              const ExtraFieldSpec& extraFields) {
    Writer w;
    w.section("Main");
    w.key("AircraftDisplayName", spec.AircraftDisplayName);
    w.key("DataPath", spec.DataPath);
    w.key("AircraftDirectory", spec.AircraftDirectory);
    w.key("Manufacturer", spec.Manufacturer);
    w.key("AircraftType", spec.AircraftType);
    w.key("AircraftTail", spec.AircraftTail);
    w.key("AircraftFlight", spec.AircraftFlight);
    w.key("AircraftTitlePrefix", spec.AircraftTitlePrefix);
    w.key("CheckListFile", spec.CheckListFile);
    w.key("ReferenceFile", spec.ReferenceFile);
    w.key("Description", spec.Description);
    w.key("AssignAirline", spec.AssignAirline);
    w.key("NumIdentifierCharacters", spec.NumIdentifierCharacters);
    w.key("NumTextures", spec.NumTextures);
    w.key("TemplateSizeX", spec.TemplateSizeX);
    w.key("TemplateSizeY", spec.TemplateSizeY);
    w.key("UseAlpha", spec.UseAlpha);
    w.key("DefaultHeavy", spec.DefaultHeavy);
    w.key("ShowDamage", spec.ShowDamage);
    w.key("TextureAssignOnly", spec.TextureAssignOnly);
    w.key("ModelFolder", spec.ModelFolder);

    w.section("Model");
    w.key("BaseModelName", spec.BaseModelName);
    w.key("ReplaceMask", spec.ReplaceMask);

    w.section("Air");
    w.key("BaseAirName", spec.BaseAirName);
    w.key("ReplaceAirMask", spec.ReplaceAirMask);
    w.key("CopyRenameAirFile", spec.CopyRenameAirFile);

    w.section("ExtraTextures");
    w.key("CopyExtraTextures", extraTextures.CopyExtraTextures);
    w.key("BaseTextureFolder", extraTextures.BaseTextureFolder);
    w.key("NumTextures", extraTextures.NumExtraTextures);
    for (std::size_t i = 0;
         i < countOf(extraTextures.NumExtraTextures, extraTextures.ExtraTextureNames.size()); ++i)
        w.key("ExtraTexture." + twoDigits(static_cast<int>(i)), extraTextures.ExtraTextureNames[i]);

    w.section("ExtraFields");
    w.key("CopyExtraFields", extraFields.CopyExtraFields);
    w.key("NumFields", extraFields.NumFields);
    const std::size_t fields =
        countOf(extraFields.NumFields,
                std::min(extraFields.ExtraFieldNames.size(), extraFields.ExtraFieldDefaults.size()));
    for (std::size_t i = 0; i < fields; ++i) {
        w.key("ExtraField." + twoDigits(static_cast<int>(i)), extraFields.ExtraFieldNames[i]);
        w.key("ExtraFieldDefault." + twoDigits(static_cast<int>(i)), extraFields.ExtraFieldDefaults[i]);
    }

    static const char* const kSectionKeys[] = {"TemplateLeft",   "TemplateTop", "TemplateRight",
                                               "TemplateBottom", "DestLeft",    "DestTop",
                                               "DestRight",      "DestBottom"};
    for (std::size_t t = 0; t < spec.Textures.size(); ++t) {
        const TextureSpec& texture = spec.Textures[t];
        w.section("Texture." + twoDigits(static_cast<int>(t)));
        w.key("BaseTextureName", texture.BaseTextureName);
        w.key("ReplaceMask", texture.ReplaceMask);
        w.key("ViewName", texture.ViewName);
        w.key("TextureSizeX", texture.TextureSizeX);
        w.key("TextureSizeY", texture.TextureSizeY);
        if (texture.DdsFile != 0)
            w.key("DdsFile", texture.DdsFile);
        w.key("NumSectionsOnTexture", texture.NumSectionsOnTexture);
        for (const TextureSection& sec : texture.Sections) {
            if (sec.Number >= texture.NumSectionsOnTexture)
                continue;
            const std::int16_t values[] = {sec.TemplateLeft,   sec.TemplateTop, sec.TemplateRight,
                                           sec.TemplateBottom, sec.DestLeft,    sec.DestTop,
                                           sec.DestRight,      sec.DestBottom};
            for (std::size_t k = 0; k < 8; ++k)
                w.key("Section." + twoDigits(sec.Number) + "." + kSectionKeys[k], values[k]);
        }
        w.key("NumMdlOffsets", texture.NumMdlOffsets);
        for (std::size_t k = 0; k < countOf(texture.NumMdlOffsets, texture.MdlOffsets.size()); ++k)
            w.key("Offset." + twoDigits(static_cast<int>(k)), texture.MdlOffsets[k]);
    }
    return std::move(w).text();
}

} // namespace livrano
