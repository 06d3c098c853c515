// SPDX-License-Identifier: MIT
#pragma once
// Our own encoder for the colour half of a DXT3 block. A principal-axis start, least-squares
// refinement of the two end points from the texels' palette entries, then a search over the
// end points' 5:6:5 neighbours, each candidate judged by its real error after quantisation;
// blocks of a single colour come from a table. The error is measured against the palette that
// decodeDxtBlock makes, so what is optimised is what is shown.

#include <cstdint>

namespace livrano {

// The two compiled forms of the encoder: the portable one, and one for processors with AVX2
// (taken at run time when the processor has it). Both give the same bytes: the search runs on
// integers, and the few floating-point steps are the same operations in both.
enum class EncoderPath { Portable, Avx2 };

bool encoderPathAvailable(EncoderPath path);

// rgba: 16 texels of red, green, blue, alpha, row by row (64 bytes); alpha is not read.
// colour: 8 bytes out, colour0 and colour1 (little-endian 5:6:5) and the 2-bit indices.
// Without a path, the fastest available one. Precondition: the path is available.
void encodeColourBlock(const std::uint8_t* rgba, std::uint8_t* colour);
void encodeColourBlock(const std::uint8_t* rgba, std::uint8_t* colour, EncoderPath path);

} // namespace livrano
