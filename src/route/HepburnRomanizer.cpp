#include "HepburnRomanizer.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <vector>

namespace {

// The romaji of each hiragana from ぁ (U+3041) to ゖ (U+3096); small kana
// standing alone read as their large forms.
constexpr std::array<const char *, 0x3097 - 0x3041> Syllables{
    "a",  "a",  "i",  "i",  "u",  "u",  "e",  "e",  "o",  "o",  // ぁあぃいぅうぇえぉお
    "ka", "ga", "ki", "gi", "ku", "gu", "ke", "ge", "ko", "go", // かがきぎくぐけげこご
    "sa", "za", "shi", "ji", "su", "zu", "se", "ze", "so", "zo", // さざしじすずせぜそぞ
    "ta", "da", "chi", "ji", "",  "tsu", "zu", "te", "de", "to", "do", // ただちぢっつづてでとど
    "na", "ni", "nu", "ne", "no",                               // なにぬねの
    "ha", "ba", "pa", "hi", "bi", "pi", "fu", "bu", "pu",       // はばぱひびぴふぶぷ
    "he", "be", "pe", "ho", "bo", "po",                         // へべぺほぼぽ
    "ma", "mi", "mu", "me", "mo",                               // まみむめも
    "ya", "ya", "yu", "yu", "yo", "yo",                         // ゃやゅゆょよ
    "ra", "ri", "ru", "re", "ro",                               // らりるれろ
    "wa", "wa", "i",  "e",  "o",  "n",                          // ゎわゐゑをん
    "vu", "ka", "ke",                                           // ゔゕゖ
};

constexpr char16_t SmallTsu = u'っ';
constexpr char16_t Hatsuon = u'ん';
constexpr char16_t LongMark = u'ー';

bool isVowel(QChar c)
{
    return QStringLiteral("aeiou").contains(c);
}

QChar withMacron(QChar vowel)
{
    static const QString plain = QStringLiteral("aeiou");
    static const QString marked = QStringLiteral("āēīōū");
    const qsizetype at = plain.indexOf(vowel);
    return at < 0 ? vowel : marked.at(at);
}

// Katakana as hiragana, full-width letters and digits as ASCII, ・ and
// full-width spaces as spaces.
QString asHiragana(const QString &text)
{
    QString out = text.normalized(QString::NormalizationForm_KC);
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        if (u >= 0x30A1 && u <= 0x30F6) {
            c = QChar(u - 0x60);
        } else if (u == 0x30FB) {
            c = u' ';
        }
    }
    return out;
}

QString capitalized(const QString &text)
{
    QString out = text;
    bool start = true;
    for (QChar &c : out) {
        if (start && c.isLetter()) {
            c = c.toUpper();
        }
        start = c == u' ';
    }
    return out;
}

// A kanji numeral or digits of 1 to 19, as 丁目 are numbered.
int numeralValue(const QString &text)
{
    static const QString digits = QStringLiteral("一二三四五六七八九");
    bool ok = false;
    const int ascii = text.toInt(&ok);
    if (ok) {
        return ascii >= 1 && ascii <= 99 ? ascii : 0;
    }
    if (text.size() == 1) {
        return text == QStringLiteral("十") ? 10 : static_cast<int>(digits.indexOf(text.at(0))) + 1;
    }
    if (text.size() == 2 && text.at(0) == u'十') {
        const qsizetype unit = digits.indexOf(text.at(1));
        return unit < 0 ? 0 : 11 + static_cast<int>(unit);
    }
    return 0;
}

// The ways a number of 1 to 19 reads before ちょうめ.
QStringList numeralReadings(int value)
{
    static const std::array<QStringList, 11> units{
        QStringList{},
        {QStringLiteral("いっ"), QStringLiteral("いち")},
        {QStringLiteral("に")},
        {QStringLiteral("さん")},
        {QStringLiteral("よん"), QStringLiteral("し")},
        {QStringLiteral("ご")},
        {QStringLiteral("ろく"), QStringLiteral("ろっ")},
        {QStringLiteral("なな"), QStringLiteral("しち")},
        {QStringLiteral("はっ"), QStringLiteral("はち")},
        {QStringLiteral("きゅう"), QStringLiteral("く")},
        {QStringLiteral("じゅっ"), QStringLiteral("じっ"), QStringLiteral("じゅう")},
    };
    if (value >= 1 && value <= 10) {
        return units[size_t(value)];
    }
    QStringList readings;
    if (value > 10 && value < 20) {
        for (const QString &unit : units[size_t(value - 10)]) {
            readings << QStringLiteral("じゅう") + unit;
        }
    }
    return readings;
}

// An ending the signs write apart from the name before it.
struct Ending
{
    const char16_t *written;
    const char16_t *reading;
    bool word; // a word of its own; otherwise joined with a hyphen
};

// Longer endings first, so that 駅前 is not taken as 前 after 駅.
constexpr std::array<Ending, 17> Endings{{
    {u"中央口", u"ちゅうおうぐち", true},
    {u"東口", u"ひがしぐち", true},
    {u"西口", u"にしぐち", true},
    {u"南口", u"みなみぐち", true},
    {u"北口", u"きたぐち", true},
    {u"駅前", u"えきまえ", false},
    {u"入口", u"いりぐち", false},
    {u"入口", u"いりくち", false},
    {u"入り口", u"いりぐち", false},
    {u"通り", u"どおり", false},
    {u"通り", u"とおり", false},
    {u"通", u"どおり", false},
    {u"通", u"とおり", false},
    {u"前", u"まえ", false},
    {u"駅", u"えき", false},
    {u"口", u"ぐち", false},
    {u"口", u"くち", false},
}};

} // namespace

HepburnRomanizer::HepburnRomanizer(const Style &style)
    : m_style(style)
{
}

QString HepburnRomanizer::reading(const QString &reading) const
{
    return capitalized(word(asHiragana(reading)));
}

QString HepburnRomanizer::stopName(const QString &written, const QString &reading) const
{
    QString name = written.normalized(QString::NormalizationForm_KC).trimmed();
    QString kana = asHiragana(reading.isEmpty() ? written : reading).trimmed();
    // Endings peeled from the end, the last first.
    QStringList endings;
    // Peels a number and what follows it off the name when the reading,
    // before the part read for what follows, ends in `number` read aloud
    // (and holds more than that): `before` is the name up to what follows,
    // its number starting at `start`.
    const auto peelNumber = [&](const QString &before, qsizetype start, const QString &kanaBefore, const QString &number,
                                const QString &ending) {
        if (start == 0 || !kanaBefore.endsWith(number) || kanaBefore.size() <= number.size()) {
            return false;
        }
        endings.prepend(ending);
        name = before.left(start);
        kana = kanaBefore.chopped(number.size());
        return true;
    };
    for (bool peeled = true; peeled && endings.size() < 4;) {
        peeled = false;
        if (name.endsWith(QStringLiteral("丁目")) && kana.endsWith(QStringLiteral("ちょうめ"))) {
            const QString before = name.chopped(2);
            qsizetype start = before.size();
            while (start > 0 && (QStringLiteral("一二三四五六七八九十").contains(before.at(start - 1))
                                 || before.at(start - 1).isDigit())) {
                --start;
            }
            const int value = numeralValue(before.mid(start));
            const QString kanaBefore = kana.chopped(4);
            for (const QString &number : numeralReadings(value)) {
                if (peelNumber(before, start, kanaBefore, number, QStringLiteral(" %1-chome").arg(value))) {
                    peeled = true;
                    break;
                }
            }
            if (peeled) {
                continue;
            }
        }
        // A numbered platform (川崎駅西口59番のりば) as the signs number it.
        for (const QString &platform : {QStringLiteral("番のりば"), QStringLiteral("番乗り場"), QStringLiteral("番乗場")}) {
            const QString platformReading = QStringLiteral("ばんのりば");
            if (!name.endsWith(platform) || !kana.endsWith(platformReading)) {
                continue;
            }
            const QString before = name.chopped(platform.size());
            qsizetype start = before.size();
            while (start > 0 && before.at(start - 1).isDigit()) {
                --start;
            }
            const QString number = before.mid(start);
            const QString kanaBefore = kana.chopped(platformReading.size());
            if (!number.isEmpty() && peelNumber(before, start, kanaBefore, number, QStringLiteral(" Stop %1").arg(number))) {
                peeled = true;
                break;
            }
        }
        if (peeled) {
            continue;
        }
        // A name that is an ending (駅前, 入口) is a name, not a name and an ending.
        if (std::any_of(Endings.begin(), Endings.end(),
                        [&name](const Ending &ending) { return name == QString::fromUtf16(ending.written); })) {
            break;
        }
        for (const Ending &ending : Endings) {
            const QString w = QString::fromUtf16(ending.written);
            const QString r = QString::fromUtf16(ending.reading);
            if (name.endsWith(w) && name.size() > w.size() && kana.endsWith(r) && kana.size() > r.size()) {
                const QString romaji = word(r);
                endings.prepend(ending.word ? QStringLiteral(" ") + capitalized(romaji) : QStringLiteral("-") + romaji);
                name.chop(w.size());
                kana.chop(r.size());
                peeled = true;
                break;
            }
        }
    }
    const QString base = word(kana.trimmed());
    if (base.isEmpty()) {
        return {};
    }
    return capitalized(base) + endings.join(QString());
}

QString HepburnRomanizer::word(const QString &kana) const
{
    QString out;
    bool doubleNext = false; // after っ
    qsizetype hatsuon = -1;  // where the last ん stands in `out`, while it is
                             // the last thing written
    bool lastIsSyllable = false;
    for (qsizetype i = 0; i < kana.size(); ++i) {
        const char16_t c = kana.at(i).unicode();
        QString romaji;
        if (c == SmallTsu) {
            doubleNext = true;
            continue;
        }
        if (c == LongMark || (lastIsSyllable && ((c == u'う' && (out.endsWith(u'o') || out.endsWith(u'u')))
                                                  || (c == u'お' && out.endsWith(u'o'))))) {
            // A long vowel: left unmarked, or marked on the vowel before.
            if (!out.isEmpty() && isVowel(out.back()) && m_style.macrons) {
                out.back() = withMacron(out.back());
            }
            hatsuon = -1;
            continue;
        }
        if (c >= 0x3041 && c <= 0x3096) {
            romaji = QString::fromLatin1(Syllables[c - 0x3041]);
            const bool smallY = c == u'ゃ' || c == u'ゅ' || c == u'ょ';
            const bool smallVowel = c == u'ぁ' || c == u'ぃ' || c == u'ぅ' || c == u'ぇ' || c == u'ぉ';
            if ((smallY || smallVowel) && lastIsSyllable && !out.isEmpty()) {
                // きゃ kya, しゃ sha, ちょ cho, じゅ ju; ふぁ fa, てぃ ti, うぃ wi.
                const QChar vowel = out.back();
                out.chop(1);
                if (out.endsWith(QStringLiteral("ts")) || out.endsWith(QStringLiteral("sh"))
                    || out.endsWith(QStringLiteral("ch")) || out.endsWith(u'j') || out.endsWith(u'f')
                    || out.endsWith(u'v')) {
                    romaji = smallY ? romaji.mid(1) : romaji;
                } else if (out.isEmpty() || !out.back().isLetter() || isVowel(out.back()) || out.endsWith(u'\'')) {
                    // A vowel alone before it: いぇ ye, うぃ wi.
                    romaji = (smallY ? QString() : QString(vowel == u'u' ? u'w' : u'y')) + romaji;
                } else if (smallVowel && vowel == u'u' && (out.endsWith(u'k') || out.endsWith(u'g'))) {
                    romaji = u'w' + romaji; // くぁ kwa
                }
                out += romaji;
                lastIsSyllable = true;
                hatsuon = -1;
                continue;
            }
            if (c == Hatsuon) {
                out += u'n';
                hatsuon = out.size() - 1;
                lastIsSyllable = false;
                doubleNext = false;
                continue;
            }
        } else if (c < 0x80 && (QChar(c).isLetterOrNumber() || c == u' ' || c == u'-' || c == u'\'' || c == u'.')) {
            out += QChar(c).toLower();
            lastIsSyllable = false;
            hatsuon = -1;
            doubleNext = false;
            continue;
        } else {
            return {};
        }
        if (hatsuon >= 0) {
            const QChar first = romaji.at(0);
            if (isVowel(first) || first == u'y') {
                out += u'\'';
            } else if (m_style.mBeforeLabials && (first == u'b' || first == u'm' || first == u'p')) {
                out[hatsuon] = u'm';
            }
        }
        if (doubleNext && !isVowel(romaji.at(0))) {
            out += romaji.startsWith(QStringLiteral("ch")) ? QChar(u't') : romaji.at(0);
        }
        out += romaji;
        doubleNext = false;
        hatsuon = -1;
        lastIsSyllable = true;
    }
    return out;
}
