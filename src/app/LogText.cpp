#include "LogText.h"

namespace {

bool needsEscape(char32_t character)
{
    switch (QChar::category(character)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

} // namespace

namespace LogText {

QString escaped(QStringView text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t character = text[i].unicode();
        qsizetype units = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            character = QChar::surrogateToUcs4(text[i], text[i + 1]);
            units = 2;
        }
        if (character == u'\\') {
            shown += QLatin1String("\\\\");
        } else if (!needsEscape(character)) {
            shown += text.mid(i, units);
        } else if (character <= 0xff) {
            shown += QStringLiteral("\\x%1").arg(uint(character), 2, 16, QLatin1Char('0'));
        } else {
            shown += QStringLiteral("\\u{%1}").arg(uint(character), 4, 16, QLatin1Char('0'));
        }
        i += units - 1;
    }
    return shown;
}

} // namespace LogText
