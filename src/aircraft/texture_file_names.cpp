// SPDX-License-Identifier: MIT
#include "aircraft/texture_file_names.h"

#include <algorithm>
#include <tuple>
#include <unordered_map>

#include "app/code_page.h"
#include "app/text.h"

namespace livrano {

std::vector<TextureFileClash> textureFileClashes(const std::vector<std::string>& names) {
    struct Kind {
        const char* suffix;
        const char* what;
    };
    static constexpr Kind kKinds[] = {{".bmp", "texture"}, {"_c.bmp", "colour"}, {"_a.bmp", "alpha"}};
    constexpr std::size_t kSame = std::size(kKinds); // the kind of a clash of one name given again
    const auto shown = utf8FromWindows1252;
    // Each name, in upper case, at the first texture that has it. A later texture's file of kind
    // b is an earlier one's of kind a exactly when, less a's suffix, it is an earlier name: each
    // texture is looked up a fixed number of times, never compared with every other.
    std::unordered_map<std::string, std::size_t> first;
    std::vector<TextureFileClash> clashes;
    for (std::size_t later = 0; later < names.size(); ++later) {
        const std::string upper = toUpper(names[later]);
        std::vector<std::tuple<std::size_t, std::size_t, std::size_t>> met; // earlier, a, b
        if (const auto same = first.find(upper); same != first.end())
            met.emplace_back(same->second, kSame, kSame);
        for (std::size_t b = 0; b < kSame; ++b) {
            const std::string file = upper + toUpper(kKinds[b].suffix);
            for (std::size_t a = 0; a < kSame; ++a) {
                const std::string suffix = toUpper(kKinds[a].suffix);
                if (a == b || !file.ends_with(suffix))
                    continue;
                if (const auto found = first.find(file.substr(0, file.size() - suffix.size()));
                    found != first.end())
                    met.emplace_back(found->second, a, b);
            }
        }
        std::sort(met.begin(), met.end());
        for (const auto& [earlier, a, b] : met) {
            if (a == kSame) {
                clashes.push_back({earlier, later, true,
                                   "The textures \"" + shown(names[earlier]) + "\" and \"" +
                                       shown(names[later]) +
                                       "\" have one name: only the later one is installed."});
                continue;
            }
            const std::string file = names[later] + kKinds[b].suffix;
            clashes.push_back({earlier, later, false,
                               "The " + std::string(kKinds[b].what) + " file " + shown(file) +
                                   " of the texture \"" + shown(names[later]) + "\" is also the " +
                                   kKinds[a].what + " file of the texture \"" + shown(names[earlier]) +
                                   "\" in TempBitmaps: the build would install the wrong file."});
        }
        first.emplace(upper, later);
    }
    return clashes;
}

} // namespace livrano
