#include "KanjiReadings.h"

#include "sound/KanaText.h"
#include "sound/SoundLog.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>

namespace {

bool isKatakanaField(const QString &field)
{
    return !field.isEmpty()
        && std::all_of(field.begin(), field.end(), [](QChar c) { return c.unicode() >= 0x30A1 && c.unicode() <= 0x30FC; });
}

bool isHiraganaField(const QString &field)
{
    return !field.isEmpty()
        && std::all_of(field.begin(), field.end(), [](QChar c) { return c.unicode() >= 0x3041 && c.unicode() <= 0x309F; });
}

// KANJIDIC spells on readings as they are written (コウ, セイ); MeCab's
// pronunciations, which the synthesiser gets for the other words, have the
// long vowels that are said (コー, セー).
QString pronounced(QString on)
{
    if (on.size() >= 2) {
        const QChar vowel = KanaText::vowelOf(on.at(on.size() - 2));
        if ((on.back() == u'ウ' && (vowel == u'オ' || vowel == u'ウ')) || (on.back() == u'イ' && vowel == u'エ')) {
            on.back() = u'ー';
        }
    }
    return on;
}

} // namespace

KanjiReadings KanjiReadings::parse(const QString &text)
{
    KanjiReadings table;
    const QStringList lines = text.split(u'\n');
    for (const QString &line : lines) {
        if (line.isEmpty() || line.startsWith(u'#')) {
            continue;
        }
        const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
        const QList<uint> kanji = fields.isEmpty() ? QList<uint>() : fields.first().toUcs4();
        if (kanji.size() != 1) {
            continue;
        }
        QString on;
        QString kun;
        for (qsizetype i = 1; i < fields.size(); ++i) {
            const QString &field = fields.at(i);
            // The name readings (after "T1" or "T2") and the meanings in
            // braces are not readings of the kanji in ordinary words.
            if (field.startsWith(u'{') || field == u"T1" || field == u"T2") {
                break;
            }
            if (on.isEmpty() && isKatakanaField(field)) {
                on = field;
                break;
            }
            // "あそ.ぶ" is read with its ending; "-ばたけ" and "ひと-" only as
            // part of a longer word.
            QString plain = field;
            plain.remove(u'.');
            if (kun.isEmpty() && !field.contains(u'-') && isHiraganaField(plain)) {
                kun = plain;
            }
        }
        const QString reading = !on.isEmpty() ? pronounced(on) : KanaText::toKatakana(kun);
        if (!reading.isEmpty()) {
            table.m_readings.insert(kanji.first(), reading);
        }
    }
    return table;
}

KanjiReadings KanjiReadings::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcSound, "No readings of single kanji (%s: %s): a word that MeCab does not know keeps only the kanji MeCab knows alone",
                  qUtf8Printable(path), qUtf8Printable(file.errorString()));
        return {};
    }
    QStringDecoder decoder("EUC-JP");
    if (!decoder.isValid()) {
        qCWarning(lcSound, "No readings of single kanji: this Qt cannot decode EUC-JP");
        return {};
    }
    return parse(decoder.decode(file.readAll()));
}
