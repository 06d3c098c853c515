// SPDX-License-Identifier: MIT
#include "texture/dxt3_encoder.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <climits>
#include <cmath>

// Everything the search runs is forced inline, so that the AVX2 entry point below compiles all
// of it for AVX2 and the portable one for the baseline processor.
#if defined(__GNUC__)
#define ENCODER_INLINE [[gnu::always_inline]] inline
#else
#define ENCODER_INLINE inline
#endif

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define ENCODER_HAS_AVX2_PATH 1
#endif

namespace livrano {

namespace {

// The texels as three planes of 16 values: a layout the vectoriser takes whole.
struct Texels {
    alignas(64) std::int32_t channel[3][16];
};

// End points as 5:6:5 channel values: red, green, blue of colour0, then of colour1.
using Endpoints = std::array<int, 6>;

constexpr int kChannelMax[3] = {31, 63, 31};

// The search's effort, chosen on generated photographic pictures: more rounds and passes found
// next to nothing, fewer lost a measurable part of the quality.
constexpr int kAxisIterations = 4; // the refinement after it makes up for an axis a little off
constexpr int kRefineRounds = 3;
constexpr int kSearchPasses = 8;
// Errors below which a block keeps its end points (sums over 48 channel values): refining them
// below a mean square error of 1 per value, searching their neighbours below about 2. Either
// would cost a nearly smooth block as much as a noisy one and gain it nothing visible.
constexpr int kRefineAbove = 48;
constexpr int kSearchAbove = 100;

// The four palette entries per channel, in index order: colour0, colour1, 2/3 c0 + 1/3 c1 and
// 1/3 c0 + 2/3 c1, truncated as the decoder does.
struct Palette {
    std::int32_t channel[3][4];
};

ENCODER_INLINE int expand(int channel, int value) {
    return channel == 1 ? (value << 2) | (value >> 4) : (value << 3) | (value >> 2);
}

ENCODER_INLINE void paletteChannel(Palette& p, int channel, int c0, int c1) {
    p.channel[channel][0] = c0;
    p.channel[channel][1] = c1;
    p.channel[channel][2] = (2 * c0 + c1) / 3;
    p.channel[channel][3] = (c0 + 2 * c1) / 3;
}

ENCODER_INLINE Palette paletteOf(const Endpoints& e) {
    Palette p;
    paletteChannel(p, 0, expand(0, e[0]), expand(0, e[3]));
    paletteChannel(p, 1, expand(1, e[1]), expand(1, e[4]));
    paletteChannel(p, 2, expand(2, e[2]), expand(2, e[5]));
    return p;
}

// Squared distance of texel i to palette entry k.
ENCODER_INLINE std::int32_t distance(const Texels& t, const Palette& p, int k, int i) {
    const std::int32_t r = t.channel[0][i] - p.channel[0][k];
    const std::int32_t g = t.channel[1][i] - p.channel[1][k];
    const std::int32_t b = t.channel[2][i] - p.channel[2][k];
    return r * r + g * g + b * b;
}

// Sum of squared errors of the texels against their nearest palette entries; with `indices`,
// the entry each texel takes (the first of equally near ones). Entry by entry over all 16
// texels, so that the texel loops are the vectorised ones.
template <bool kIndices>
ENCODER_INLINE int blockError(const Texels& t, const Palette& p, std::int32_t* indices) {
    alignas(64) std::int32_t best[16];
    alignas(64) std::int32_t index[16] = {};
    for (int i = 0; i < 16; ++i)
        best[i] = distance(t, p, 0, i);
    for (int k = 1; k < 4; ++k) {
        for (int i = 0; i < 16; ++i) {
            const std::int32_t d = distance(t, p, k, i);
            if constexpr (kIndices)
                index[i] = d < best[i] ? k : index[i];
            best[i] = d < best[i] ? d : best[i];
        }
    }
    int total = 0;
    for (int i = 0; i < 16; ++i)
        total += best[i];
    if constexpr (kIndices)
        std::copy_n(index, 16, indices);
    return total;
}

// The 5:6:5 value whose expansion lies nearest to an 8-bit level (the two neighbours of the
// scaled value are tried, as expansion is not linear).
ENCODER_INLINE int quantise(int channel, double level) {
    const int max = kChannelMax[channel];
    const int low = std::min(static_cast<int>(level * max / 255.0), max); // level >= 0: truncation floors
    const int high = std::min(low + 1, max);
    return std::abs(expand(channel, high) - level) < std::abs(expand(channel, low) - level) ? high : low;
}

// For a block of one colour: per channel and level, the end points whose 2/3 entry comes
// nearest to it (index 2 for every texel); of equally near pairs the first, colour0 before
// colour1. Each entry value's first pair is found once, then each level takes the nearer of the
// entries around it.
struct SingleColourTable {
    std::uint8_t pair[3][256][2];

    SingleColourTable() {
        for (int c = 0; c < 3; ++c) {
            int first[256]; // entry value -> its first pair (a * 64 + b), -1 when no pair gives it
            std::fill_n(first, 256, -1);
            for (int a = kChannelMax[c]; a >= 0; --a)
                for (int b = kChannelMax[c]; b >= 0; --b)
                    first[(2 * expand(c, a) + expand(c, b)) / 3] = a * 64 + b;
            for (int level = 0; level < 256; ++level) {
                int found = -1;
                for (int d = 0; found < 0; ++d) {
                    for (int v : {level - d, level + d})
                        if (v >= 0 && v < 256 && first[v] >= 0 && (found < 0 || first[v] < found))
                            found = first[v];
                }
                pair[c][level][0] = static_cast<std::uint8_t>(found / 64);
                pair[c][level][1] = static_cast<std::uint8_t>(found % 64);
            }
        }
    }
};

const SingleColourTable& singleColourTable() {
    static const SingleColourTable table;
    return table;
}

// The best end points found so far and their error.
struct Search {
    const Texels& texels;
    Endpoints best{};
    int bestError = INT_MAX;
    std::int32_t bestIndices[16] = {};
    bool bestIndicesKnown = false;

    // The error of `e`, which becomes the best when it beats it; with `indices`, each texel's
    // palette entry too.
    template <bool kIndices = false>
    ENCODER_INLINE int consider(const Endpoints& e, std::int32_t* indices = nullptr) {
        const int error = blockError<kIndices>(texels, paletteOf(e), indices);
        if (error < bestError) {
            best = e;
            bestError = error;
            bestIndicesKnown = kIndices;
            if constexpr (kIndices)
                std::copy_n(indices, 16, bestIndices);
        }
        return error;
    }
};

// Two pairs of end points on the principal axis through the texels' mean: one spanning the
// texels' projections, one a standard deviation either side (nearer when the extremes are
// outliers of a noisy block).
ENCODER_INLINE std::array<Endpoints, 2> principalAxisStarts(const Texels& t) {
    int sum[3] = {};
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 16; ++i)
            sum[c] += t.channel[c][i];
    // Covariance times 16 * 16, exact in integers.
    // (16 x - sum) is within +-4080, so a product and the sum of 16 stay within 32 bits.
    std::int32_t cov[3][3] = {};
    for (int c = 0; c < 3; ++c) {
        for (int d = c; d < 3; ++d) {
            std::int32_t s = 0;
            for (int i = 0; i < 16; ++i)
                s += (16 * t.channel[c][i] - sum[c]) * (16 * t.channel[d][i] - sum[d]);
            cov[c][d] = cov[d][c] = s;
        }
    }
    // Power iteration from the row of the largest variance.
    int start = 0;
    for (int c = 1; c < 3; ++c)
        start = cov[c][c] > cov[start][start] ? c : start;
    double axis[3] = {double(cov[start][0]), double(cov[start][1]), double(cov[start][2])};
    for (int iteration = 0; iteration < kAxisIterations; ++iteration) {
        double next[3];
        for (int c = 0; c < 3; ++c)
            next[c] = double(cov[c][0]) * axis[0] + double(cov[c][1]) * axis[1] + double(cov[c][2]) * axis[2];
        const double length = std::max({std::abs(next[0]), std::abs(next[1]), std::abs(next[2])});
        if (length == 0)
            break;
        for (int c = 0; c < 3; ++c)
            axis[c] = next[c] * (1 / length);
    }
    const double norm = axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2];
    const double mean[3] = {sum[0] / 16.0, sum[1] / 16.0, sum[2] / 16.0};
    double low = 0, high = 0, spread = 0;
    if (norm > 0) {
        const double inverse = 1 / norm;
        for (int i = 0; i < 16; ++i) {
            double projection = 0;
            for (int c = 0; c < 3; ++c)
                projection += (t.channel[c][i] - mean[c]) * axis[c];
            low = std::min(low, projection * inverse);
            high = std::max(high, projection * inverse);
            spread += projection * projection * inverse;
        }
    }
    const double deviation = std::sqrt(spread / 16 / std::max(norm, 1e-300));
    std::array<Endpoints, 2> starts;
    for (int c = 0; c < 3; ++c) {
        starts[0][c] = quantise(c, std::clamp(mean[c] + axis[c] * low, 0.0, 255.0));
        starts[0][3 + c] = quantise(c, std::clamp(mean[c] + axis[c] * high, 0.0, 255.0));
        starts[1][c] = quantise(c, std::clamp(mean[c] - axis[c] * deviation, 0.0, 255.0));
        starts[1][3 + c] = quantise(c, std::clamp(mean[c] + axis[c] * deviation, 0.0, 255.0));
    }
    return starts;
}

// The end points that minimise the error for fixed palette indices (least squares, on exact
// integer sums), quantised. False when every texel takes the same weight.
ENCODER_INLINE bool leastSquares(const Texels& t, const std::int32_t* indices, Endpoints& e) {
    // Index -> weight of colour1, in thirds.
    constexpr int kWeight[4] = {0, 3, 1, 2};
    alignas(64) std::int32_t beta[16];
    for (int i = 0; i < 16; ++i)
        beta[i] = kWeight[indices[i]];
    int aa = 0, ab = 0, bb = 0;
    for (int i = 0; i < 16; ++i) {
        aa += (3 - beta[i]) * (3 - beta[i]);
        ab += (3 - beta[i]) * beta[i];
        bb += beta[i] * beta[i];
    }
    int ax[3] = {}, bx[3] = {};
    for (int c = 0; c < 3; ++c) {
        for (int i = 0; i < 16; ++i) {
            ax[c] += (3 - beta[i]) * t.channel[c][i];
            bx[c] += beta[i] * t.channel[c][i];
        }
    }
    const int determinant = aa * bb - ab * ab;
    if (determinant == 0)
        return false;
    for (int c = 0; c < 3; ++c) {
        const double a = 3.0 * (ax[c] * bb - bx[c] * ab) / determinant;
        const double b = 3.0 * (bx[c] * aa - ax[c] * ab) / determinant;
        e[c] = quantise(c, std::clamp(a, 0.0, 255.0));
        e[3 + c] = quantise(c, std::clamp(b, 0.0, 255.0));
    }
    return true;
}

// Least squares from `e`'s palette indices, again from the result's, while that improves.
ENCODER_INLINE void refine(Search& s, Endpoints e) {
    std::int32_t indices[16];
    int error = s.consider<true>(e, indices);
    for (int round = 0; round < kRefineRounds && error > kRefineAbove; ++round) {
        Endpoints next;
        if (!leastSquares(s.texels, indices, next) || next == e)
            return;
        std::int32_t nextIndices[16];
        const int nextError = s.consider<true>(next, nextIndices);
        if (nextError >= error)
            return;
        e = next;
        error = nextError;
        std::copy_n(nextIndices, 16, indices);
    }
}

// Moves of one channel's end points tried around the best: each end point on its own; both
// together, and apart or closer, only in a pass after one where no single move helped (on the
// benchmark's pictures: the same quality as trying all eight always, a tenth fewer evaluations).
ENCODER_INLINE void neighbourSearch(Search& s) {
    constexpr int kMoves[8][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {1, 1}, {-1, 1}, {1, -1}};
    bool pairs = false;
    for (int pass = 0; pass < kSearchPasses; ++pass) {
        bool improved = false;
        for (int c = 0; c < 3; ++c) {
            for (int m = pairs ? 4 : 0; m < (pairs ? 8 : 4); ++m) {
                Endpoints e = s.best;
                e[c] += kMoves[m][0];
                e[3 + c] += kMoves[m][1];
                if (e[c] < 0 || e[c] > kChannelMax[c] || e[3 + c] < 0 || e[3 + c] > kChannelMax[c])
                    continue;
                const int before = s.bestError;
                improved |= s.consider(e) < before;
            }
        }
        if (s.bestError == 0 || (pairs && !improved))
            return;
        pairs = !improved;
    }
}

ENCODER_INLINE void write(const Endpoints& e, const std::int32_t* indices, std::uint8_t* colour) {
    const unsigned c0 = unsigned(e[0] << 11 | e[1] << 5 | e[2]);
    const unsigned c1 = unsigned(e[3] << 11 | e[4] << 5 | e[5]);
    colour[0] = static_cast<std::uint8_t>(c0);
    colour[1] = static_cast<std::uint8_t>(c0 >> 8);
    colour[2] = static_cast<std::uint8_t>(c1);
    colour[3] = static_cast<std::uint8_t>(c1 >> 8);
    for (std::size_t row = 0; row < 4; ++row)
        colour[4 + row] = static_cast<std::uint8_t>(indices[row * 4] | indices[row * 4 + 1] << 2 |
                                                    indices[row * 4 + 2] << 4 | indices[row * 4 + 3] << 6);
}

ENCODER_INLINE void encode(const std::uint8_t* rgba, std::uint8_t* colour) {
    Texels t;
    bool single = true;
    for (int i = 0; i < 16; ++i) {
        for (int c = 0; c < 3; ++c) {
            t.channel[c][i] = rgba[i * 4 + c];
            single = single && rgba[i * 4 + c] == rgba[c];
        }
    }
    std::int32_t indices[16];
    if (single) {
        const SingleColourTable& table = singleColourTable();
        Endpoints e;
        for (int c = 0; c < 3; ++c) {
            e[c] = table.pair[c][rgba[c]][0];
            e[3 + c] = table.pair[c][rgba[c]][1];
        }
        std::fill_n(indices, 16, 2);
        write(e, indices, colour);
        return;
    }
    Search s{t};
    const std::array<Endpoints, 2> starts = principalAxisStarts(t);
    refine(s, starts[0]);
    if (s.bestError > kSearchAbove) // the second start pays on noisy blocks only
        refine(s, starts[1]);
    if (s.bestError > kSearchAbove)
        neighbourSearch(s);
    if (!s.bestIndicesKnown)
        blockError<true>(t, paletteOf(s.best), s.bestIndices);
    write(s.best, s.bestIndices, colour);
}

void encodePortable(const std::uint8_t* rgba, std::uint8_t* colour) {
    encode(rgba, colour);
}

#ifdef ENCODER_HAS_AVX2_PATH
[[gnu::target("avx2")]] void encodeAvx2(const std::uint8_t* rgba, std::uint8_t* colour) {
    encode(rgba, colour);
}
#endif

} // namespace

bool encoderPathAvailable(EncoderPath path) {
#ifdef ENCODER_HAS_AVX2_PATH
    if (path == EncoderPath::Avx2)
        return __builtin_cpu_supports("avx2");
#endif
    return path == EncoderPath::Portable;
}

void encodeColourBlock(const std::uint8_t* rgba, std::uint8_t* colour, EncoderPath path) {
    assert(encoderPathAvailable(path));
#ifdef ENCODER_HAS_AVX2_PATH
    if (path == EncoderPath::Avx2)
        return encodeAvx2(rgba, colour);
#endif
    (void)path;
    encodePortable(rgba, colour);
}

void encodeColourBlock(const std::uint8_t* rgba, std::uint8_t* colour) {
    static const EncoderPath fastest =
        encoderPathAvailable(EncoderPath::Avx2) ? EncoderPath::Avx2 : EncoderPath::Portable;
    encodeColourBlock(rgba, colour, fastest);
}

} // namespace livrano
