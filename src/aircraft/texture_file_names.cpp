// SPDX-License-Identifier: MIT
#include "aircraft/texture_file_names.h"

#include "app/code_page.h"
#include "app/text.h"

namespace livrano {

std::vector<TextureFileClash> textureFileClashes(const std::vector<std::string>& names) {
    struct Kind {
        const char* suffix;
        const char* what;
    };
    static constexpr Kind kKinds[] = {{".bmp", "texture"}, {"_c.bmp", "colour"}, {"_a.bmp", "alpha"}};
    const auto shown = utf8FromWindows1252;
    std::vector<TextureFileClash> clashes;
    for (std::size_t later = 0; later < names.size(); ++later) {
        for (std::size_t earlier = 0; earlier < later; ++earlier) {
            if (equalsNoCase(names[earlier], names[later])) {
                clashes.push_back({earlier, later, true,
                                   "The textures \"" + shown(names[earlier]) + "\" and \"" +
                                       shown(names[later]) +
                                       "\" have one name: only the later one is installed."});
                continue;
            }
            for (const Kind& a : kKinds) {
                for (const Kind& b : kKinds) {
                    const std::string file = names[later] + b.suffix;
                    if (!equalsNoCase(names[earlier] + a.suffix, file))
                        continue;
                    clashes.push_back({earlier, later, false,
                                       "The " + std::string(b.what) + " file " + shown(file) +
                                           " of the texture \"" + shown(names[later]) + "\" is also the " +
                                           a.what + " file of the texture \"" + shown(names[earlier]) +
                                           "\" in TempBitmaps: the build would install the wrong file."});
                }
            }
        }
    }
    return clashes;
}

} // namespace livrano
