#pragma once

#include "video/SoundTimeline.h"

#include <QString>
#include <QtGlobal>

#include <vector>

// Turns the program's sounds into the samples of a recording (16-bit mono
// at VideoFormat::SampleRate) through GStreamer, without playing them.
namespace SoundDecoder {

// The longest sound taken, and the largest file read.
constexpr int MaxSeconds = 600;
constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;

// A sound file of any type GStreamer can decode (.wav, .mp3, ...); null
// with the reason in `error` when it is missing, not a plain file, too
// large or cannot be decoded.
SoundTimeline::Samples decodeFile(const QString &path, QString *error = nullptr);

// Samples made at another rate (speech), brought to the recording's.
SoundTimeline::Samples resample(const std::vector<qint16> &samples, int sampleRate, QString *error = nullptr);

} // namespace SoundDecoder
