#include "TicketTemplate.h"

std::optional<TicketTemplate> TicketTemplate::parse(const QString &text, QString &why)
{
    TicketTemplate result;
    QString literal;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool doubled = i + 1 < text.size() && text[i + 1] == c;
        if (c == QLatin1Char('}')) {
            if (!doubled) {
                why = QStringLiteral("「{」のない「}」があります（括弧そのものは \"}}\" と書きます）");
                return std::nullopt;
            }
            literal += c;
            ++i;
            continue;
        }
        if (c != QLatin1Char('{')) {
            literal += c;
            continue;
        }
        if (doubled) {
            literal += c;
            ++i;
            continue;
        }
        const qsizetype end = text.indexOf(QLatin1Char('}'), i + 1);
        if (end < 0) {
            why = QStringLiteral("「}」で閉じていない「{」があります（括弧そのものは \"{{\" と書きます）");
            return std::nullopt;
        }
        std::optional<Piece> placeholder = parsePlaceholder(text.mid(i + 1, end - i - 1), why);
        if (!placeholder) {
            return std::nullopt;
        }
        if (!literal.isEmpty()) {
            result.m_pieces.append(Piece{literal, std::nullopt, 0, false});
            literal.clear();
        }
        result.m_pieces.append(*placeholder);
        i = end;
    }
    if (!literal.isEmpty()) {
        result.m_pieces.append(Piece{literal, std::nullopt, 0, false});
    }
    return result;
}

std::optional<TicketTemplate::Piece> TicketTemplate::parsePlaceholder(const QString &inside, QString &why)
{
    const QStringList parts = inside.split(QLatin1Char(':'));
    Piece piece;
    piece.field = TicketFields::fieldNamed(parts.front());
    if (!piece.field) {
        why = QStringLiteral("知らない差し込み「{%1}」です").arg(inside);
        return std::nullopt;
    }
    for (qsizetype m = 1; m < parts.size(); ++m) {
        const QString &modifier = parts[m];
        if (modifier == QLatin1String("wide") && !piece.wide) {
            piece.wide = true;
        } else if (modifier.size() == 4 && modifier.startsWith(QLatin1String("pad")) && modifier[3] >= QLatin1Char('1')
                   && modifier[3] <= QLatin1Char('9') && piece.padDigits == 0) {
            if (!TicketFields::isNumeric(*piece.field)) {
                why = QStringLiteral("「{%2}」の %1: 桁そろえ（pad）は数の差し込みにだけ使えます").arg(modifier, inside);
                return std::nullopt;
            }
            piece.padDigits = modifier[3].digitValue();
        } else {
            why = QStringLiteral("「{%2}」の修飾 %1 は知らないものか、2度目です（使えるのは wide と pad1～pad9）").arg(modifier, inside);
            return std::nullopt;
        }
    }
    return piece;
}

QString TicketTemplate::expand(const TicketFields &fields) const
{
    QString text;
    for (const Piece &piece : m_pieces) {
        if (!piece.field) {
            text += piece.literal;
            continue;
        }
        const QString value = fields.text(*piece.field, piece.padDigits);
        text += piece.wide ? TicketFields::toFullWidth(value) : value;
    }
    return text;
}

bool TicketTemplate::uses(bool (*kind)(TicketField)) const
{
    for (const Piece &piece : m_pieces) {
        if (piece.field && kind(*piece.field)) {
            return true;
        }
    }
    return false;
}

bool TicketTemplate::uses(TicketField field) const
{
    for (const Piece &piece : m_pieces) {
        if (piece.field == field) {
            return true;
        }
    }
    return false;
}
