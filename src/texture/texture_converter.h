// SPDX-License-Identifier: MIT
#pragma once
// The texture converter: turns the two intermediate bitmaps of one texture (24-bit colour and
// 8-bit alpha) into the finished texture file.

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "app/file_bytes.h"
#include "app/status.h"
#include "texture/bitmap.h"
#include "texture/rgba_image.h"
#include "texture/texture_file.h"

namespace livrano {

// Format codes of the converter's call.
inline constexpr std::int32_t kFormatCodeDxt3 = 12;
inline constexpr std::int32_t kFormatCodeArgb32 = 17;

// Result codes of BMPScompressBMP.
inline constexpr std::int32_t kConvertOk = 0;
inline constexpr std::int32_t kConvertUnknownFormat = 1;
inline constexpr std::int32_t kConvertFailed = 2;

// The colour of the first picture with the alpha of the second: the alpha picture's grey levels,
// looked up through its colour table when it is indexed. Fails when their sizes differ or are
// beyond what the BMP reader takes (BmpLimits), as the files of such pictures would.
Status composeTextureImage(const Bitmap& colour, const Bitmap& alpha, RgbaImage& out);

// The same from two BMP files; fails, naming the file, when either cannot be read.
Status composeTextureImage(const std::filesystem::path& colourBmp, const std::filesystem::path& alphaBmp,
                           RgbaImage& out);

// Writes the texture file of a composed picture (replacing an earlier one only on success). A
// build converts the pictures it has just composed this way, without reading back the bitmaps
// it saved.
Status convertTexture(const RgbaImage& image, const std::filesystem::path& output, TextureContainer container,
                      const TextureOptions& options, FileSteps& steps = systemFileSteps());

// composeTextureImage of the two files, then the texture file. Both write through `steps`.
Status convertTexture(const std::filesystem::path& colourBmp, const std::filesystem::path& alphaBmp,
                      const std::filesystem::path& output, TextureContainer container,
                      const TextureOptions& options, FileSteps& steps = systemFileSteps());

// The converter's call as the program makes it: colour and alpha bitmap paths, the format code
// (12 DXT3, 17 32-bit with alpha), a flag that adds mipmaps when 1, a second flag without
// effect, and the path of the simulator texture to write. Returns kConvertOk when the file was
// written; on any other result (pictures too large for the memory left included) nothing was
// written.
std::int32_t BMPScompressBMP(const char* colourPath, const char* alphaPath, std::int32_t formatCode,
                             std::int16_t mipmapFlag, std::int16_t unusedFlag, const char* outputPath);

// The program's wrapper: each name becomes programFolder + "\TempBitmaps\" + name trimmed +
// ".bmp", and the flag goes into both flag arguments. True when the texture file was written.
bool CompressTexture(const std::filesystem::path& programFolder, std::string_view colourName,
                     std::string_view alphaName, std::string_view outputName, std::int16_t flag,
                     std::int32_t formatCode);

} // namespace livrano
