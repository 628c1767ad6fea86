#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

// Writes 16-bit mono samples as a RIFF WAVE file.
namespace WavFile {

// False when the file cannot be written.
bool write(const QString &path, const std::vector<qint16> &samples, int sampleRate);

} // namespace WavFile
