#include "In4Listing.h"

#include "In4Layout.h"
#include "In4Reader.h"

namespace {

QString shown(qint16 value)
{
    return QString::number(value);
}

QString shown(qint32 value)
{
    return QString::number(value);
}

// Colours are the only unsigned fields.
QString shown(quint32 value)
{
    return QStringLiteral("0x") + QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')).toUpper();
}

QString shown(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace

namespace In4Listing {

QStringList lines(const QByteArray &bytes)
{
    QStringList out;
    IniRecords records;
    qint16 degitCount = 0;
    In4Reader reader(bytes);
    bool complete = true;
    In4Layout::visit(records, degitCount, [&](const In4Field &field, auto &value) {
        if (!complete) {
            return;
        }
        if (!reader.read(value)) {
            complete = false;
            out << QStringLiteral("# the file ends at byte %1, inside %2").arg(bytes.size()).arg(field.name());
            return;
        }
        out << field.name() + QStringLiteral(" = ") + shown(value);
    });
    if (complete && reader.offset() < bytes.size()) {
        out << QStringLiteral("# %1 bytes follow the last block").arg(bytes.size() - reader.offset());
    }
    return out;
}

} // namespace In4Listing
