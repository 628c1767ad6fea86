#pragma once

#include "RouteSource.h"

#include <QList>
#include <QStringList>

// The announcements a route starts with, made from its stops: the welcome
// naming the terminal (no step), "次は、(stop)です。" for every stop after the
// first (step flag 1), and "次は、終点、(terminal)です。" for the last. The
// route editor and the GTFS import both start from these.
namespace RouteAnnouncements {

QList<TapeRecord> generate(const RouteSource &source);
// The same with the welcome saying "このバスは、" + `bound` + "です。" (a
// headsign's "○○行き", a loop's "○○循環").
QList<TapeRecord> generate(const RouteSource &source, const QString &bound);
// What the route's announcement file holds: the author's announcements,
// none when the author wants none, and otherwise those made by generate().
QList<TapeRecord> ofSource(const RouteSource &source);
// True when ofSource() gives made-up announcements.
bool areGenerated(const RouteSource &source);

// The stop's name in English: the one the feed or the author gave, else
// its reading romanized, else (a name with kanji and no reading) the name.
QString englishName(const RouteStop &stop);
// The English welcome of a route bound for `bound` (an English name), and
// of a loop returning to `start`.
QString englishWelcome(const QString &bound);
QString englishLoopWelcome(const QString &start);
// The English line of each announcement generate() makes, the welcome
// being `welcome` (by default naming the terminal).
QStringList generateEnglish(const RouteSource &source);
QStringList generateEnglish(const RouteSource &source, const QString &welcome);
// The English line of each announcement of ofSource(), one for each; an
// empty line where the author gave none.
QStringList englishOfSource(const RouteSource &source);

} // namespace RouteAnnouncements
