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
        if (!piece.contains(QChar::ReplacementCharacter)) {
            result += piece;
        }
        i += width;
    }
    return result;
}

QString decodeMarkingInvalid(const QByteArray &bytes)
{
    // The converter turns a byte it cannot map into U+001A (SUB) or U+FFFD
    // and keeps a final lead byte back, so the fast path is taken only for
    // text that holds none of these.
    QStringDecoder decoder("CP932", QStringConverter::Flag::Stateless);
    const QString whole = decoder.decode(bytes);
    const bool endsOnLeadByte = [&bytes] {
        qsizetype i = 0;
        while (i < bytes.size()) {
            i += isLeadByte(static_cast<unsigned char>(bytes.at(i))) ? 2 : 1;
        }
        return i > bytes.size();
    }();
    if (!endsOnLeadByte && !whole.contains(QChar::ReplacementCharacter) && !whole.contains(QChar(0x1A))) {
        return whole;
    }
    // Damaged text: go character by character to mark exactly the bad bytes.
    QString result;
    for (qsizetype i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes.at(i));
        const bool pair = isLeadByte(lead) && i + 1 < bytes.size() && isTrailByte(static_cast<unsigned char>(bytes.at(i + 1)));
        const qsizetype width = pair ? 2 : 1;
        const QString piece = decoder.decode(bytes.mid(i, width));
        const bool substituted = piece.contains(QChar::ReplacementCharacter) || (piece.contains(QChar(0x1A)) && lead != 0x1A);
        const bool bad = piece.isEmpty() || substituted || (isLeadByte(lead) && !pair);
        result += bad ? QStringLiteral("?") : piece;
        i += width;
    }
    return result;
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

int LenB_ASCII(const QString &text)
{
    return static_cast<int>(encode(text).size());
}

QString MidB_ASCII(const QString &text, int first, int count)
{
    const QByteArray bytes = encode(text);
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
