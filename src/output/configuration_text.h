// SPDX-License-Identifier: MIT
#pragma once
// An aircraft configuration's plain text written from the records it is read into, as an
// aircraft maker's setup would install it (before it is enciphered). Reading the text back gives
// the same records, apart from the texture formats, which a load takes from the DXT3 check box.

#include <string>

#include "aircraft/aircraft_spec.h"

namespace livrano {

// CRLF lines: [Main], [Model], [Air], [ExtraTextures], [ExtraFields], then one [Texture.NN]
// section per entry of spec.Textures (NN with at least two digits). The counts written are the
// records' counts; list entries beyond a count are not written.
std::string configurationText(const AircraftSpec& spec, const ExtraTextureSpec& extraTextures,
                              const ExtraFieldSpec& extraFields);

} // namespace livrano
