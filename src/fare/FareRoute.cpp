#include "FareRoute.h"

#include "formats/Hy3File.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

RouteLoadResult refused(const QString &message, const QString &informativeText = QString())
{
    return {false, message, informativeText};
}

QString noRouteDataText()
{
    return QStringLiteral("指定した系統のデータがありません...");
}

QString unregisteredText()
{
    return QStringLiteral("指定した系統はデータの数が0(未登録)の可能性があります...");
}

QString sectionTooLargeText()
{
    return QStringLiteral("指定した区間はデータの数よりも多いです...") + QStringLiteral("\r\n")
        + QStringLiteral("  解決法：正しい区間を入力して下さい.");
}

QString unreadableText(const QString &path)
{
    return QStringLiteral("指定した系統のデータファイルを読み込めません。\r\n%1").arg(path);
}

} // namespace

RouteLoadResult FareRoute::load(const RouteRequest &request, const QString &fareFilePath)
{
    const qint16 startSection = std::clamp<qint16>(request.startSection, 1, RouteSetting::MaxSection);

    // Only ever opened for reading, so a missing file is reported, never created.
    if (!QFileInfo::exists(fareFilePath)) {
        return refused(noRouteDataText(), QDir::toNativeSeparators(QFileInfo(fareFilePath).absoluteFilePath()));
    }
    QFile file(fareFilePath);
    if (QFileInfo(fareFilePath).isDir() || !file.open(QIODevice::ReadOnly)) {
        return refused(unreadableText(fareFilePath));
    }
    // Bytes past the last record are ignored, so a huge file costs no more
    // memory than the largest route.
    const QByteArray bytes = file.read(Hy3File::MaxUsedBytes);
    if (file.error() != QFileDevice::NoError) {
        return refused(unreadableText(fareFilePath));
    }
    file.close();

    const Hy3File::Contents contents = Hy3File::parse(bytes);
    switch (contents.problem) {
    case Hy3File::Problem::ZeroCount:
        return refused(unregisteredText());
    case Hy3File::Problem::NegativeCount:
        return refused(sectionTooLargeText());
    case Hy3File::Problem::None:
    case Hy3File::Problem::RecordCut:
        // The start section must lie before the last stop, whatever else is wrong.
        if (contents.count - 1 < startSection) {
            return refused(sectionTooLargeText());
        }
        break;
    default:
        break;
    }
    if (contents.problem != Hy3File::Problem::None) {
        return refused(Hy3File::problemText(contents));
    }

    // The entry, the table, the count and the position change together, so
    // that stepping never walks past what the table holds and the route
    // reported is the one whose fares are shown.
    m_table.clear();
    for (size_t i = 0; i < contents.records.size(); ++i) {
        m_table.storeRecord(static_cast<int>(i) + 1, contents.records[i]);
    }
    m_state.RouteText = request.routeText;
    m_state.StartSection = startSection;
    m_state.RecordCount = contents.count;
    m_state.CurrentIndex = static_cast<qint16>(startSection - 1);
    return {true, QString(), QString()};
}

void FareRoute::setHeldDate(const QString &date)
{
    m_state.HeldDate = date;
}

bool FareRoute::hasRoute() const
{
    return m_state.RecordCount > 0;
}

bool FareRoute::canStepBack() const
{
    return hasRoute() && m_state.CurrentIndex > 0;
}

bool FareRoute::canStepForward() const
{
    return hasRoute() && m_state.CurrentIndex + 1 < m_state.RecordCount;
}

bool FareRoute::stepBack()
{
    if (!canStepBack()) {
        return false;
    }
    --m_state.CurrentIndex;
    return true;
}

bool FareRoute::stepForward()
{
    if (!canStepForward()) {
        return false;
    }
    ++m_state.CurrentIndex;
    return true;
}

int FareRoute::currentStop() const
{
    return m_state.CurrentIndex + 1;
}
