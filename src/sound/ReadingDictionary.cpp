#include "ReadingDictionary.h"

#include "app/WholeFile.h"
#include "formats/Cp932.h"
#include "sound/KanaText.h"
#include "sound/SoundLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringTokenizer>

#include <algorithm>

std::optional<std::pair<QString, QString>> ReadingDictionary::parseEntry(QStringView line)
{
    const QStringView entry = line.trimmed();
    if (entry.isEmpty() || entry.startsWith(u'#')) {
        return std::nullopt;
    }
    qsizetype separator = entry.indexOf(u',');
    if (separator < 0) {
        separator = entry.indexOf(u'\t');
    }
    if (separator < 0) {
        return std::nullopt;
    }
    QString written = KanaText::normalise(entry.left(separator).trimmed().toString());
    QString reading = KanaText::toKatakana(entry.mid(separator + 1).trimmed().toString());
    if (written.isEmpty() || reading.isEmpty()) {
        return std::nullopt;
    }
    return std::pair(std::move(written), std::move(reading));
}

ReadingDictionary ReadingDictionary::parse(QStringView text, QList<qsizetype> *tooLongLines)
{
    ReadingDictionary dictionary;
    qsizetype lineNumber = 0;
    // The lines are looked at in place, so the text is not copied whole.
    for (const QStringView line : qTokenize(text, u'\n')) {
        ++lineNumber;
        std::optional<std::pair<QString, QString>> entry = parseEntry(line);
        if (!entry) {
            continue;
        }
        auto &[written, reading] = *entry;
        if (written.size() > MaxWrittenLength) {
            if (tooLongLines) {
                tooLongLines->append(lineNumber);
            }
            continue;
        }
        dictionary.m_longest = std::max(dictionary.m_longest, written.size());
        dictionary.m_readings.insert(std::move(written), std::move(reading));
    }
    return dictionary;
}

ReadingDictionary ReadingDictionary::load(const QString &path)
{
    const WholeFile::Contents file = WholeFile::read(path, MaxFileBytes);
    const auto skipped = [&path](const QString &why) {
        qCWarning(lcSound).noquote()
            << QStringLiteral("読み辞書 %1 %2").arg(QFileInfo(path).absoluteFilePath(), why);
    };
    switch (file.problem) {
    case WholeFile::Problem::None:
        break;
    case WholeFile::Problem::Missing:
        return {}; // most folders have none
    case WholeFile::Problem::NotAFile:
        skipped(QStringLiteral("はファイルではないため使いません。"));
        return {};
    case WholeFile::Problem::CannotOpen:
        skipped(QStringLiteral("を読み込めません（%1）。").arg(file.errorString));
        return {};
    case WholeFile::Problem::TooLarge:
        skipped(QStringLiteral("は %1 MB を超えているため使いません。").arg(MaxFileBytes / (1024 * 1024)));
        return {};
    }
    QList<qsizetype> tooLongLines;
    ReadingDictionary dictionary = parse(Cp932::decode(file.bytes), &tooLongLines);
    if (!tooLongLines.isEmpty()) {
        const QString others = tooLongLines.size() > 1
            ? QStringLiteral("ほか %1 件").arg(tooLongLines.size() - 1)
            : QString();
        skipped(QStringLiteral("の %1 行目%2は、表記が %3 文字を超えるため使いません。")
                    .arg(tooLongLines.first())
                    .arg(others)
                    .arg(MaxWrittenLength));
    }
    return dictionary;
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
