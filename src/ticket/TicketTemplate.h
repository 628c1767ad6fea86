#pragma once

#include "TicketFields.h"

#include <QList>
#include <QString>

#include <optional>

// A text of a ticket description with its placeholders: "{number}",
// "{number:wide}", "{route:pad3}", "{month}月{day}日". Modifiers after a
// colon: "wide" prints full-width characters, "padN" (N from 1 to 9) pads a
// number with zeros to N digits. "{{" and "}}" print single braces.
class TicketTemplate
{
public:
    // Nothing, with the reason in `why`, when a placeholder is unknown or
    // malformed.
    static std::optional<TicketTemplate> parse(const QString &text, QString &why);

    QString expand(const TicketFields &fields) const;
    bool uses(bool (*kind)(TicketField)) const;
    bool uses(TicketField field) const;

private:
    struct Piece
    {
        QString literal;
        std::optional<TicketField> field;
        int padDigits = 0;
        bool wide = false;
    };

    static std::optional<Piece> parsePlaceholder(const QString &inside, QString &why);

    QList<Piece> m_pieces;
};
