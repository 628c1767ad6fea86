#include "LcdBoardContent.h"

#include "display/BoardLayout.h"
#include "LcdBoardCycle.h"
#include "fare/BusOperation.h"
#include "fare/FareRoute.h"

#include <QStringList>
#include <QVariant>

#include <algorithm>

namespace LcdBoardContent {

namespace {

constexpr int FareDigits = 6;

struct Words
{
    const char16_t *next;
    const char16_t *here;
    const char16_t *last;
};

Words wordsOf(const QString &language)
{
    if (language == QLatin1String("en")) {
        return {u"Next", u"Now at", u"Last stop"};
    }
    if (language == QLatin1String("zh-Hans")) {
        return {u"下一站", u"本站", u"终点站"};
    }
    if (language == QLatin1String("zh-Hant")) {
        return {u"下一站", u"本站", u"終點站"};
    }
    if (language == QLatin1String("ko")) {
        return {u"다음 정류장", u"이번 정류장", u"종점"};
    }
    return {u"つぎは", u"ただいま", u"終点"};
}

QString numberOf(const Labels &labels, int position)
{
    // The board's full-width digits read as plain ones, and its spaced
    // "な し" as a word.
    QString number = labels ? labels(position).normalized(QString::NormalizationForm_KC) : QString();
    number.remove(u' ');
    return number.isEmpty() ? QString::number(position) : number;
}

} // namespace

QString fareText(const CellValue &cell, DegitFormat format)
{
    format.keta = std::max(format.keta, FareDigits);
    if (format.missingFare != DegitFormat::MissingFare::Blank) {
        format.missingFare = DegitFormat::MissingFare::Dash;
    }
    QString text;
    if (const auto *number = std::get_if<qint32>(&cell)) {
        text = format.litText(QVariant(*number));
    } else if (const auto *words = std::get_if<QString>(&cell)) {
        text = format.litText(QVariant(*words));
    }
    text = text.trimmed();
    if (!text.isEmpty() && text.count(u'-') == text.size()) {
        return QStringLiteral("—");
    }
    return text;
}

QList<LcdBoardView::Fare> fares(const FareRoute &route, const StopView &view, const Labels &labels,
                                const DegitFormat &format)
{
    QList<LcdBoardView::Fare> table;
    if (!view.valid) {
        return table;
    }
    const int first = std::max<int>(1, route.state().StartSection);
    const int stop = std::min<int>(view.ticket.stopPosition, DataIo::SlotCount);
    int last = 0;
    for (int s = 1; s <= stop; ++s) {
        last = std::max<int>(last, route.table().slot(s).ticketNumber);
    }
    last = std::min(last, BoardLayout::Positions);
    if (last < first) {
        for (int n = BoardLayout::Positions; n >= first && last < first; --n) {
            if (!fareText(view.cells.at(size_t(n)), format).isEmpty()) {
                last = n;
            }
        }
    }
    for (int n = first; n <= last; ++n) {
        table.append({numberOf(labels, n), fareText(view.cells.at(size_t(n)), format)});
    }
    return table;
}

LcdBoardView build(const BusOperation &bus, const StopNames &names, const Labels &labels, const DegitFormat &format)
{
    LcdBoardView view;
    view.dark = bus.cleared();
    const FareRoute &route = bus.route();
    const StopView &board = bus.board();
    view.hasRoute = route.hasRoute();
    if (!view.hasRoute) {
        return view;
    }
    view.route = route.state().RouteText;
    view.stopRequested = bus.stopRequested();
    if (bus.lampTest()) {
        view.message = QStringLiteral("系統選別中");
        return view;
    }
    if (!board.valid) {
        return view;
    }
    const int stop = board.ticket.stopPosition;
    const int lastStop = route.state().RecordCount;
    view.standing = stop == std::max<int>(1, route.state().StartSection) && stop < lastStop;
    view.lastStop = stop == lastStop;
    if (names) {
        view.names = names(stop);
        view.destination = names(lastStop);
    }
    if (view.names.value(QStringLiteral("ja")).isEmpty()) {
        view.names.insert(QStringLiteral("ja"), board.stopName);
    }
    if (view.destination.value(QStringLiteral("ja")).isEmpty()) {
        view.destination.insert(QStringLiteral("ja"), route.table().slot(lastStop).name);
    }
    view.fares = fares(route, board, labels, format);
    return view;
}

QString heading(const QString &language, bool standing)
{
    const Words words = wordsOf(language);
    return QString::fromUtf16(standing ? words.here : words.next);
}

QString lastStopWord(const QString &language)
{
    return QString::fromUtf16(wordsOf(language).last);
}

QString destinationText(const LcdBoardView &view, const QString &language)
{
    const QString name = view.destination.value(language);
    if (language == QLatin1String("ja") || name.trimmed().isEmpty()) {
        const QString ja = view.destination.value(QStringLiteral("ja"));
        return ja.isEmpty() ? QString() : ja + QStringLiteral(" 行");
    }
    if (language == QLatin1String("en")) {
        return QStringLiteral("for ") + name;
    }
    if (language == QLatin1String("ko")) {
        return name + QStringLiteral(" 행");
    }
    return (language == QLatin1String("zh-Hant") ? QStringLiteral("開往 ") : QStringLiteral("开往 ")) + name;
}

QString spokenStop(const LcdBoardView &view)
{
    if (view.dark || !view.hasRoute) {
        return {};
    }
    if (!view.message.isEmpty()) {
        return view.message;
    }
    QStringList parts;
    for (const QString &language : LcdBoardCycle::languagesOf(view.names)) {
        QString name = view.names.value(language);
        if (language == QLatin1String("ja") && !view.names.value(QStringLiteral("kana")).isEmpty()) {
            name += QStringLiteral("（%1）").arg(view.names.value(QStringLiteral("kana")));
        }
        QString said = heading(language, view.standing) + u' ' + name;
        if (view.lastStop) {
            said += u' ' + lastStopWord(language);
        }
        parts.append(said);
    }
    if (view.stopRequested) {
        parts.prepend(QStringLiteral("とまります"));
    }
    return parts.join(QStringLiteral("。"));
}

QString spokenFares(const LcdBoardView &view, const LcdBoardCycle &cycle)
{
    if (view.dark || view.fares.isEmpty()) {
        return {};
    }
    QStringList cells;
    const int end = std::min<int>(cycle.firstFare() + cycle.faresOnPage(), view.fares.size());
    for (int i = cycle.firstFare(); i < end; ++i) {
        const LcdBoardView::Fare &fare = view.fares.at(i);
        const QString said = fare.fare.isEmpty() ? QStringLiteral("表示なし")
            : fare.fare == QStringLiteral("—")   ? QStringLiteral("運賃なし")
                                                 : fare.fare + QStringLiteral("円");
        cells.append(QStringLiteral("%1 %2").arg(fare.number, said));
    }
    QString text = QStringLiteral("整理券 ") + cells.join(QStringLiteral("、"));
    if (cycle.pages()) {
        text += QStringLiteral("（%1 ページ）").arg(cycle.pageText());
    }
    return text;
}

} // namespace LcdBoardContent
