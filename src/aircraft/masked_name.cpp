// SPDX-License-Identifier: MIT
#include "aircraft/masked_name.h"

namespace livrano {

std::optional<std::string> MaskedName(std::string_view base, std::string_view mask, int n,
                                      std::string_view identifier) {
    const auto star = mask.find('*');
    if (star == std::string_view::npos || n < 0)
        return std::nullopt;
    const std::size_t count = static_cast<std::size_t>(n);
    if (star + count > base.size())
        return std::nullopt;
    std::string result(base.substr(0, star));
    result += identifier;
    result += base.substr(star + count);
    return result;
}

} // namespace livrano
