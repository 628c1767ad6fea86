#include "KanaReader.h"

#include "sound/KanaText.h"
#include "sound/KanjiReadings.h"
#include "sound/SoundLog.h"

#include <algorithm>

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isNumber(const QString &written)
{
    return !written.isEmpty() && std::all_of(written.begin(), written.end(), [](QChar c) {
        return isDigit(c) || c == u',' || c == u'.';
    });
}

bool isDigits(QStringView written)
{
    return !written.isEmpty() && std::all_of(written.begin(), written.end(), isDigit);
}

// MeCab parts "1,000" and "3.5" at the comma and the point: a comma before
// three digits and a point between digits stay in their number.
QList<MecabTagger::Word> joinNumbers(QList<MecabTagger::Word> words)
{
    for (qsizetype i = 0; i + 2 < words.size();) {
        const MecabTagger::Word &mark = words.at(i + 1);
        const MecabTagger::Word &next = words.at(i + 2);
        const bool joins = isNumber(words.at(i).written) && !mark.spaced && !next.spaced && isDigits(next.written)
            && ((mark.written == u"," && next.written.size() == 3 && !words.at(i).written.contains(u'.'))
                || (mark.written == u"." && !words.at(i).written.contains(u'.')));
        if (joins) {
            words[i].written += mark.written + next.written;
            words.remove(i + 1, 2);
        } else {
            ++i;
        }
    }
    return words;
}

// 1本 -> イッポン, 8分 -> ハップン, 10回 -> ジュッカイ: before a counter
// that starts with k, s, t or h, the last sound of one, eight, ten is
// doubled, and of six and a hundred before k and h only; h becomes p.
void changeSounds(QString &number, QString &counter)
{
    static const QString K = QStringLiteral("カキクケコ");
    static const QString ST = QStringLiteral("サシスセソタチツテト");
    static const QString H = QStringLiteral("ハヒフヘホ");
    struct Ending {
        const char16_t *said;
        bool beforeST;
    };
    static const Ending Endings[] = {
        {u"イチ", true}, {u"ハチ", true}, {u"ジュー", true}, {u"ロク", false}, {u"ヒャク", false}};
    if (counter.isEmpty()) {
        return;
    }
    const QChar first = counter.front();
    for (const Ending &ending : Endings) {
        if (number.endsWith(QString::fromUtf16(ending.said))
            && (K.contains(first) || H.contains(first) || (ending.beforeST && ST.contains(first)))) {
            number.back() = u'ッ';
            if (H.contains(first)) {
                counter.front() = QChar(first.unicode() + 2); // ハ -> パ
            }
            return;
        }
    }
}

} // namespace

KanaReader::KanaReader(const MecabTagger &tagger, const KanjiReadings &kanji)
    : m_tagger(tagger)
    , m_kanji(kanji)
{
}

QString KanaReader::readKanji(char32_t kanji) const
{
    QString reading = m_kanji.reading(kanji);
    // A compatibility form (朗, 﨎 from Shift_JIS's IBM extension) is
    // read as the kanji it stands for.
    const QString canonical = QString::fromUcs4(&kanji, 1).normalized(QString::NormalizationForm_C);
    if (reading.isEmpty() && canonical != QString::fromUcs4(&kanji, 1)) {
        reading = m_kanji.reading(canonical.toUcs4().first());
    }
    if (reading.isEmpty()) {
        // Kanji outside KANJIDIC's set that MeCab knows by themselves.
        const QList<MecabTagger::Word> alone = m_tagger.words(QString::fromUcs4(&kanji, 1));
        if (alone.size() == 1) {
            reading = KanaText::toKatakana(alone.first().spoken);
        }
    }
    if (reading.isEmpty() && !m_unread.contains(kanji)) {
        m_unread.insert(kanji);
        qCWarning(lcSound, "No reading for the kanji %s: it is spoken as a pause; a yomi.txt entry can give it one",
                  qUtf8Printable(QString::fromUcs4(&kanji, 1)));
    }
    return reading;
}

QString KanaReader::readUnknown(const QString &written) const
{
    QString result;
    QString previousKanji; // for 々
    for (qsizetype i = 0; i < written.size();) {
        const QChar c = written.at(i);
        if (isDigit(c)) {
            qsizetype end = i;
            QString digits;
            while (end < written.size() && (isDigit(written.at(end)) || written.at(end) == u',')) {
                if (written.at(end) != u',') {
                    digits += written.at(end);
                }
                ++end;
            }
            result += KanaText::numberReading(digits);
            // Decimals are said one digit at a time: 3.14 -> サンテンイチヨン.
            if (end + 1 < written.size() && written.at(end) == u'.' && isDigit(written.at(end + 1))) {
                result += QStringLiteral("テン");
                for (++end; end < written.size() && isDigit(written.at(end)); ++end) {
                    result += KanaText::numberReading(written.mid(end, 1));
                }
            }
            i = end;
            continue;
        }
        const bool pair = c.isHighSurrogate() && i + 1 < written.size() && written.at(i + 1).isLowSurrogate();
        const char32_t code = pair ? QChar::surrogateToUcs4(c, written.at(i + 1)) : c.unicode();
        const qsizetype length = pair ? 2 : 1;
        if (const QString name = KanaText::letterName(code); !name.isEmpty()) {
            result += name;
        } else if (code == u'々') {
            result += previousKanji.isEmpty() ? QString(c) : previousKanji;
        } else if (KanaText::isKanji(code)) {
            previousKanji = readKanji(code);
            // A kanji without any reading goes on as written and becomes a
            // pause: it is neither spelt out nor lost from the rhythm.
            result += previousKanji.isEmpty() ? written.mid(i, length) : previousKanji;
        } else {
            result += KanaText::toKatakana(written.mid(i, length));
        }
        i += length;
    }
    return result;
}

QList<MecabTagger::Word> KanaReader::words(const QString &text) const
{
    // The dictionary's readings go in as katakana: MeCab leaves katakana it
    // does not know as written, yet still reads the particles around them
    // ("は" after a stop name is spoken "ワ").
    const QString corrected = m_dictionary.apply(KanaText::normalise(text));
    QList<MecabTagger::Word> words = joinNumbers(m_tagger.words(corrected));
    for (MecabTagger::Word &word : words) {
        word.spoken = word.spoken.isEmpty() ? readUnknown(word.written) : KanaText::toKatakana(word.spoken);
    }
    for (qsizetype i = 0; i + 1 < words.size(); ++i) {
        MecabTagger::Word &counter = words[i + 1];
        // Counters in katakana (キロ, ページ) keep the number as it is.
        const bool katakana = std::any_of(counter.written.begin(), counter.written.end(),
                                          [](QChar c) { return KanaText::isKatakana(c.unicode()); });
        if (isNumber(words.at(i).written) && counter.counter && !counter.spaced && !katakana) {
            changeSounds(words[i].spoken, counter.spoken);
        }
    }
    QString said;
    for (MecabTagger::Word &word : words) {
        word.spoken = KanaText::speakable(word.spoken, said);
        said += (word.spaced ? QStringLiteral(" ") : QString()) + word.spoken;
    }
    return words;
}

QString KanaReader::reading(const QString &text) const
{
    QString result;
    for (const MecabTagger::Word &word : words(text)) {
        if (word.spaced && !result.isEmpty()) {
            result += u' ';
        }
        result += word.spoken;
    }
    return result;
}
