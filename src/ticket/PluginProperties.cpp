#include "PluginProperties.h"

namespace PluginProperties {

namespace {

// Only 1 counts as yes.
QString yesNo(qint32 value)
{
    return value == 1 ? QStringLiteral("---> 可能") : QStringLiteral("---> 不可");
}

} // namespace

QStringList lines(const PlgInfo &info)
{
    QStringList list{
        QStringLiteral("日付の印字 ") + yesNo(info.CanDate),
        QStringLiteral("時刻の印字 ") + yesNo(info.CanTime),
        QStringLiteral("系統番号の印字 ") + yesNo(info.CanRoute),
        QStringLiteral("停名の印字 ") + yesNo(info.CanStopName),
        QStringLiteral("バーコード印字 ") + yesNo(info.CanBarcode),
    };
    if (info.CanBarcode == 1) {
        list << QStringLiteral("バーコード本数 ---> %1").arg(info.BarcodeCount)
             << QStringLiteral("バーコード系統方式 ")
                    + (info.BarcodeRouteMode == 1 ? QStringLiteral("---> 連番式")
                                                  : QStringLiteral("---> 系統番号＋往復フラグ"))
             << QStringLiteral("設定可能な系統範囲 ---> 1 ～ %1").arg(info.MaxRoute)
             << QStringLiteral("停留所認識範囲 ---> %1 ～ %2").arg(info.StopRangeFrom).arg(info.StopRangeTo);
    }
    list << QStringLiteral("社名切り替え:") + (info.CorpCount >= 1 ? QStringLiteral("---> 可能")
                                                                   : QStringLiteral("---> 不可"));
    return list;
}

} // namespace PluginProperties
