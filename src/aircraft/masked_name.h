// SPDX-License-Identifier: MIT
#pragma once
// The naming rule for every file of a variation: the n characters of a base name that start at
// the position of the first "*" in a mask are replaced by an identifier. The mask only marks the
// position; its other characters are not compared with the base name.

#include <optional>
#include <string>
#include <string_view>

namespace livrano {

// MaskedName("T_FUSE_XXX_1", "T_FUSE_*", 3, "QRX") == "T_FUSE_QRX_1".
// Returns nullopt when the mask has no "*", n is negative, or the base name is shorter than the
// mask position plus n: such a name cannot be derived.
std::optional<std::string> MaskedName(std::string_view base, std::string_view mask, int n,
                                      std::string_view identifier);

} // namespace livrano
