#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>

// The bytes of a mono 16-bit PCM WAV file at `rate` holding `milliseconds`
// of the samples `sample(i)` gives, for tests that need a sound of a known
// length and level.
inline QByteArray toneWav(quint32 rate, int milliseconds, const std::function<qint16(quint32 index)> &sample)
{
    const quint32 count = rate * quint32(milliseconds) / 1000;
    QByteArray data;
    auto put32 = [&data](quint32 value) { data.append(reinterpret_cast<const char *>(&value), 4); };
    auto put16 = [&data](quint16 value) { data.append(reinterpret_cast<const char *>(&value), 2); };
    data.append("RIFF");
    put32(36 + count * 2);
    data.append("WAVEfmt ");
    put32(16);
    put16(1); // PCM
    put16(1); // mono
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    data.append("data");
    put32(count * 2);
    for (quint32 i = 0; i < count; ++i) {
        put16(quint16(sample(i)));
    }
    return data;
}

// A flat square tone at `rate` in the file `path`, sounding from its first
// sample to its last; the path, or empty when it could not be written.
inline QString writeSquareTone(const QString &path, quint32 rate, int milliseconds)
{
    const QByteArray data = toneWav(rate, milliseconds, [](quint32 i) { return qint16(i % 48 < 24 ? 6000 : -6000); });
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() ? path : QString();
}
