// SPDX-License-Identifier: MIT
#include "demo/demo_model_files.h"

#include <cassert>

namespace livrano {

namespace {

constexpr std::size_t kModelFileSize = 24576;

} // namespace

std::string demoModelFile(const std::vector<ModelTextureName>& names) {
    std::string bytes(kModelFileSize, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 131 + 17) % 253);
    static constexpr char kHeader[] = {'R', 'I', 'F', 'F', 0,   0x60, 0,   0,
                                       'M', 'D', 'L', '9', 'M', 'D',  'L', 'H'};
    const std::string header(kHeader, sizeof kHeader);
    bytes.replace(0, header.size(), header);
    for (const ModelTextureName& name : names)
        for (std::int32_t offset : name.offsets) {
            const auto at = static_cast<std::size_t>(offset - 1);
            assert(offset >= 1 && at + name.fileName.size() < bytes.size());
            bytes.replace(at, name.fileName.size(), name.fileName);
            bytes[at + name.fileName.size()] = '\0';
        }
    return bytes;
}

std::string demoAirFile(const std::string& name) {
    std::string bytes = "RIFF flight model of " + name + "\r\n";
    for (int i = 0; i < 2048; ++i)
        bytes.push_back(static_cast<char>((i * 37 + 11) % 256));
    return bytes;
}

} // namespace livrano
