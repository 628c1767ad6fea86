#include "KanaText.h"

#include <QList>

#include <algorithm>
#include <array>

namespace KanaText {

namespace {

bool isHalfWidthKatakana(char16_t c)
{
    return c >= 0xFF61 && c <= 0xFF9F;
}

// The half-width voiced and semi-voiced sound marks ﾞ and ﾟ.
bool isVoicedMark(char16_t c)
{
    return c == 0xFF9E || c == 0xFF9F;
}

// Forms that stand for plainer text: full-width ASCII (Ａ１！), enclosed
// letters and numbers (①), enclosed and squared CJK (㈱, ㌔, ㍻).
bool isSpeltOut(char16_t c)
{
    return (c >= 0xFF01 && c <= 0xFF5E) || (c >= 0x2460 && c <= 0x24FF) || (c >= 0x3200 && c <= 0x33FF);
}

constexpr std::array<const char16_t *, 10> DigitNames = {u"ゼロ", u"イチ", u"ニ", u"サン", u"ヨン",
                                                         u"ゴ", u"ロク", u"ナナ", u"ハチ", u"キュー"};

// 0 to 9999; empty for 0.
QString groupReading(int n)
{
    static const char16_t *const Thousands[] = {u"", u"セン", u"ニセン", u"サンゼン", u"ヨンセン",
                                                u"ゴセン", u"ロクセン", u"ナナセン", u"ハッセン", u"キューセン"};
    static const char16_t *const Hundreds[] = {u"", u"ヒャク", u"ニヒャク", u"サンビャク", u"ヨンヒャク",
                                               u"ゴヒャク", u"ロッピャク", u"ナナヒャク", u"ハッピャク", u"キューヒャク"};
    QString result = QString::fromUtf16(Thousands[n / 1000]) + QString::fromUtf16(Hundreds[n / 100 % 10]);
    const int tens = n / 10 % 10;
    if (tens > 0) {
        result += (tens > 1 ? QString::fromUtf16(DigitNames[tens]) : QString()) + QStringLiteral("ジュー");
    }
    if (n % 10 > 0) {
        result += QString::fromUtf16(DigitNames[n % 10]);
    }
    return result;
}

// Symbols that are read aloud in announcements.
QString symbolName(char32_t c)
{
    switch (c) {
    case u'&': return QStringLiteral("アンド");
    case u'%': return QStringLiteral("パーセント");
    case u'+': return QStringLiteral("プラス");
    case u'=': return QStringLiteral("イコール");
    case u'@': return QStringLiteral("アット");
    case u'#': return QStringLiteral("バン");
    case u'$': return QStringLiteral("ドル");
    case u'¥': return QStringLiteral("エン");
    case u'℃': return QStringLiteral("ド");
    case u'〒': return QStringLiteral("ユービン");
    // A wave dash joins the two ends of a range: 9時〜17時.
    case u'~': case u'〜': case u'〰': return QStringLiteral("カラ");
    default: return {};
    }
}

} // namespace

bool isKanji(char32_t c)
{
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF)
        || (c >= 0x20000 && c <= 0x3FFFF) || c == 0x3005; // 々
}

bool isKatakana(char32_t c)
{
    return c >= 0x30A1 && c <= 0x30FA;
}

QChar vowelOf(QChar kana)
{
    static const QString Rows[] = {
        QStringLiteral("アァカガサザタダナハバパマヤャラワヮヵヷ"),
        QStringLiteral("イィキギシジチヂニヒビピミリヰヸ"),
        QStringLiteral("ウゥクグスズツヅヌフブプムユュルヴ"),
        QStringLiteral("エェケゲセゼテデネヘベペメレヱヶヹ"),
        QStringLiteral("オォコゴソゾトドノホボポモヨョロヲヺ"),
    };
    static const QString Vowels = QStringLiteral("アイウエオ");
    for (int i = 0; i < 5; ++i) {
        if (Rows[i].contains(kana)) {
            return Vowels.at(i);
        }
    }
    return kana; // ン and ッ are held as they are
}

QString normalise(const QString &text)
{
    QString result;
    result.reserve(text.size());
    qsizetype pos = 0;
    while (pos < text.size()) {
        const char16_t c = text.at(pos).unicode();
        if (isHalfWidthKatakana(c)) {
            // One letter with the voiced marks after it, so that a mark joins
            // the letter before it (ｶﾞ -> ガ). Letter by letter, because Qt
            // takes time in the square of a run's length to normalise it.
            qsizetype end = pos + 1;
            while (end < text.size() && isVoicedMark(text.at(end).unicode())) {
                ++end;
            }
            result += text.mid(pos, end - pos).normalized(QString::NormalizationForm_KC);
            pos = end;
        } else if (isSpeltOut(c)) {
            result += text.at(pos).decomposition().isEmpty() ? QString(text.at(pos))
                                                               : QString(text.at(pos)).normalized(QString::NormalizationForm_KC);
            ++pos;
        } else {
            result += text.at(pos);
            ++pos;
        }
    }
    return result;
}

QString toKatakana(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        // ぁ to ゖ, and the iteration marks ゝ ゞ.
        if ((c.unicode() >= 0x3041 && c.unicode() <= 0x3096) || c.unicode() == 0x309D || c.unicode() == 0x309E) {
            c = QChar(c.unicode() + 0x60);
        }
    }
    return result;
}

QString toHiragana(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        // ァ to ヶ, and the iteration marks ヽ ヾ.
        if ((c.unicode() >= 0x30A1 && c.unicode() <= 0x30F6) || c.unicode() == 0x30FD || c.unicode() == 0x30FE) {
            c = QChar(c.unicode() - 0x60);
        }
    }
    return result;
}

QString numberReading(QStringView digits)
{
    static const char16_t *const Powers[] = {u"", u"マン", u"オク", u"チョー", u"ケイ"};
    if (digits.isEmpty()) {
        return {};
    }
    if ((digits.size() > 1 && digits.front() == u'0') || digits.size() > 20) {
        QString result;
        for (const QChar digit : digits) {
            result += QString::fromUtf16(DigitNames[digit.digitValue()]);
        }
        return result;
    }
    QString result;
    for (qsizetype end = digits.size(), power = 0; end > 0; end -= 4, ++power) {
        const qsizetype start = std::max<qsizetype>(0, end - 4);
        const int group = digits.mid(start, end - start).toInt();
        if (group > 0) {
            result.prepend(groupReading(group) + QString::fromUtf16(Powers[power]));
        }
    }
    return result.isEmpty() ? QString::fromUtf16(DigitNames[0]) : result;
}

QString letterName(char32_t c)
{
    static const char16_t *const Names[] = {
        u"エー", u"ビー", u"シー", u"ディー", u"イー", u"エフ", u"ジー", u"エイチ", u"アイ",
        u"ジェー", u"ケー", u"エル", u"エム", u"エヌ", u"オー", u"ピー", u"キュー", u"アール",
        u"エス", u"ティー", u"ユー", u"ブイ", u"ダブリュー", u"エックス", u"ワイ", u"ゼット"};
    if (c >= u'A' && c <= u'Z') {
        return QString::fromUtf16(Names[c - u'A']);
    }
    if (c >= u'a' && c <= u'z') {
        return QString::fromUtf16(Names[c - u'a']);
    }
    return {};
}

QString speakable(const QString &text, QStringView before)
{
    QString result;
    const auto lastSaid = [&]() -> QChar {
        return !result.isEmpty() ? result.back() : (!before.isEmpty() ? before.back() : QChar());
    };
    const auto lastKana = [&]() -> QChar {
        for (qsizetype i = result.size() - 1; i >= 0; --i) {
            if (isKatakana(result.at(i).unicode())) {
                return result.at(i);
            }
            if (result.at(i) != u'ー') {
                return {};
            }
        }
        for (qsizetype i = before.size() - 1; i >= 0; --i) {
            if (isKatakana(before.at(i).unicode())) {
                return before.at(i);
            }
            if (before.at(i) != u'ー') {
                return {};
            }
        }
        return {};
    };
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (c.isLowSurrogate()) {
            continue; // one pause for a character outside the BMP
        }
        if (u == u'ヵ') {
            result += u'カ';
        } else if (u == u'ヶ') {
            result += u'ガ'; // 〜ヶ丘, 〜ヶ谷
        } else if (isKatakana(u)) {
            result += c;
        } else if (u == u'ー') {
            const QChar kana = lastKana();
            if (kana.isNull()) {
                result += u'、';
            } else {
                result += lastSaid() == u'ー' ? vowelOf(kana) : QChar(u'ー');
            }
        } else if (u == u'ヽ' || u == u'ヾ') {
            const QChar kana = lastKana();
            // ヾ voices the kana it repeats: カ -> ガ.
            const bool voices = u == u'ヾ' && QStringLiteral("カキクケコサシスセソタチツテトハヒフヘホ").contains(kana);
            result += kana.isNull() ? QChar(u'、') : QChar(kana.unicode() + (voices ? 1 : 0));
        } else if (u == u'、' || u == u'。' || u == u'！' || u == u'？' || u == u' ') {
            result += c;
        } else if (u == u',' || u == u'，') {
            result += u'、';
        } else if (u == u'.' || u == u'．') {
            result += u'。';
        } else if (u == u'!' || u == u'?') {
            result += QChar(u + 0xFEE0); // full width
        } else if (const QString name = symbolName(u); !name.isEmpty()) {
            result += name;
        } else if (!c.isSpace()) {
            // Brackets, dots between names, arrows, marks: a pause.
            result += u'、';
        } else {
            result += u' ';
        }
    }
    return result;
}

} // namespace KanaText
