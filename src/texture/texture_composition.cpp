#include "texture/texture_composition.h"

#include <algorithm>
#include <future>
#include <system_error>

#include "app/text.h"
#include "texture/bitmap_surfaces.h"
#include "texture/texture_converter.h"
#include "texture/texture_preview.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

std::size_t sectionCount(const TextureSpec& texture) {
    return std::min<std::size_t>(static_cast<std::size_t>(std::max<int>(texture.NumSectionsOnTexture, 0)),
                                 texture.Sections.size());
}

// Copies every section of the texture with the stretch operation of one depth. The result is
// that of the last copy: a failed earlier copy does not count, as the textures were always made.
template <typename Stretch>
bool copySections(Application& app, const TextureSpec& texture, bool created, Stretch stretch) {
    bool result = created;
    if (!created)
        return false;
    for (std::size_t s = 0; s < sectionCount(texture); ++s) {
        const TextureSection& sec = texture.Sections[s];
        result = stretch(app.surfaces, sec.DestLeft, sec.DestTop, sec.DestRight - sec.DestLeft,
                         sec.DestBottom - sec.DestTop, sec.TemplateLeft, sec.TemplateTop,
                         sec.TemplateRight - sec.TemplateLeft, sec.TemplateBottom - sec.TemplateTop);
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

// Composes one texture and saves its two intermediate bitmaps; the reason when it cannot.
std::optional<std::string> composeAndSave(Application& app, std::size_t i, const std::string& name,
                                          std::int32_t& code) {
    const TextureSpec& texture = app.spec.Textures[i];
    if (!ComposeTexture24(app, i))
        return "its colour could not be composed from the template";
    const std::optional<std::int32_t> format = formatCode(texture.TextureFormat);
    if (!format)
        return "its format \"" + texture.TextureFormat + "\" is neither DXT3NM nor 32ANM";
    code = *format;
    if (!SaveBitmap24(app.surfaces, app.programFolder, name + "_c"))
        return "TempBitmaps\\" + name + "_c.bmp could not be written";
    const bool alpha = app.flags.AlphaLoaded
                           ? ComposeAlpha8(app, i)
                           : CreateSurface8(app.surfaces, 8, texture.TextureSizeX, texture.TextureSizeY);
    if (!alpha)
        return "its alpha could not be composed";
    if (!SaveBitmap8(app.surfaces, app.programFolder, name + "_a", app.flags.AlphaLoaded))
        return "TempBitmaps\\" + name + "_a.bmp could not be written";
    return std::nullopt;
}

// One texture's conversion, on a thread of its own while the next texture is composed.
struct Conversion {
    std::size_t index = 0;
    std::string name;
    std::future<bool> written;
};

Conversion startConversion(const Application& app, std::size_t i, const std::string& name, std::int32_t code,
                           bool overlap) {
    Conversion c{i, name, {}};
    auto convert = [folder = app.programFolder, name, code] {
        return CompressTexture(folder, name + "_c", name + "_a", name, 0, code);
    };
    if (overlap) {
        try {
            c.written = std::async(std::launch::async, convert);
            return c;
        } catch (const std::system_error&) { // no thread to be had: convert here instead
        }
    }
    std::promise<bool> done;
    done.set_value(convert());
    c.written = done.get_future();
    return c;
}

// Whether two textures' files (N, N_c and N_a) meet: the later one's bitmaps must then wait
// until the earlier one's converter has read its own and written its texture.
bool shareAFile(const std::string& a, const std::string& b) {
    for (const char* x : {"", "_c", "_a"})
        for (const char* y : {"", "_c", "_a"})
            if (equalsNoCase(a + x, b + y))
                return true;
    return false;
}

} // namespace

bool ComposeTexture24(Application& app, std::size_t index) {
    const TextureSpec& texture = app.spec.Textures[index];
    const bool created = CreateSurface24(app.surfaces, 24, texture.TextureSizeX, texture.TextureSizeY);
    if (!copySections(app, texture, created, StretchSection24))
        return false;
    app.frontend.showPreview(previewOf(app.surfaces.WorkSurface24.bitmap));
    return true;
}

bool ComposeAlpha8(Application& app, std::size_t index) {
    const TextureSpec& texture = app.spec.Textures[index];
    const bool created = CreateSurface8(app.surfaces, 8, texture.TextureSizeX, texture.TextureSizeY);
    if (!app.flags.AlphaLoaded)
        return created;
    return copySections(app, texture, created, StretchSection8);
}

Status MoveTexture(const fs::path& source, const fs::path& destination, FileSteps& steps) {
    std::error_code ec;
    if (!fs::is_directory(destination.parent_path(), ec))
        return Status::Error("The texture folder " + destination.parent_path().string() + " does not exist.");
    if (!copyFileBytes(source, destination, steps))
        return Status::Error("The texture " + source.string() + " could not be copied to " +
                             destination.string() + ".");
    (void)steps.removeFile(source);
    return Status::Ok();
}

TextureBuildReport BuildTextures(Application& app, const TextureJobs& jobs, bool overlap, FileSteps& steps) {
    TextureBuildReport report;
    Frontend& frontend = app.frontend;
    const std::size_t count = jobs.textures.size();
    std::vector<const TextureJob*> converted(count);

    // Texture i's conversion runs while texture i + 1 is composed and saved; its outcome is
    // taken before anything of texture i + 1 is reported, so the report keeps the textures'
    // order. At most two textures are in memory: the one converting, the one composing.
    std::optional<Conversion> pending;
    auto finishPending = [&] {
        if (!pending)
            return;
        const std::string name = pending->name;
        if (!pending->written.get()) {
            report.skipped.push_back("Texture " + name +
                                     " was skipped: the converter could not write TempBitmaps\\" + name +
                                     ".bmp.");
        } else {
            // A later texture of the same name has overwritten the earlier one's file, which must
            // then not be moved twice (names differing in case are one file on Windows).
            for (std::size_t k = 0; k < pending->index; ++k) {
                if (converted[k] != nullptr && equalsNoCase(converted[k]->name, name))
                    converted[k] = nullptr;
            }
            converted[pending->index] = &jobs.textures[pending->index];
        }
        pending.reset();
    };

    for (std::size_t i = 0; i < count; ++i) {
        const TextureJob& job = jobs.textures[i];
        frontend.setProgress(20.0 + double(i + 1) * 55.0 / double(count));
        FreeWorkSurfaces(app.surfaces);
        frontend.setStatusText("Working Texture - " + job.name);
        if (!job.skipped.empty()) {
            finishPending();
            report.skipped.push_back(skippedSentence("Texture " + job.name, job.skipped));
            continue;
        }
        if (pending && shareAFile(pending->name, job.name))
            finishPending();
        std::int32_t code = 0;
        const std::optional<std::string> failure = composeAndSave(app, job.index, job.name, code);
        finishPending();
        if (failure) {
            report.skipped.push_back(skippedSentence("Texture " + job.name, *failure));
            continue;
        }
        pending = startConversion(app, i, job.name, code, overlap);
    }
    finishPending(); // every finished file is in place before the move pass

    for (std::size_t i = 0; i < count; ++i) {
        frontend.setStatusText("Moving New Textures");
        frontend.setProgress(75.0 + double(i + 1) * 5.0 / double(count));
        if (converted[i] == nullptr)
            continue;
        const TextureJob& job = *converted[i];
        if (Status moved = MoveTexture(tempBitmapPath(app.programFolder, job.name), job.destination, steps);
            !moved)
            report.skipped.push_back("Texture " + job.name + " was not moved: " + moved.message());
        else
            report.written.push_back(job.destination);
    }

    for (std::size_t j = 0; j < jobs.extras.size(); ++j) {
        const ExtraTextureJob& extra = jobs.extras[j];
        frontend.setStatusText("Copying File - " + extra.name);
        frontend.setProgress(80.0 + double(j + 1) * 20.0 / double(jobs.extras.size()));
        std::error_code ec;
        if (!fs::is_regular_file(extra.source, ec)) {
            report.skipped.push_back("Extra texture " + extra.name +
                                     " was skipped: " + extra.source.string() + " does not exist.");
            continue;
        }
        if (!fs::is_directory(extra.destination.parent_path(), ec) ||
            !copyFileBytes(extra.source, extra.destination, steps)) {
            report.skipped.push_back("Extra texture " + extra.name + " could not be copied to " +
                                     extra.destination.string() + ".");
            continue;
        }
        report.written.push_back(extra.destination);
    }
    return report;
}

} // namespace livrano
