#include "CsvField.h"

namespace CsvField {

QString quoted(const QString &text)
{
    QString escaped = text;
    escaped.replace(u'"', QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

QString quotedIfNeeded(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && text.trimmed() == text) {
        return text;
    }
    return quoted(text);
}

} // namespace CsvField
