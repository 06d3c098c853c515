// SPDX-License-Identifier: MIT
#include "chime.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "app/little_endian.h"

namespace livrano::media {
namespace {

constexpr int kRate = 44100;
constexpr double kSeconds = 0.85;

struct Partial {
    double ratio; // of the note's frequency
    double level;
    double decay; // per second
};

// A soft bell: the fundamental, its octave and two slightly inharmonic overtones that die fast.
constexpr Partial kBell[] = {{1.0, 1.0, 5.5}, {2.0, 0.32, 8.0}, {3.01, 0.10, 12.0}, {4.2, 0.06, 16.0}};

double note(double frequency, double t) {
    if (t < 0) {
        return 0;
    }
    const double attack = std::min(1.0, t / 0.004); // 4 ms, no click
    double sum = 0;
    for (const Partial& p : kBell) {
        sum += p.level * std::exp(-p.decay * t) * std::sin(2 * std::numbers::pi * frequency * p.ratio * t);
    }
    return attack * sum;
}

} // namespace

QByteArray chimeWav() {
    const int count = static_cast<int>(kSeconds * kRate);
    std::vector<double> wave(static_cast<std::size_t>(count));
    double peak = 0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kRate;
        // E6 then B6, a fifth above, 110 ms later.
        double v = 0.8 * note(1318.51, t) + 0.7 * note(1975.53, t - 0.11);
        const double tail = (kSeconds - t) / 0.04; // fade the last 40 ms to silence
        v *= std::clamp(tail, 0.0, 1.0);
        wave[static_cast<std::size_t>(i)] = v;
        peak = std::max(peak, std::abs(v));
    }
    const double gain = peak > 0 ? 0.55 * 32767 / peak : 0;

    const auto dataBytes = static_cast<std::uint32_t>(count * 2);
    QByteArray out;
    out.append("RIFF");
    appendLe32(out, 36 + dataBytes);
    out.append("WAVEfmt ");
    appendLe32(out, 16);
    appendLe16(out, 1); // PCM
    appendLe16(out, 1); // mono
    appendLe32(out, kRate);
    appendLe32(out, kRate * 2);
    appendLe16(out, 2);
    appendLe16(out, 16);
    out.append("data");
    appendLe32(out, dataBytes);
    for (const double v : wave) {
        const auto sample = static_cast<std::int16_t>(std::lround(v * gain));
        appendLe16(out, static_cast<std::uint16_t>(sample));
    }
    return out;
}

} // namespace livrano::media
