#include "KanaStopNames.h"

#include "sound/KanaText.h"

void KanaStopNames::load(const QString &folder)
{
    m_dictionary = ReadingDictionary::forFolder(folder);
}

QMap<QString, QString> KanaStopNames::names(const QString &name) const
{
    QMap<QString, QString> names{{QStringLiteral("ja"), name}};
    const QString reading = m_dictionary.apply(name);
    if (reading == name) {
        return names;
    }
    for (const QChar c : reading) {
        const char16_t u = c.unicode();
        const bool kana = KanaText::isKatakana(u) || (u >= 0x3041 && u <= 0x3096) || u == 0x30FC || u == 0x30FB;
        if (!kana && !c.isSpace()) {
            return names;
        }
    }
    names.insert(QStringLiteral("kana"), KanaText::toHiragana(reading));
    return names;
}
