#include "In4Reader.h"

#include "formats/Cp932.h"

#include <QtEndian>

template <class T>
bool In4Reader::readNumber(T &value)
{
    if (m_bytes.size() - m_offset < qsizetype(sizeof(T))) {
        return false;
    }
    value = qFromLittleEndian<T>(m_bytes.data() + m_offset);
    m_offset += sizeof(T);
    return true;
}

bool In4Reader::read(qint16 &value)
{
    return readNumber(value);
}

bool In4Reader::read(qint32 &value)
{
    return readNumber(value);
}

bool In4Reader::read(quint32 &value)
{
    return readNumber(value);
}

bool In4Reader::read(QString &value)
{
    const qsizetype start = m_offset;
    quint16 count = 0;
    if (!readNumber(count)) {
        return false;
    }
    if (m_bytes.size() - m_offset < count) {
        m_offset = start;
        return false;
    }
    value = Cp932::decode(m_bytes.sliced(m_offset, count).toByteArray());
    m_offset += count;
    return true;
}
