#pragma once

#include <QByteArray>
#include <QStringList>

// A settings file as readable lines, one field a line in file order:
// `OptPanel.SeiriNumStyle = 0`, colours as 0x00BBGGRR, strings quoted. A file
// that ends early lists the fields it holds, then a line that names the field
// that did not fit.
namespace In4Listing {

QStringList lines(const QByteArray &bytes);

} // namespace In4Listing
