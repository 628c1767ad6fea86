#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

// Writes 16-bit mono samples as a RIFF WAVE file.
namespace WavFile {

// False, with the reason naming the file, when it cannot be written.
bool write(const QString &path, const std::vector<qint16> &samples, int sampleRate, QString &error);

} // namespace WavFile
