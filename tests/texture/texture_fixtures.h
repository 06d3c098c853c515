// SPDX-License-Identifier: MIT
#pragma once
// Pictures and folders shared by the texture tests.

#include <cstdint>
#include <filesystem>
#include <string>

#include "output/application.h"
#include "support/recording_frontend.h"
#include "support/temp_dir.h"
#include "texture/bitmap.h"
#include "texture/template_loader.h"
#include "texture/texture_composition.h"

namespace livrano::testkit {

// A colour picture of smooth gradients: blue = x * 4, green = y * 4, red = (x + y) * 2 (mod 256).
Bitmap gradientPicture(int width, int height);

// An indexed picture with the grey ramp whose index at (x, y) is (x * 16 + y * 3) mod 256.
Bitmap greyPicture(int width, int height);

// A program folder two levels below a simulator root with an aircraft "B737" whose folders
// "Texture" and "Texture.qrx" exist, and the program's TempBitmaps folder.
struct SimulatorFolders {
    TempDir root;
    std::filesystem::path program = root / "Sim/Corvane Software/Livrano";
    std::filesystem::path aircraft = root / "Sim/Aircraft/B737";
    SimulatorFolders();
};

// An application over those folders with a recording frontend.
struct TestApp {
    SimulatorFolders folders;
    RecordingFrontend frontend;
    Application app{folders.program, frontend};

    // The template loaded, and textures built, on this application's state.
    Status loadTemplate(const std::string& path) {
        return LoadTemplate(app.spec, app.surfaces, frontend, path);
    }
    TextureBuildReport buildTextures(const TextureJobs& jobs, const TextureBuildOptions& options = {}) {
        return BuildTextures(app.spec, app.surfaces, frontend, app.programFolder, jobs, options);
    }
};

// `v` as `bytes` little-endian bytes, for spelling out expected file headers.
std::string littleEndian(std::uint32_t v, int bytes);

// The 14-byte file header and 40-byte info header of a BMP file, planes 1 and the fields after
// the image size zero.
std::string bmpHeaders(std::uint32_t fileSize, std::uint32_t pixelOffset, int width, int height, int bits,
                       std::uint32_t compression = 0, std::uint32_t imageSize = 0);

// For the child process of a death test: lets the process map at most `headroom` more bytes, so
// a large allocation fails, and gives new threads stacks larger than any a finished thread left
// for reuse, so starting one fails too. False when the limit could not be set.
bool limitAddressSpace(std::size_t headroom);

} // namespace livrano::testkit
