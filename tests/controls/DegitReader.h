#pragma once

#include "controls/M_Degit.h"

#include <QImage>
#include <QString>

// Reads back what a digit cell shows: each position is compared pixel for
// pixel with a one-digit cell drawing a known character in the same look.
// A position showing only unlit segments reads as a space; one that matches
// nothing reads as '?'.
inline QString readDegit(const M_Degit &cell)
{
    const QSize digit = M_Degit::digitSizeFor(cell.degitSize());
    auto positionImage = [&](const QImage &picture, int position) {
        return picture.copy(position * digit.width(), 0, digit.width(), digit.height());
    };
    auto reference = [&](QChar ch) {
        M_Degit one;
        one.setDegitSize(cell.degitSize());
        one.setDegitStyle(cell.degitStyle());
        one.setKeta(1);
        one.setZeroMode(-1);
        one.setBaseForeColor(cell.baseForeColor());
        one.setDegitForeColor(cell.degitForeColor());
        one.setBackColor(cell.backColor());
        one.setValue(QString(ch));
        return positionImage(one.picture(), 0);
    };
    QString read;
    for (int i = 0; i < cell.keta(); ++i) {
        const QImage shown = positionImage(cell.picture(), i);
        QChar found = u'?';
        for (QChar ch : QStringLiteral(" 0123456789-.")) {
            if (reference(ch) == shown) {
                found = ch;
                break;
            }
        }
        read += found;
    }
    return read;
}
