// SPDX-License-Identifier: MIT
#include "texture/texture_fixtures.h"

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

namespace livrano::testkit {

Bitmap gradientPicture(int width, int height) {
    Bitmap b{width, height, 3, {}, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int v : {x * 4, y * 4, (x + y) * 2})
                b.pixels.push_back(static_cast<std::uint8_t>(v));
    return b;
}

Bitmap greyPicture(int width, int height) {
    Bitmap b{width, height, 1, {}, greyRamp()};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.pixels.push_back(static_cast<std::uint8_t>(x * 16 + y * 3));
    return b;
}

SimulatorFolders::SimulatorFolders() {
    std::filesystem::create_directories(program / "TempBitmaps");
    std::filesystem::create_directories(aircraft / "Texture");
    std::filesystem::create_directories(aircraft / "Texture.qrx");
}

std::string littleEndian(std::uint32_t v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i)
        s.push_back(static_cast<char>(v >> (8 * i)));
    return s;
}

std::string bmpHeaders(std::uint32_t fileSize, std::uint32_t pixelOffset, int width, int height, int bits,
                       std::uint32_t compression, std::uint32_t imageSize) {
    const auto le = littleEndian;
    return "BM" + le(fileSize, 4) + le(0, 4) + le(pixelOffset, 4) + le(40, 4) +
           le(static_cast<std::uint32_t>(width), 4) + le(static_cast<std::uint32_t>(height), 4) + le(1, 2) +
           le(static_cast<std::uint32_t>(bits), 2) + le(compression, 4) + le(imageSize, 4) +
           std::string(16, '\0');
}

bool limitAddressSpace(std::size_t headroom) {
    long pages = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr)
        return false;
    const bool read = std::fscanf(statm, "%ld", &pages) == 1;
    std::fclose(statm);
    pthread_attr_t large;
    if (!read || pthread_attr_init(&large) != 0 ||
        pthread_attr_setstacksize(&large, std::size_t{256} << 20) != 0 ||
        pthread_setattr_default_np(&large) != 0)
        return false;
    const rlim_t now = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
    const rlimit limit{now + headroom, RLIM_INFINITY};
    return setrlimit(RLIMIT_AS, &limit) == 0;
}

} // namespace livrano::testkit
