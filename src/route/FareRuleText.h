#pragma once

#include "FareRule.h"

#include <QString>
#include <QStringList>

// The fare rule's tables as an author types them, one entry a line:
// distance bands "3.0,210" (up to 3.0 km, 210 yen), fares by zones crossed
// "210,260,310" (within one zone, one crossed, ...) and zone pairs
// "A,B,260". Reading keeps every entry it understands; each one it cannot is
// named in `unreadable` (which table, which line, what was typed), so that
// nothing typed is dropped without the author seeing it.
namespace FareRuleText {

QString bandsText(const std::vector<FareRule::Band> &bands);
std::vector<FareRule::Band> bandsFromText(const QString &text, QStringList &unreadable);

QString zoneFaresText(const std::vector<int> &fares);
std::vector<int> zoneFaresFromText(const QString &text, QStringList &unreadable);

QString zonePairsText(const QHash<QPair<QString, QString>, int> &pairs);
QHash<QPair<QString, QString>, int> zonePairsFromText(const QString &text, QStringList &unreadable);

int tenths(double km);

} // namespace FareRuleText
