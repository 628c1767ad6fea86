#pragma once

#include "TicketFields.h"

#include <QList>
#include <QRect>
#include <QString>

#include <optional>

// One barcode of a ticket description: what it carries, in which symbology,
// and where it is printed.
struct TicketBarcode
{
    enum class Symbology { Nw7, Itf };

    // A run of digits: a field zero-padded to `digits`, or fixed digits.
    struct Part
    {
        std::optional<TicketField> field;
        int digits = 0;
        QString fixedDigits;
    };

    Symbology symbology = Symbology::Nw7;
    // The bars start at the box's left edge and fill its height, less the
    // line of digits under them when `showDigits` is set.
    QRect box;
    QList<Part> parts;
    int narrow = 1;
    int wide = 3;
    // The NW-7 frame letters.
    QChar start = QLatin1Char('A');
    QChar stop = QLatin1Char('A');
    bool showDigits = false;
    // The route numbered sequentially rather than route plus direction.
    bool sequentialRoute = true;

    int digitCount() const;
    // The bars' width for any ticket.
    int barsWidth() const;
    // The digits this ticket's barcode carries; empty when a field's value
    // does not fit its digits (a negative number, a route too high).
    QString digitsFor(const TicketFields &fields) const;
    // The digits as printed under the bars (ITF's leading 0 included).
    QString printedDigits(const QString &digits) const;
    // Bar, space, bar, ... widths in pixels; empty when `digits` is empty.
    QList<int> barWidths(const QString &digits) const;
    // The highest value a field fits in this barcode, if it carries it.
    std::optional<qint64> capacityOf(TicketField field) const;
};
