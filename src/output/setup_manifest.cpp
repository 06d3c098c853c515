// SPDX-License-Identifier: MIT
#include "output/setup_manifest.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "app/file_bytes.h"

namespace livrano {

namespace {

// A comment to sha256sum, which passes over lines that start with '#'.
constexpr std::string_view kVersionLine = "# Livrano ";

std::vector<unsigned long> versionNumbers(std::string_view version) {
    std::vector<unsigned long> numbers;
    std::istringstream parts{std::string(version)};
    for (std::string part; std::getline(parts, part, '.');)
        numbers.push_back(std::strtoul(part.c_str(), nullptr, 10));
    return numbers;
}

} // namespace

std::optional<SetupManifest> readSetupManifest(const std::filesystem::path& programFolder) {
    const std::optional<std::string> bytes = readFileBytes(programFolder / kSetupManifest);
    if (!bytes)
        return std::nullopt;
    SetupManifest manifest;
    std::istringstream lines(*bytes);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(kVersionLine))
            manifest.version = line.substr(kVersionLine.size());
        // "CHECKSUM  RELATIVE/PATH"
        else if (line.size() > 66 && line.compare(64, 2, "  ") == 0)
            manifest.checksums[line.substr(66)] = line.substr(0, 64);
    }
    return manifest;
}

std::string setupManifestText(const SetupManifest& manifest) {
    std::string text = std::string(kVersionLine) + manifest.version + "\n";
    for (const auto& [path, checksum] : manifest.checksums)
        text.append(checksum).append("  ").append(path).append("\n");
    return text;
}

int compareVersions(std::string_view a, std::string_view b) {
    if (a.empty() || b.empty())
        return a.empty() == b.empty() ? 0 : a.empty() ? -1 : 1;
    std::vector<unsigned long> x = versionNumbers(a);
    std::vector<unsigned long> y = versionNumbers(b);
    x.resize(std::max(x.size(), y.size()));
    y.resize(x.size());
    return x < y ? -1 : x > y ? 1 : 0;
}

} // namespace livrano
