#include "Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Cp932 {

namespace {

bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(unsigned char b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

} // namespace

QByteArray encode(const QString &text)
{
    QStringEncoder encoder("CP932");
    return encoder.encode(text);
}

QString decode(const QByteArray &bytes)
{
    // Decode character by character so that an undecodable byte is dropped
    // rather than turned into a replacement character.
    QString result;
    QStringDecoder decoder("CP932", QStringConverter::Flag::Stateless);
    for (qsizetype i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes.at(i));
        const qsizetype width = (isLeadByte(lead) && i + 1 < bytes.size()) ? 2 : 1;
        if (isLeadByte(lead) && width == 1) {
            break; // a lead byte with nothing after it
        }
        const QString piece = decoder.decode(bytes.mid(i, width));
        // The converter writes an unmappable byte as SUB (U+001A).
        const bool substituted = piece.contains(QChar(0x1A)) && lead != 0x1A;
        if (!piece.contains(QChar::ReplacementCharacter) && !substituted) {
            result += piece;
        }
        i += width;
    }
    return result;
}

namespace {

// The whole text when the converter mapped every byte. The converter turns a
// byte it cannot map into U+001A (SUB) or U+FFFD and keeps a final lead byte
// back, so text holding none of these needs no closer look.
std::optional<QString> decodeClean(const QByteArray &bytes)
{
    QStringDecoder decoder("CP932", QStringConverter::Flag::Stateless);
    const QString whole = decoder.decode(bytes);
    qsizetype end = 0;
    while (end < bytes.size()) {
        end += isLeadByte(static_cast<unsigned char>(bytes.at(end))) ? 2 : 1;
    }
    const bool endsOnLeadByte = end > bytes.size();
    if (endsOnLeadByte || whole.contains(QChar::ReplacementCharacter) || whole.contains(QChar(0x1A))) {
        return std::nullopt;
    }
    return whole;
}

// Character by character: a byte that is no character becomes `invalidMark`,
// or, without a mark, makes the whole text undecodable.
std::optional<QString> decodeEach(const QByteArray &bytes, const std::optional<QString> &invalidMark)
{
    QStringDecoder decoder("CP932", QStringConverter::Flag::Stateless);
    QString result;
    for (qsizetype i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes.at(i));
        const bool pair = isLeadByte(lead) && i + 1 < bytes.size() && isTrailByte(static_cast<unsigned char>(bytes.at(i + 1)));
        const qsizetype width = pair ? 2 : 1;
        const QString piece = decoder.decode(bytes.mid(i, width));
        const bool substituted = piece.contains(QChar::ReplacementCharacter) || (piece.contains(QChar(0x1A)) && lead != 0x1A);
        const bool bad = piece.isEmpty() || substituted || (isLeadByte(lead) && !pair);
        if (bad && !invalidMark) {
            return std::nullopt;
        }
        result += bad ? *invalidMark : piece;
        i += width;
    }
    return result;
}

} // namespace

QString decodeMarkingInvalid(const QByteArray &bytes)
{
    if (std::optional<QString> whole = decodeClean(bytes)) {
        return *whole;
    }
    return *decodeEach(bytes, QStringLiteral("?"));
}

std::optional<QString> decodeExactly(const QByteArray &bytes)
{
    if (std::optional<QString> whole = decodeClean(bytes)) {
        return whole;
    }
    return decodeEach(bytes, std::nullopt);
}

std::optional<QByteArray> encodeExactly(const QString &text)
{
    QStringEncoder encoder("CP932", QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError() || decodeMarkingInvalid(bytes) != text) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<char32_t> firstUnencodable(const QString &text)
{
    for (qsizetype i = 0; i < text.size();) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const QString character = text.mid(i, pair ? 2 : 1);
        if (!encodeExactly(character)) {
            return pair ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1)) : char32_t(text.at(i).unicode());
        }
        i += character.size();
    }
    return std::nullopt;
}

QString codePointName(char32_t character)
{
    return QStringLiteral("U+") + QString::number(uint(character), 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

int LenB_ASCII(const QString &text)
{
    return static_cast<int>(encode(text).size());
}

QString MidB_ASCII(const QString &text, int first, int count)
{
    return MidB(encode(text), first, count);
}

QString MidB(const QByteArray &bytes, int first, int count)
{
    if (first < 1 || count <= 0 || first > bytes.size()) {
        return {};
    }
    return decode(bytes.mid(first - 1, count));
}

qint16 firstCharCode(const QString &text)
{
    const QByteArray bytes = encode(text.left(text.isEmpty() ? 0 : (text.at(0).isHighSurrogate() ? 2 : 1)));
    if (bytes.isEmpty()) {
        return 0;
    }
    const auto lead = static_cast<unsigned char>(bytes.at(0));
    if (bytes.size() >= 2 && isLeadByte(lead)) {
        return static_cast<qint16>(static_cast<quint16>(lead << 8 | static_cast<unsigned char>(bytes.at(1))));
    }
    return static_cast<qint16>(lead);
}

} // namespace Cp932
