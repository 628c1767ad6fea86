#pragma once

#include <QList>
#include <QString>

// NW-7 (Codabar), the barcode of Japanese numbered tickets: each character
// is four bars and three spaces, two or three of them wide, with a narrow
// gap between characters, framed by the start and stop letters A to D.
class Nw7Barcode
{
public:
    // `digits` holds only 0-9; `start` and `stop` are one of A, B, C, D.
    Nw7Barcode(QString digits, QChar start, QChar stop);

    static bool isFrameLetter(QChar letter);

    // The widths of the bars and spaces from the start letter to the stop
    // letter, a bar first; empty when the digits or letters are not valid.
    QList<int> barWidths(int narrow, int wide) const;
    // The total width barWidths() will have.
    static int totalWidth(int digitCount, int narrow, int wide);

private:
    QString m_text;
};
