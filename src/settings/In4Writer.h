#pragma once

#include <QByteArray>
#include <QString>

// Appends settings-file fields to a byte array: numbers little-endian,
// strings as a 16-bit byte count and their code page 932 bytes.
class In4Writer
{
public:
    void write(qint16 value);
    void write(qint32 value);
    void write(quint32 value);
    // A string longer than a count can say keeps its first 65535 bytes. A
    // string with a character that has no code page 932 form is written
    // empty: its bytes would read back as another text, another path.
    void write(const QString &value);

    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
