#pragma once

#include <QImage>
#include <QString>

// A QR code of a text (an address for a phone's camera), drawn with
// libqrencode.
namespace QrCode {

// Black modules on white with the quiet zone of four modules around them,
// `moduleSize` pixels each; a null image when the text does not fit.
QImage image(const QString &text, int moduleSize = 4);

} // namespace QrCode
