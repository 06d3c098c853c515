// SPDX-License-Identifier: MIT
#pragma once
// Everything the program knows about one aircraft, as read from its enciphered configuration.
// Texts are stored trimmed and cut at their capacity; integers marked 16-bit keep their value
// only when the file's value fits in -32768..32767.

#include <cstdint>
#include <string>
#include <vector>

namespace livrano {

inline constexpr std::size_t kSpecTextCapacity = 100;
inline constexpr std::size_t kDataPathCapacity = 20;
inline constexpr std::size_t kDescriptionCapacity = 512;
inline constexpr std::size_t kTextureFormatCapacity = 10;

inline constexpr const char* kFormatDxt3 = "DXT3NM";
inline constexpr const char* kFormat32Alpha = "32ANM";

struct TextureSection {
    std::int16_t TemplateLeft = 0;
    std::int16_t TemplateTop = 0;
    std::int16_t TemplateRight = 0;
    std::int16_t TemplateBottom = 0;
    std::int16_t DestLeft = 0;
    std::int16_t DestTop = 0;
    std::int16_t DestRight = 0;
    std::int16_t DestBottom = 0;
    // The NN of its Section.NN keys. A configuration's count may promise 32767 sections of which
    // it holds a few: the ones it does not hold are all-zero rectangles that draw nothing, so
    // only the sections it holds are kept, in ascending order.
    std::int16_t Number = 0;
};

struct TextureSpec {
    std::string BaseTextureName;
    std::string ReplaceMask;
    std::string ViewName;
    std::int16_t TextureSizeX = 0;
    std::int16_t TextureSizeY = 0;
    std::string TextureFormat; // kFormatDxt3 or kFormat32Alpha, from the DXT3 check box
    std::int16_t NumSectionsOnTexture = 0;
    std::vector<TextureSection> Sections; // the sections the configuration holds, by Number
    std::int16_t NumMdlOffsets = 0;
    // 1-based byte positions in the model file. Read up to the first missing one, which reads
    // as 0 and ends the list: the model cannot be patched without it anyway.
    std::vector<std::int32_t> MdlOffsets;
    // 1: the finished texture is a DDS file, name + ".dds", for a model whose factory textures are
    // DDS files; anything else: the simulator's bitmap, name + ".bmp". Written only when 1, so a
    // configuration without DDS textures reads as it always did.
    std::int16_t DdsFile = 0;
};

// The finished texture's file name extension: ".dds" or ".bmp".
inline const char* textureFileExtension(const TextureSpec& texture) {
    return texture.DdsFile == 1 ? ".dds" : ".bmp";
}

struct AircraftSpec {
    std::string AircraftDisplayName;
    std::string DataPath;
    std::string AircraftDirectory;
    std::string Manufacturer;
    std::string AircraftType;
    std::string AircraftTail;
    std::string AircraftFlight;
    std::string AircraftTitlePrefix;
    std::string CheckListFile;
    std::string ReferenceFile;
    std::string Description;
    std::int16_t AssignAirline = 0;
    std::int16_t NumIdentifierCharacters = 0;
    std::int16_t NumTextures = 0;
    std::int16_t TemplateSizeX = 0;
    std::int16_t TemplateSizeY = 0;
    std::string BaseModelName;  // section "Model"
    std::string ReplaceMask;    // section "Model"
    std::string BaseAirName;    // section "Air"
    std::string ReplaceAirMask; // section "Air"
    std::int16_t CopyRenameAirFile = 0;
    std::int16_t UseAlpha = 0;
    std::int16_t DefaultHeavy = 0;
    std::int16_t ShowDamage = 0;
    std::int16_t TextureAssignOnly = 0;
    std::string ModelFolder;
    std::vector<TextureSpec> Textures;
};

// Not reset with AircraftSpec: the flags and counts are read afresh at every load, the lists are
// rebuilt only when the flag is 1 and the count at least 1, and otherwise keep what an earlier
// load put there.
struct ExtraTextureSpec {
    std::int16_t CopyExtraTextures = 0;
    std::string BaseTextureFolder;
    std::int16_t NumExtraTextures = 0;
    std::vector<std::string> ExtraTextureNames;
};

struct ExtraFieldSpec {
    std::int16_t CopyExtraFields = 0;
    std::int16_t NumFields = 0;
    std::vector<std::string> ExtraFieldNames;
    std::vector<std::string> ExtraFieldDefaults;
};

} // namespace livrano
