// SPDX-License-Identifier: MIT
#include "texture/texture_composition.h"

#include <algorithm>
#include <future>
#include <memory>
#include <system_error>
#include <utility>

#include "app/code_page.h"
#include "app/file_bytes.h"
#include "app/text.h"
#include "texture/texture_converter.h"
#include "texture/texture_file.h"
#include "texture/texture_preview.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

// The container the aircraft's model expects the finished texture in, by the file's name.
TextureContainer containerOf(const TextureSpec& texture) {
    return texture.DdsFile == 1 ? TextureContainer::Dds : TextureContainer::FsBitmap;
}

std::size_t sectionCount(const TextureSpec& texture) {
    return std::min<std::size_t>(static_cast<std::size_t>(std::max<int>(texture.NumSectionsOnTexture, 0)),
                                 texture.Sections.size());
}

// Copies every section of the texture with the stretch operation of one depth. The result is
// that of the last copy: a failed earlier copy does not count, as the textures were always made.
// Each copy's rows are shared out over `threads`; the sections still go one after the other, as
// where they overlap the later one's pixels stay.
template <typename Stretch>
bool copySections(BitmapSurfaces& surfaces, const TextureSpec& texture, bool created, Stretch stretch,
                  unsigned threads) {
    bool result = created;
    if (!created)
        return false;
    for (std::size_t s = 0; s < sectionCount(texture); ++s) {
        const TextureSection& sec = texture.Sections[s];
        result = stretch(surfaces, sec.DestLeft, sec.DestTop, sec.DestRight - sec.DestLeft,
                         sec.DestBottom - sec.DestTop, sec.TemplateLeft, sec.TemplateTop,
                         sec.TemplateRight - sec.TemplateLeft, sec.TemplateBottom - sec.TemplateTop, threads);
    }
    return result;
}

std::optional<std::int32_t> formatCode(const std::string& textureFormat) {
    const std::string format = toUpper(trim(textureFormat));
    if (format == kFormatDxt3)
        return kFormatCodeDxt3;
    if (format == kFormat32Alpha)
        return kFormatCodeArgb32;
    return std::nullopt;
}

// "<what> was skipped: <reason>." with one full stop, whether or not the reason brings its own.
std::string skippedSentence(const std::string& what, const std::string& reason) {
    const bool stopped = !reason.empty() && reason.back() == '.';
    return what + " was skipped: " + reason + (stopped ? "" : ".");
}

// A composed texture on its way to its file: its two work surfaces, taken from the build's
// surfaces so that the next texture can be composed meanwhile.
struct Finishing {
    std::size_t index = 0;
    std::string name;
    BitmapSurfaces surfaces;
    std::future<std::optional<std::string>> failure; // why it could not be finished, if it could not
};

TextureFormat formatOf(std::int32_t code) {
    return code == kFormatCodeDxt3 ? TextureFormat::Dxt3 : TextureFormat::Argb32;
}

// Composes one texture onto the work surfaces; the reason when it cannot.
std::optional<std::string> compose(const TextureSpec& texture, BitmapSurfaces& surfaces, Frontend& frontend,
                                   TextureFormat& format, unsigned threads) {
    if (!ComposeTexture24(texture, surfaces, frontend, threads))
        return "its colour could not be composed from the template";
    const std::optional<std::int32_t> code = formatCode(texture.TextureFormat);
    if (!code)
        return "its format \"" + utf8FromWindows1252(texture.TextureFormat) +
               "\" is neither DXT3NM nor 32ANM";
    format = formatOf(*code);
    const bool alpha = surfaces.AlphaLoaded
                           ? ComposeAlpha8(texture, surfaces, threads)
                           : CreateSurface8(surfaces, 8, texture.TextureSizeX, texture.TextureSizeY);
    if (!alpha)
        return "its alpha could not be composed";
    return std::nullopt;
}

// Saves the two intermediate bitmaps and converts the pictures they hold into TempBitmaps\name.bmp.
// The conversion takes the pictures from memory, as the converter would read them from the files;
// it is written only once both bitmaps are. With more than one thread the saving runs beside the
// encoding.
std::optional<std::string> saveAndConvert(const BitmapSurfaces& work, const fs::path& programFolder,
                                          const std::string& name, bool alphaLoaded,
                                          TextureContainer container, TextureOptions options) {
    auto save = [&]() -> std::optional<std::string> {
        if (!SaveBitmap24(work, programFolder, name + "_c"))
            return "TempBitmaps\\" + utf8FromWindows1252(name) + "_c.bmp could not be written";
        if (!SaveBitmap8(work, programFolder, name + "_a", alphaLoaded))
            return "TempBitmaps\\" + utf8FromWindows1252(name) + "_a.bmp could not be written";
        return std::nullopt;
    };
    auto encode = [&] {
        RgbaImage image;
        const Bitmap& colour = work.WorkSurface24.bitmap;
        const Bitmap alpha = alphaLoaded ? Bitmap{} : opaqueAlpha(colour.width, colour.height);
        if (!composeTextureImage(colour, alphaLoaded ? work.WorkSurface8.bitmap : alpha, image))
            return std::vector<std::uint8_t>{};
        return encodeTexture(image, container, options);
    };
    std::optional<std::string> saved;
    std::vector<std::uint8_t> file;
    if (options.threads == 1) {
        if ((saved = save()))
            return saved;
        file = encode();
    } else {
        std::future<std::optional<std::string>> saving;
        try {
            saving = std::async(std::launch::async, save);
        } catch (const std::system_error&) { // no thread to be had: save here instead
            std::promise<std::optional<std::string>> done;
            done.set_value(save());
            saving = done.get_future();
        }
        try {
            file = encode();
        } catch (...) {
            saving.wait(); // the surfaces it reads must outlive it
            throw;
        }
        if ((saved = saving.get()))
            return saved;
    }
    // An intermediate like the bitmaps: the move pass puts it in place durably.
    if (file.empty() || !replaceFileBytes(tempBitmapPath(programFolder, name), file, unsyncedFileSteps()))
        return "the converter could not write TempBitmaps\\" + utf8FromWindows1252(name) + ".bmp";
    return std::nullopt;
}

// Hands the work surfaces of a composed texture over to be saved and converted: on a thread of
// its own unless the build keeps to one (or no thread can be had).
// The task refers to the surfaces it was handed, so Finishing stays where it was made.
std::unique_ptr<Finishing> startFinishing(BitmapSurfaces& surfaces, const fs::path& programFolder,
                                          std::size_t i, const std::string& name, TextureFormat format,
                                          TextureContainer container, const TextureBuildOptions& build) {
    auto f = std::make_unique<Finishing>();
    f->index = i;
    f->name = name;
    f->surfaces.WorkSurface24 = std::exchange(surfaces.WorkSurface24, Surface{});
    f->surfaces.WorkSurface8 = std::exchange(surfaces.WorkSurface8, Surface{});
    TextureOptions options;
    options.format = format;
    options.encoder = build.encoder;
    options.threads = build.threads;
    auto finish = [&work = f->surfaces, folder = programFolder, name, alpha = surfaces.AlphaLoaded, container,
                   options] {
        try {
            return saveAndConvert(work, folder, name, alpha, container, options);
        } catch (const std::bad_alloc&) { // pictures too large for the memory left: no texture, no crash
            return std::optional<std::string>("the converter could not write TempBitmaps\\" +
                                              utf8FromWindows1252(name) + ".bmp");
        }
    };
    if (build.threads != 1) {
        try {
            f->failure = std::async(std::launch::async, finish);
            return f;
        } catch (const std::system_error&) { // no thread to be had: finish here instead
        }
    }
    std::promise<std::optional<std::string>> done;
    done.set_value(finish());
    f->failure = done.get_future();
    return f;
}

} // namespace

std::uintmax_t finishedTextureSize(const TextureSpec& texture) {
    const std::optional<std::int32_t> code = formatCode(texture.TextureFormat);
    if (!code || texture.TextureSizeX < 1 || texture.TextureSizeY < 1)
        return 0;
    TextureOptions options;
    options.format = formatOf(*code);
    return encodedTextureSize(texture.TextureSizeX, texture.TextureSizeY, containerOf(texture), options);
}

bool ComposeTexture24(const TextureSpec& texture, BitmapSurfaces& surfaces, Frontend& frontend,
                      unsigned threads) {
    const bool created = CreateSurface24(surfaces, 24, texture.TextureSizeX, texture.TextureSizeY);
    if (!copySections(surfaces, texture, created, StretchSection24, threads))
        return false;
    frontend.showPreview(previewOf(surfaces.WorkSurface24.bitmap));
    return true;
}

bool ComposeAlpha8(const TextureSpec& texture, BitmapSurfaces& surfaces, unsigned threads) {
    const bool created = CreateSurface8(surfaces, 8, texture.TextureSizeX, texture.TextureSizeY);
    if (!surfaces.AlphaLoaded)
        return created;
    return copySections(surfaces, texture, created, StretchSection8, threads);
}

Status MoveTexture(const fs::path& source, const fs::path& destination, FileSteps& steps) {
    std::error_code ec;
    if (!fs::is_directory(destination.parent_path(), ec))
        return Status::Error("The texture folder " + utf8FromPath(destination.parent_path()) +
                             " does not exist.");
    // Read into one buffer, not through a stream's small one: a finished texture is many
    // megabytes, and a stream would cost more than the write that follows.
    bool copied = false;
    const Status read = withFileBytes(source, [&](std::span<const std::uint8_t> bytes) {
        copied = replaceFileBytes(destination, bytes, steps).ok();
    });
    if (!read || !copied)
        return Status::Error("The texture " + utf8FromPath(source) + " could not be copied to " +
                             utf8FromPath(destination) + (read ? "" : ": " + read.message()) + ".");
    // The texture is in place: an intermediate bitmap left in TempBitmaps harms nothing.
    (void)steps.removeFile(source);
    return Status::Ok();
}

namespace {

// Composes each texture and has it saved and converted into TempBitmaps; the textures it left
// out go into the report. The jobs whose finished file waits there to be moved, by position
// (null for one left out or overwritten by a later texture of the same name).
std::vector<const TextureJob*> composeTextures(const AircraftSpec& spec, BitmapSurfaces& surfaces,
                                               Frontend& frontend, const fs::path& programFolder,
                                               const TextureJobs& jobs, const TextureBuildOptions& options,
                                               TextureBuildReport& report) {
    const std::size_t count = jobs.textures.size();
    std::vector<const TextureJob*> converted(count);

    // Texture i is saved and converted while texture i + 1 is composed; its outcome is taken
    // before anything of texture i + 1 is reported, so the report keeps the textures' order, and
    // before texture i + 1's files are written, so that files of one name are written in order.
    // At most two textures are in memory: the one finishing, the one composing.
    std::unique_ptr<Finishing> pending;
    auto finishPending = [&](bool last = false) {
        if (!pending)
            return;
        const std::string name = pending->name;
        if (const std::optional<std::string> failure = pending->failure.get()) {
            report.skipped.push_back(skippedSentence("Texture " + utf8FromWindows1252(name), *failure));
        } else {
            // A later texture of the same name has overwritten the earlier one's file, which must
            // then not be moved twice (names differing in case are one file on Windows).
            for (std::size_t k = 0; k < pending->index; ++k) {
                if (converted[k] != nullptr && equalsNoCase(converted[k]->name, name))
                    converted[k] = nullptr;
            }
            converted[pending->index] = &jobs.textures[pending->index];
        }
        // The last texture's surfaces stay with the build's surfaces until they are freed, as they
        // would had they never been handed over.
        if (last) {
            surfaces.WorkSurface24 = std::move(pending->surfaces.WorkSurface24);
            surfaces.WorkSurface8 = std::move(pending->surfaces.WorkSurface8);
        }
        pending.reset();
    };

    for (std::size_t i = 0; i < count; ++i) {
        const TextureJob& job = jobs.textures[i];
        frontend.setProgress(20.0 + double(i + 1) * 55.0 / double(count));
        FreeWorkSurfaces(surfaces);
        const std::string shown = utf8FromWindows1252(job.name);
        frontend.setStatusText("Working Texture - " + shortName(shown));
        if (!job.skipped.empty()) {
            finishPending();
            report.skipped.push_back(skippedSentence("Texture " + shown, job.skipped));
            continue;
        }
        TextureFormat format = TextureFormat::Dxt3;
        const std::optional<std::string> failure =
            compose(spec.Textures[job.index], surfaces, frontend, format, options.threads);
        finishPending();
        if (failure) {
            report.skipped.push_back(skippedSentence("Texture " + shown, *failure));
            continue;
        }
        pending = startFinishing(surfaces, programFolder, i, job.name, format,
                                 containerOf(spec.Textures[job.index]), options);
    }
    finishPending(true); // every finished file is in place before the move pass
    return converted;
}

// Moves each finished texture from TempBitmaps into its texture folder.
void moveTextures(Frontend& frontend, const fs::path& programFolder,
                  const std::vector<const TextureJob*>& converted, FileSteps& steps,
                  TextureBuildReport& report) {
    const std::size_t count = converted.size();
    for (std::size_t i = 0; i < count; ++i) {
        frontend.setStatusText("Moving New Textures");
        frontend.setProgress(75.0 + double(i + 1) * 5.0 / double(count));
        if (converted[i] == nullptr)
            continue;
        const TextureJob& job = *converted[i];
        if (Status moved = MoveTexture(tempBitmapPath(programFolder, job.name), job.destination, steps);
            !moved)
            report.skipped.push_back("Texture " + utf8FromWindows1252(job.name) +
                                     " was not moved: " + moved.text());
        else
            report.written.push_back(job.destination);
    }
}

// Copies the extra textures, which the build takes as they are.
void copyExtraTextures(Frontend& frontend, const std::vector<ExtraTextureJob>& extras, FileSteps& steps,
                       TextureBuildReport& report) {
    for (std::size_t j = 0; j < extras.size(); ++j) {
        const ExtraTextureJob& extra = extras[j];
        const std::string shown = utf8FromWindows1252(extra.name);
        frontend.setStatusText("Copying File - " + shortName(shown));
        frontend.setProgress(80.0 + double(j + 1) * 20.0 / double(extras.size()));
        std::error_code ec;
        if (!fs::is_regular_file(extra.source, ec)) {
            report.skipped.push_back("Extra texture " + shown +
                                     " was skipped: " + utf8FromPath(extra.source) + " does not exist.");
            continue;
        }
        if (!fs::is_directory(extra.destination.parent_path(), ec) ||
            !copyFileBytes(extra.source, extra.destination, steps)) {
            report.skipped.push_back("Extra texture " + shown + " could not be copied to " +
                                     utf8FromPath(extra.destination) + ".");
            continue;
        }
        report.written.push_back(extra.destination);
    }
}

} // namespace

TextureBuildReport BuildTextures(const AircraftSpec& spec, BitmapSurfaces& surfaces, Frontend& frontend,
                                 const fs::path& programFolder, const TextureJobs& jobs,
                                 const TextureBuildOptions& options, FileSteps& steps) {
    TextureBuildReport report;
    const std::vector<const TextureJob*> converted =
        composeTextures(spec, surfaces, frontend, programFolder, jobs, options, report);
    moveTextures(frontend, programFolder, converted, steps, report);
    copyExtraTextures(frontend, jobs.extras, steps, report);
    return report;
}

} // namespace livrano
