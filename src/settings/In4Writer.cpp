#include "In4Writer.h"

#include "formats/Cp932.h"

#include <QtEndian>

#include <limits>

namespace {

template <class T>
void appendLittleEndian(QByteArray &bytes, T value)
{
    char raw[sizeof(T)];
    qToLittleEndian(value, raw);
    bytes.append(raw, sizeof(T));
}

} // namespace

void In4Writer::write(qint16 value)
{
    appendLittleEndian(m_bytes, value);
}

void In4Writer::write(qint32 value)
{
    appendLittleEndian(m_bytes, value);
}

void In4Writer::write(quint32 value)
{
    appendLittleEndian(m_bytes, value);
}

void In4Writer::write(const QString &value)
{
    QByteArray encoded = Cp932::encodeExactly(value).value_or(QByteArray());
    constexpr qsizetype MaxBytes = std::numeric_limits<quint16>::max();
    if (encoded.size() > MaxBytes) {
        encoded.truncate(MaxBytes);
    }
    appendLittleEndian(m_bytes, quint16(encoded.size()));
    m_bytes.append(encoded);
}
