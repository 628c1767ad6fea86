#include "ReadingDictionary.h"

#include "companion/Cp932.h"
#include "sound/KanaText.h"

#include <QDir>
#include <QFile>

#include <algorithm>

ReadingDictionary ReadingDictionary::parse(const QString &text)
{
    ReadingDictionary dictionary;
    const QStringList lines = text.split(u'\n');
    for (const QString &line : lines) {
        const QString entry = line.trimmed();
        if (entry.isEmpty() || entry.startsWith(u'#')) {
            continue;
        }
        qsizetype separator = entry.indexOf(u',');
        if (separator < 0) {
            separator = entry.indexOf(u'\t');
        }
        if (separator < 0) {
            continue;
        }
        const QString written = KanaText::normalise(entry.left(separator).trimmed());
        const QString reading = KanaText::toKatakana(entry.mid(separator + 1).trimmed());
        if (written.isEmpty() || reading.isEmpty()) {
            continue;
        }
        dictionary.m_readings.insert(written, reading);
        dictionary.m_longest = std::max(dictionary.m_longest, written.size());
    }
    return dictionary;
}

ReadingDictionary ReadingDictionary::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return parse(Cp932::decode(file.readAll()));
}

ReadingDictionary ReadingDictionary::forFolder(const QString &folder)
{
    QFile builtIn(QStringLiteral(":/sound/yomi.txt"));
    ReadingDictionary dictionary;
    if (builtIn.open(QIODevice::ReadOnly)) {
        dictionary = parse(QString::fromUtf8(builtIn.readAll()));
    }
    dictionary.merge(load(QDir(folder).filePath(fileName())));
    return dictionary;
}

void ReadingDictionary::merge(const ReadingDictionary &overrides)
{
    m_readings.insert(overrides.m_readings);
    m_longest = std::max(m_longest, overrides.m_longest);
}

QString ReadingDictionary::apply(const QString &text) const
{
    QString result;
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype length = std::min(m_longest, text.size() - pos);
        for (; length > 0; --length) {
            const auto found = m_readings.constFind(text.mid(pos, length));
            if (found != m_readings.cend()) {
                result += *found;
                break;
            }
        }
        if (length == 0) {
            result += text.at(pos);
            length = 1;
        }
        pos += length;
    }
    return result;
}
