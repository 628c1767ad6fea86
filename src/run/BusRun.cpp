#include "BusRun.h"

#include "fare/BusOperation.h"

void BusRun::followRoute(BusOperation &bus)
{
    connect(&bus, &BusOperation::changed, this, [this](BusOperation::Changes what) {
        if (m_stopped) {
            return;
        }
        if (what.testFlag(BusOperation::Change::Route)) {
            end(QStringLiteral("系統が設定し直されました"));
        } else if (what.testFlag(BusOperation::Change::Stop)) {
            emit changed();
        }
    });
}
