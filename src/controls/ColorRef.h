#pragma once

#include <QColor>
#include <QtGlobal>

// Colours are kept as 32-bit values 0x00BBGGRR, the form the settings file
// and the controls' properties use.
namespace ColorRef {

inline QColor toQColor(quint32 colorRef)
{
    return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

inline quint32 fromQColor(const QColor &color)
{
    return static_cast<quint32>(color.red()) | static_cast<quint32>(color.green()) << 8
        | static_cast<quint32>(color.blue()) << 16;
}

} // namespace ColorRef
