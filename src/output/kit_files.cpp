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

// The textures crossing each row of the template, so that a row is made from its own few.
std::vector<std::vector<std::size_t>> texturesByRow(const TemplateLayout& layout) {
    std::vector<std::vector<std::size_t>> rows(std::size_t(layout.height));
    for (std::size_t i = 0; i < layout.places.size(); ++i)
        for (int y = layout.places[i].y; y < layout.places[i].y + layout.places[i].height; ++y)
            rows[std::size_t(y)].push_back(i);
    return rows;
}

void composeTemplate(const KitPlan& plan, bool alpha, KitFiles& files) {
    const std::vector<std::vector<std::size_t>> crossing = texturesByRow(plan.layout);
    const auto& textures = plan.source.textures;
    const auto& places = plan.layout.places;
    files.templateBmp = encodeBmp24(plan.layout.width, plan.layout.height, [&](int y, std::uint8_t* bgr) {
        std::memset(bgr, kKitNeutralGrey, std::size_t(plan.layout.width) * 3);
        for (std::size_t i : crossing[std::size_t(y)]) {
            const std::uint8_t* rgba = textures[i].decoded.image.pixel(0, y - places[i].y);
            std::uint8_t* out = bgr + std::size_t(places[i].x) * 3;
            for (int x = 0; x < places[i].width; ++x, out += 3, rgba += 4) {
                out[0] = rgba[2];
                out[1] = rgba[1];
                out[2] = rgba[0];
            }
        }
    });
    if (!alpha)
        return;
    const std::vector<PaletteEntry> grey = greyRamp();
    files.alphaBmp = encodeBmp8(plan.layout.width, plan.layout.height, grey, [&](int y, std::uint8_t* a) {
        std::memset(a, 255, std::size_t(plan.layout.width));
        for (std::size_t i : crossing[std::size_t(y)]) {
            const std::uint8_t* rgba = textures[i].decoded.image.pixel(0, y - places[i].y);
            for (int x = 0; x < places[i].width; ++x)
                a[places[i].x + x] = rgba[std::size_t(x) * 4 + 3];
        }
    });
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
