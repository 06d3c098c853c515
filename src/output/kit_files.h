// SPDX-License-Identifier: MIT
#pragma once
// The files of a planned paint kit: their bytes, and writing them so that a kit is there whole
// or not at all. The configuration is what lists a kit, so it takes its place last; until then a
// failure or a kill leaves the catalogue as it was.

#include <cstdint>
#include <string>
#include <vector>

#include "app/status.h"
#include "output/file_operations.h"
#include "output/kit_plan.h"

namespace livrano {

// The neutral grey of a kit template where no texture lies.
inline constexpr std::uint8_t kKitNeutralGrey = 128;
// zlib's fastest level: the guide is mostly transparent and compresses well at any level.
inline constexpr int kGuideZlibLevel = 1;

struct KitFiles {
    std::vector<std::uint8_t> templateBmp; // 24-bit: every texture's colour at its place
    std::vector<std::uint8_t> alphaBmp;    // 8-bit grey: their alpha (empty when no texture has any)
    std::vector<std::uint8_t> guidePng;    // transparent, each texture's outline and name
    std::string dataCfg;                   // aircraft.cfg as installed, with the [livrano] section
    std::string configuration;             // enciphered
};

// The bytes of every file of the kit. Fails only when the guide cannot be encoded.
Status composeKitFiles(const KitPlan& plan, KitFiles& files);

// Writes the kit: every file is first written beside its place; then templates already at the
// template's names are moved aside, the files take their places and the configuration last; then
// a configuration it replaces under another name is removed. A failure before the first file
// takes its place leaves everything as it was; later, the catalogue is unchanged and the files in
// place are whole. The plan must have been made under the program folder's lock, still held.
Status writeKitFiles(const KitPlan& plan, const KitFiles& files, FileOperations& operations);

} // namespace livrano
