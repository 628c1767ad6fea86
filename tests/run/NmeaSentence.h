#pragma once

#include <QByteArray>

// "$body*hh\r\n" with the checksum a receiver would give it.
inline QByteArray nmeaSentence(const QByteArray &body)
{
    unsigned char sum = 0;
    for (char c : body)
        sum ^= static_cast<unsigned char>(c);
    return '$' + body + '*' + QByteArray::number(sum, 16).rightJustified(2, '0').toUpper() + "\r\n";
}
