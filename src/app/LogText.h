#pragma once

#include <QString>
#include <QStringView>

// Text from outside (a request's path, a name read from a file) as a log line
// may show it. A control character could end the line and forge the next one,
// or reach the terminal as an escape sequence; a line or paragraph separator or
// a direction override could make the line read as something else. Each such
// character is written as \xHH (\u{HHHH} beyond U+00FF), and a backslash as two,
// so the line can be read back exactly.
namespace LogText {

QString escaped(QStringView text);

} // namespace LogText
