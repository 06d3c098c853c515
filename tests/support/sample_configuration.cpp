#include "support/sample_configuration.h"

#include <gtest/gtest.h>

#include "aircraft/cipher.h"
#include "app/text.h"
#include "support/temp_dir.h"

namespace livrano::testing {

const char* const kSkylarkConfiguration =
    "; Corvane C-310 Skylark - repaint configuration\r\n"
    "[Main]\r\n"
    "AircraftDisplayName=Corvane C-310 Skylark\r\n"
    "DataPath=c310\r\n"
    "AircraftDirectory=Corvane C-310 Skylark\r\n"
    "Manufacturer=Corvane Aeroworks\r\n"
    "AircraftType=C-310 Skylark\r\n"
    "AircraftTail=N310SK\r\n"
    "AircraftFlight=SK310\r\n"
    "AircraftTitlePrefix=Corvane C-310 Skylark\r\n"
    "CheckListFile=C310_check\r\n"
    "ReferenceFile=C310_ref\r\n"
    "Description=\"A light twin for short fields, repainted with Livrano.\"\r\n"
    "AssignAirline=0\r\n"
    "NumIdentifierCharacters=3\r\n"
    "NumTextures=3\r\n"
    "TemplateSizeX=2048\r\n"
    "TemplateSizeY=1024\r\n"
    "UseAlpha=1\r\n"
    "DefaultHeavy=0\r\n"
    "ShowDamage=1\r\n"
    "TextureAssignOnly=0\r\n"
    "ModelFolder=\r\n"
    "\r\n"
    "[Model]\r\n"
    "BaseModelName=C310_XXX\r\n"
    "ReplaceMask=C310_*\r\n"
    "\r\n"
    "[Air]\r\n"
    "BaseAirName=C310_XXX\r\n"
    "ReplaceAirMask=C310_*\r\n"
    "CopyRenameAirFile=1\r\n"
    "\r\n"
    "[ExtraTextures]\r\n"
    "CopyExtraTextures=1\r\n"
    "BaseTextureFolder=\r\n"
    "NumTextures=2\r\n"
    "ExtraTexture.00=C310_GLASS.bmp\r\n"
    "ExtraTexture.01=C310_PANEL_L.bmp\r\n"
    "\r\n"
    "[ExtraFields]\r\n"
    "CopyExtraFields=1\r\n"
    "NumFields=2\r\n"
    "ExtraField.00=atc_parking_codes\r\n"
    "ExtraFieldDefault.00=0\r\n"
    "ExtraField.01=atc_parking_types\r\n"
    "ExtraFieldDefault.01=RAMP\r\n"
    "\r\n"
    "; Fuselage: left and right sides of the template side by side\r\n"
    "[Texture.00]\r\n"
    "BaseTextureName=C310_FUSE_XXX\r\n"
    "ReplaceMask=C310_FUSE_*\r\n"
    "ViewName=Fuselage\r\n"
    "TextureSizeX=1024\r\n"
    "TextureSizeY=1024\r\n"
    "NumSectionsOnTexture=2\r\n"
    "Section.00.TemplateLeft=0\r\n"
    "Section.00.TemplateTop=0\r\n"
    "Section.00.TemplateRight=1024\r\n"
    "Section.00.TemplateBottom=512\r\n"
    "Section.00.DestLeft=0\r\n"
    "Section.00.DestTop=0\r\n"
    "Section.00.DestRight=1024\r\n"
    "Section.00.DestBottom=512\r\n"
    "Section.01.TemplateLeft=1024\r\n"
    "Section.01.TemplateTop=0\r\n"
    "Section.01.TemplateRight=2048\r\n"
    "Section.01.TemplateBottom=512\r\n"
    "Section.01.DestLeft=0\r\n"
    "Section.01.DestTop=512\r\n"
    "Section.01.DestRight=1024\r\n"
    "Section.01.DestBottom=1024\r\n"
    "NumMdlOffsets=2\r\n"
    "Offset.00=18432\r\n"
    "Offset.01=20480\r\n"
    "\r\n"
    "[Texture.01]\r\n"
    "BaseTextureName=C310_WING_XXX\r\n"
    "ReplaceMask=C310_WING_*\r\n"
    "ViewName=Wings\r\n"
    "TextureSizeX=1024\r\n"
    "TextureSizeY=512\r\n"
    "NumSectionsOnTexture=1\r\n"
    "Section.00.TemplateLeft=0\r\n"
    "Section.00.TemplateTop=512\r\n"
    "Section.00.TemplateRight=2048\r\n"
    "Section.00.TemplateBottom=768\r\n"
    "Section.00.DestLeft=0\r\n"
    "Section.00.DestTop=0\r\n"
    "Section.00.DestRight=1024\r\n"
    "Section.00.DestBottom=512\r\n"
    "NumMdlOffsets=1\r\n"
    "Offset.00=22528\r\n"
    "\r\n"
    "; The tail fin is painted upside down on the template\r\n"
    "[Texture.02]\r\n"
    "BaseTextureName=C310_TAIL_XXX\r\n"
    "ReplaceMask=C310_TAIL_*\r\n"
    "ViewName=Tail\r\n"
    "TextureSizeX=512\r\n"
    "TextureSizeY=512\r\n"
    "NumSectionsOnTexture=1\r\n"
    "Section.00.TemplateLeft=0\r\n"
    "Section.00.TemplateTop=1023\r\n"
    "Section.00.TemplateRight=512\r\n"
    "Section.00.TemplateBottom=767\r\n"
    "Section.00.DestLeft=0\r\n"
    "Section.00.DestTop=0\r\n"
    "Section.00.DestRight=512\r\n"
    "Section.00.DestBottom=512\r\n"
    "NumMdlOffsets=1\r\n"
    "Offset.00=70000\r\n";

std::string encipherConfiguration(std::string_view plain, std::string_view key) {
    clsEncrypt cipher;
    std::string buffer(plain);
    cipher.EncryptByte(buffer, key.empty() ? kProgramKey : key);
    return buffer;
}

void writeConfiguration(const std::filesystem::path& file, std::string_view plain, std::string_view key) {
    writeFile(file, encipherConfiguration(plain, key));
}

std::string replaced(std::string text, std::string_view from, std::string_view to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << "no \"" << from << "\" to replace";
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

std::string hostileConfiguration() {
    std::string text =
        "[Main]\r\nNumTextures=32767\r\n[ExtraFields]\r\nCopyExtraFields=1\r\nNumFields=32767\r\n";
    for (int i = 0; i < 32767; ++i)
        text += "[Texture." + twoDigits(i) + "]\r\nNumSectionsOnTexture=32767\r\nNumMdlOffsets=32767\r\n";
    for (int j = 0; j < 4000; ++j)
        for (const char* field : {"TemplateLeft", "TemplateTop", "TemplateRight", "TemplateBottom",
                                  "DestLeft", "DestTop", "DestRight", "DestBottom"})
            text += "Section." + twoDigits(j) + "." + field + "=1\r\n";
    return text;
}

} // namespace livrano::testing
