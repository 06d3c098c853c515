// SPDX-License-Identifier: MIT
#include "output/kit_files.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "aircraft/cipher.h"
#include "aircraft/profile.h"
#include "app/caseless_folder.h"
#include "app/code_page.h"
#include "app/text.h"
#include "output/configuration_text.h"
#include "texture/bitmap.h"
#include "texture/bmp_writer.h"
#include "texture/guide_picture.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

void composeTemplate(const KitPlan& plan, bool alpha, KitFiles& files) {
    const int width = plan.layout.width;
    const int height = plan.layout.height;
    Bitmap colour{
        width, height, 3, std::vector<std::uint8_t>(std::size_t(width) * height * 3, kKitNeutralGrey), {}};
    Bitmap grey{width, height, 1, {}, greyRamp()};
    if (alpha)
        grey.pixels.assign(std::size_t(width) * height, 255);
    for (std::size_t i = 0; i < plan.source.textures.size(); ++i) {
        const RgbaImage& image = plan.source.textures[i].decoded.image;
        const PackedTexture& place = plan.layout.places[i];
        for (int y = 0; y < image.height; ++y) {
            std::uint8_t* bgr = colour.row(place.y + y) + std::size_t(place.x) * 3;
            const std::uint8_t* rgba = image.pixel(0, y);
            for (int x = 0; x < image.width; ++x, bgr += 3, rgba += 4) {
                bgr[0] = rgba[2];
                bgr[1] = rgba[1];
                bgr[2] = rgba[0];
            }
            if (!alpha)
                continue;
            std::uint8_t* a = grey.row(place.y + y) + place.x;
            rgba = image.pixel(0, y);
            for (int x = 0; x < image.width; ++x)
                a[x] = rgba[std::size_t(x) * 4 + 3];
        }
    }
    files.templateBmp = encodeBmp24(colour);
    if (alpha)
        files.alphaBmp = encodeBmp8(grey, grey.palette);
}

// The installed file as the program reads it, and what a new entry takes from the factory livery:
// its model and panel.
std::string dataCopy(const KitPlan& plan) {
    std::string text = plan.source.installedCfg;
    if (!text.empty() && text.back() != '\n')
        text += "\r\n";
    return text + "\r\n[livrano]\r\nmodel=" + trim(plan.source.livery.model) +
           "\r\npanel=" + trim(plan.source.livery.panel) + "\r\n";
}

std::string configuration(const KitPlan& plan) {
    ProfileDocument document(configurationText(plan.spec, plan.extraTextures, ExtraFieldSpec{}));
    document.write("Main", kKitMarkKey, "1");
    std::string bytes = document.bytes();
    clsEncrypt cipher;
    cipher.EncryptByte(bytes, kProgramKey);
    return bytes;
}

struct Staging {
    FileOperations& operations;
    std::vector<StagedFile> staged;

    Status stage(const fs::path& file, std::string_view bytes) {
        StagedFile s;
        if (Status status = stageFileBytes(file, bytes, operations, s); !status)
            return status;
        staged.push_back(s);
        return Status::Ok();
    }
    void discardFrom(std::size_t first) {
        for (std::size_t i = first; i < staged.size(); ++i)
            discardStagedFile(staged[i], operations);
    }
};

std::string_view asText(const std::vector<std::uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

} // namespace

Status composeKitFiles(const KitPlan& plan, KitFiles& files) {
    files = {};
    composeTemplate(plan, !plan.alphaFile.empty(), files);
    std::vector<GuideBox> boxes;
    for (std::size_t i = 0; i < plan.source.textures.size(); ++i) {
        const PackedTexture& p = plan.layout.places[i];
        boxes.push_back({p.x, p.y, p.width, p.height, plan.source.textures[i].fileName});
    }
    if (Status s =
            encodeGuidePng(plan.layout.width, plan.layout.height, boxes, kGuideZlibLevel, files.guidePng);
        !s)
        return s;
    files.dataCfg = dataCopy(plan);
    files.configuration = configuration(plan);
    return Status::Ok();
}

Status writeKitFiles(const KitPlan& plan, const KitFiles& files, FileOperations& operations) {
    for (const fs::path& folder :
         {plan.templateFile.parent_path(), plan.dataFolder, plan.configFile.parent_path()})
        if (Status s = operations.makeFolder(folder); !s)
            return s;
    Staging staging{operations, {}};
    std::vector<std::pair<fs::path, std::string_view>> writes = {
        {CaselessFolder(plan.dataFolder).find("Aircraft.cfg"), files.dataCfg},
        {plan.templateFile, asText(files.templateBmp)},
    };
    if (!plan.alphaFile.empty())
        writes.emplace_back(plan.alphaFile, asText(files.alphaBmp));
    writes.emplace_back(plan.guideFile, asText(files.guidePng));
    writes.emplace_back(plan.configFile, files.configuration);
    for (const auto& [file, bytes] : writes)
        if (Status s = staging.stage(file, bytes); !s) {
            staging.discardFrom(0);
            return s;
        }
    for (const auto& [from, to] : plan.keptAside)
        if (Status s = operations.renameFile(from, to); !s) {
            staging.discardFrom(0);
            return s;
        }
    if (!plan.keptAside.empty())
        if (Status s = operations.syncFolder(plan.templateFile.parent_path()); !s) {
            staging.discardFrom(0);
            return s;
        }
    for (std::size_t i = 0; i < staging.staged.size(); ++i)
        if (Status s = commitStagedFile(staging.staged[i], operations); !s) {
            staging.discardFrom(i + 1);
            return s;
        }
    if (plan.replacedConfig)
        return operations.removeFile(*plan.replacedConfig);
    return Status::Ok();
}

} // namespace livrano
