#pragma once

#include "controls/DegitFormat.h"
#include "lcd/LcdBoardView.h"
#include "fare/FareBoard.h"

#include <QMap>
#include <QString>

#include <functional>

class BusOperation;
class FareRoute;
class LcdBoardCycle;

// What the LCD fare display takes from the running bus, and how it says
// what it shows to assistive technology.
namespace LcdBoardContent {

// A stop's names by language tag ("ja", "kana", "en", "zh-Hans", "zh-Hant",
// "ko"), for a stop of the route that is set (1-based).
using StopNames = std::function<QMap<QString, QString>(int stop)>;
// The ticket-number label the board shows above position 1..98.
using Labels = std::function<QString(int position)>;

// A fare cell as the board lights it, in `format` (the board's zero
// handling and fill); a cell without a fare shows "—" unless the board
// leaves it blank. Wider than the board's four digits: the screen has room
// for a doubled fare of five.
QString fareText(const CellValue &cell, DegitFormat format);

// The positions of the issued ticket numbers at the stop `view` shows:
// from the route's first fare cell up to the highest ticket number drawn so
// far (without ticket numbers in the data: up to the last cell showing a
// fare). Each with its label and fare.
QList<LcdBoardView::Fare> fares(const FareRoute &route, const StopView &view, const Labels &labels,
                                const DegitFormat &format);

LcdBoardView build(const BusOperation &bus, const StopNames &names, const Labels &labels, const DegitFormat &format);

// The words before the stop's name in `language`: "つぎは" / "Next", or
// "ただいま" / "Now at" while the bus stands there.
QString heading(const QString &language, bool standing);
// "終点" / "Last stop" in `language`.
QString lastStopWord(const QString &language);
// "行" / "for" and the destination in `language` (Japanese when the
// destination has no name in it).
QString destinationText(const LcdBoardView &view, const QString &language);

// The stop in every language the screen shows it in (and the lamp when lit).
QString spokenStop(const LcdBoardView &view);
// The fares of the page shown, with the page ("1/3") when there are more.
QString spokenFares(const LcdBoardView &view, const LcdBoardCycle &cycle);

} // namespace LcdBoardContent
