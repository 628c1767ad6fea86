#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Code page 932 (Shift_JIS as Windows writes it): the encoding of every string
// in the data files and of the byte-wise string operations.
namespace Cp932 {

QByteArray encode(const QString &text);
// Bytes that do not decode (a lone lead byte, an unassigned code) are dropped,
// so a run cut through a double-byte character never yields a stray symbol.
QString decode(const QByteArray &bytes);
// As decode, but every byte that does not decode shows as "?", so a reader
// sees where text is damaged instead of losing it silently.
QString decodeMarkingInvalid(const QByteArray &bytes);
// The text of bytes in which every byte belongs to a character; nothing
// otherwise.
std::optional<QString> decodeExactly(const QByteArray &bytes);

// The code page 932 bytes of the text, or nothing when a character has no
// exact code page 932 form (it would not read back as written).
std::optional<QByteArray> encodeExactly(const QString &text);
// The first character (a whole code point) that has no exact code page 932
// form, or nothing when the whole text has one.
std::optional<char32_t> firstUnencodable(const QString &text);
// "U+00EB": how messages name a character.
QString codePointName(char32_t character);

// Length of the text in bytes once converted to code page 932.
int LenB_ASCII(const QString &text);

// The run of `count` bytes starting at byte `first` (1-based) of the text's
// code page 932 form, decoded back to a string. A run that begins with the
// trail byte of a double-byte character reads that byte on its own (a trail
// byte in 0x40..0x7E is an ASCII character); a run that ends on a lead byte
// drops it. Runs outside the text are empty.
QString MidB_ASCII(const QString &text, int first, int count);
// As MidB_ASCII, on text already in code page 932: for cutting one text into
// many runs without converting it again for each.
QString MidB(const QByteArray &bytes, int first, int count);

// The code of the first character as a signed 16-bit number: a double-byte
// character is lead byte * 256 + trail byte (negative), a single byte 0..255.
// Empty text gives 0.
qint16 firstCharCode(const QString &text);

} // namespace Cp932
