// SPDX-License-Identifier: MIT
// Arbitrary bytes as an aircraft configuration: read as plain text, and deciphered with the
// program's key first (as a damaged or foreign .bin would be). Reading and checking must never
// fault, and the loaded AircraftSpec must respect its counts and capacities whatever the text says.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "aircraft/aircraft_spec_checks.h"
#include "aircraft/aircraft_spec_loader.h"
#include "aircraft/cipher.h"

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

std::size_t counted(std::int16_t count) {
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

void readAndCheck(const std::string& text, bool dxt3) {
    using namespace livrano;
    const ProfileDocument profile(text);
    AircraftSpec spec;
    ExtraTextureSpec extraTextures;
    ExtraFieldSpec extraFields;
    std::vector<SpecValueNote> notes;
    if (!readAircraftSpec(profile, dxt3, spec, extraTextures, extraFields, &notes))
        return;

    check(spec.Textures.size() == counted(spec.NumTextures));
    check(spec.AircraftDisplayName.size() <= kSpecTextCapacity && spec.DataPath.size() <= kDataPathCapacity &&
          spec.Description.size() <= kDescriptionCapacity);
    for (const TextureSpec& t : spec.Textures) {
        // Only the sections the text holds, in ascending order below the count.
        for (std::size_t j = 0; j < t.Sections.size(); ++j)
            check(t.Sections[j].Number >= 0 && t.Sections[j].Number < t.NumSectionsOnTexture &&
                  (j == 0 || t.Sections[j - 1].Number < t.Sections[j].Number));
        check(t.MdlOffsets.size() <= counted(t.NumMdlOffsets));
        check(t.BaseTextureName.size() <= kSpecTextCapacity && t.ViewName.size() <= kSpecTextCapacity);
        check(t.TextureFormat == (dxt3 ? kFormatDxt3 : kFormat32Alpha));
    }
    // Lists are rebuilt from a fresh record only when asked for, and then have their counted size.
    check(extraFields.ExtraFieldNames.size() == extraFields.ExtraFieldDefaults.size());
    if (extraFields.CopyExtraFields == 1 && extraFields.NumFields >= 1)
        check(extraFields.ExtraFieldNames.size() == counted(extraFields.NumFields));
    else
        check(extraFields.ExtraFieldNames.empty());
    if (extraTextures.CopyExtraTextures == 1 && extraTextures.NumExtraTextures >= 1)
        check(extraTextures.ExtraTextureNames.size() == counted(extraTextures.NumExtraTextures));
    else
        check(extraTextures.ExtraTextureNames.empty());

    check(textureListLines(spec).size() == spec.Textures.size() + 1);
    for (const SpecProblem& p : checkAircraftSpec(profile, spec, extraTextures, extraFields, notes))
        check(!p.message.empty() && !p.section.empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const bool dxt3 = size > 0 && (data[0] & 1) != 0;
    readAndCheck(bytes, dxt3);

    std::string deciphered = bytes;
    livrano::clsEncrypt cipher;
    check(cipher.Key(livrano::kProgramKey).ok());
    if (cipher.DecryptByte(deciphered)) {
        check(deciphered.size() + 12 <= bytes.size());
        readAndCheck(deciphered, dxt3);
    }
    return 0;
}
