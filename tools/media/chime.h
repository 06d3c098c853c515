// SPDX-License-Identifier: MIT
#pragma once
// The confirmation sound: a short two-note chime, computed sample by sample.

#include <QByteArray>

namespace livrano::media {

// A complete WAV file: PCM, 44100 Hz, 16-bit, mono, under one second.
QByteArray chimeWav();

} // namespace livrano::media
