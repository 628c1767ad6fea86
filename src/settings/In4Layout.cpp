#include "In4Layout.h"

QString In4Field::name() const
{
    QString text = QString::fromLatin1(block);
    if (entry > 0) {
        text += QStringLiteral("[%1]").arg(entry);
    }
    if (*field != '\0') {
        text += QLatin1Char('.') + QLatin1String(field);
    }
    return text;
}
