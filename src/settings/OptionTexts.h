#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

struct SystemTime;

// The fixed texts of the options dialog that its lists and choosers are built
// from: the numbering styles, the face modes, the digit faces, the number
// lists, the file choosers' filters and the form of the fixed ticket date.
namespace OptionTexts {

// The twelve numbering styles of the ticket-number labels, in style order.
QStringList numberingStyles();

// The five face modes of the stop-name display, in mode order.
QStringList fontModes();

// The three faces of the fare cells' digits, in digit-style order (0, 1, 2).
QStringList segmentStyles();

// How a fare cell without a fare shows, in DegitFormat::MissingFare order:
// "-1" as the fare data has it, 空白 (nothing lit), "—" (a dash across the cell).
QStringList missingFares();

// The display's looks, in DisplayStyle order.
QStringList displayStyles();

// "1", "2", ... up to `last`.
QStringList countUpTo(int last);

// Description and pattern pairs for the file chooser, each text ended by a
// NUL and the whole by a second NUL.
QString chooserFilter(const QList<QPair<QString, QString>> &pairs);
QString soundFilter();
QString panelPictureFilter();
QString pluginFilter();

// The ticket date as the dialog shows it: the year in plain digits, then the
// month and the day in two digits each, "/" between ("2026/03/05").
QString fixedDate(int year, int month, int day);
QString fixedDate(const QDate &date);
QString fixedDate(const SystemTime &time);

} // namespace OptionTexts
