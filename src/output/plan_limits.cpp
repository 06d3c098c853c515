// SPDX-License-Identifier: MIT
#include "output/plan_limits.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "output/file_system_limits.h"
#include "texture/texture_composition.h"

namespace livrano {

namespace fs = std::filesystem;

// A file is written under a longer temporary name first, which NameLengths allows for.
Status checkWritable(const std::vector<WrittenPath>& written) {
    NameLengths lengths;
    for (const auto& [path, isFolder] : written) {
        if (Status s = checkPathKind(path, isFolder, "The build"); !s)
            return s;
        if (Status s = lengths.check(path, isFolder, "The build"); !s)
            return s;
    }
    return Status::Ok();
}

// A disk that fills midway ends the build with its model or aircraft.cfg half done: what it
// writes into the aircraft folder must fit in the space that is free now. Nothing counts as
// freed: the replaced livery's files stay until the build has succeeded, and a file replaced in
// place keeps its bytes until its new copy is whole. The intermediate bitmaps go to the
// program's own folder and are not counted.
Status checkRoom(const BuildPlan& plan, const AircraftSpec& spec, FileOperations& files) {
    constexpr std::uintmax_t kTextBytes = std::uintmax_t{64} * 1024; // Model.cfg and the new entry, at most
    auto sizeOf = [](const fs::path& file) {
        std::error_code ec;
        const std::uintmax_t size = fs::file_size(file, ec);
        return ec ? 0 : size;
    };
    // The backup, the original kept once, and the new file: the clean copy with every entry.
    std::uintmax_t needed = cfgRewriteBytes(plan, kTextBytes);
    for (const std::optional<PlannedCopy>& copy : {plan.model, plan.air})
        if (copy)
            needed += sizeOf(copy->source);
    for (const TextureJob& job : plan.textures.textures)
        if (job.skipped.empty())
            needed += finishedTextureSize(spec.Textures[job.index]);
    for (const ExtraTextureJob& job : plan.textures.extras)
        needed += sizeOf(job.source);
    return checkFreeSpace(files, plan.aircraftFolder, needed, "The build",
                          plan.removals.empty()
                              ? "."
                              : "; the replaced livery's files stay on it until the build has succeeded.");
}

} // namespace livrano
