#include "WavFile.h"

#include "app/FileReplacement.h"

#include <QDataStream>

namespace WavFile {

bool write(const QString &path, const std::vector<qint16> &samples, int sampleRate, QString &error)
{
    constexpr quint16 channels = 1;
    constexpr quint16 bitsPerSample = 16;
    constexpr quint16 blockAlign = channels * bitsPerSample / 8;
    const auto dataBytes = static_cast<quint32>(samples.size() * blockAlign);

    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataBytes);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << channels << quint32(sampleRate) << quint32(sampleRate * blockAlign)
        << blockAlign << bitsPerSample;
    out.writeRawData("data", 4);
    out << dataBytes;
    for (const qint16 sample : samples) {
        out << sample;
    }
    // Put in place only once whole: a failed write leaves no stub behind.
    return FileReplacement::write(path, bytes, &error);
}

} // namespace WavFile
