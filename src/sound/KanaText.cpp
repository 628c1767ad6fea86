#include "KanaText.h"

#include <QList>

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

bool isKanji(char32_t c)
{
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF)
        || (c >= 0x20000 && c <= 0x3FFFF) || c == 0x3005; // 々
}

} // namespace

QString normalise(const QString &text)
{
    QString result;
    result.reserve(text.size());
    qsizetype pos = 0;
    while (pos < text.size()) {
        const char16_t c = text.at(pos).unicode();
        if (c >= u'０' && c <= u'９') {
            result += QChar(u'0' + (c - u'０'));
            ++pos;
        } else if (isHalfWidthKatakana(c)) {
            // One letter with the voiced marks after it, so that a mark joins
            // the letter before it (ｶﾞ -> ガ). Letter by letter, because Qt
            // takes time in the square of a run's length to normalise it.
            qsizetype end = pos + 1;
            while (end < text.size() && isVoicedMark(text.at(end).unicode())) {
                ++end;
            }
            result += text.mid(pos, end - pos).normalized(QString::NormalizationForm_KC);
            pos = end;
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
        if (c.unicode() >= 0x3041 && c.unicode() <= 0x3096) {
            c = QChar(c.unicode() + 0x60);
        }
    }
    return result;
}

QString withoutKanji(const QString &text)
{
    QString result;
    for (const char32_t c : text.toUcs4()) {
        if (!isKanji(c)) {
            result += QString::fromUcs4(&c, 1);
        }
    }
    return result;
}

} // namespace KanaText
