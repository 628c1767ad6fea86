#pragma once

#include <QByteArrayView>
#include <QString>

// Reads settings-file fields one after the other. A field that does not fit
// in what is left of the bytes is not read at all: the target keeps its value
// and the read reports false, so no field is ever half-read.
class In4Reader
{
public:
    explicit In4Reader(QByteArrayView bytes) : m_bytes(bytes) {}

    bool read(qint16 &value);
    bool read(qint32 &value);
    bool read(quint32 &value);
    bool read(QString &value);

    // Where the next field starts.
    qsizetype offset() const { return m_offset; }

private:
    template <class T> bool readNumber(T &value);

    QByteArrayView m_bytes;
    qsizetype m_offset = 0;
};
