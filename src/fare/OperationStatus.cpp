#include "OperationStatus.h"

#include "fare/FareRoute.h"
#include "sound/mdlM_Tape.h"

#include <QStringList>

OperationStatus::OperationStatus(const FareRoute &route, const mdlM_Tape &tape)
    : m_route(route)
    , m_tape(tape)
{
}

QString OperationStatus::text() const
{
    if (!m_route.hasRoute()) {
        return locationText();
    }
    return locationText() + QChar(0x3000) + announcementText();
}

QString OperationStatus::locationText() const
{
    if (!m_route.hasRoute()) {
        return QStringLiteral("系統未設定");
    }
    const int stop = m_route.currentStop();
    return QStringList{QStringLiteral("系統 ") + m_route.state().RouteText,
                       QStringLiteral("%1 / %2").arg(stop).arg(m_route.state().RecordCount),
                       m_route.table().slot(stop).name}
        .join(QChar(0x3000));
}

QString OperationStatus::announcementText() const
{
    // The reasons in the order the operator can act on them: a broken file
    // names its line; without speech nothing is spoken whatever the file says.
    if (!m_tape.loadProblem().isEmpty()) {
        return QStringLiteral("放送なし：") + m_tape.loadProblem();
    }
    if (!m_tape.SpeechAvailable()) {
        return QStringLiteral("放送なし：音声合成を使えません");
    }
    if (m_tape.GetTapeCount() == 0) {
        return QStringLiteral("放送なし：この系統の放送用データは空です");
    }
    const std::optional<QString> words = nextAnnouncement();
    if (!words) {
        return QStringLiteral("次の放送：なし（最後の放送まで済みました）");
    }
    return QStringLiteral("次の放送：") + (words->isEmpty() ? QStringLiteral("（料金を進めるだけ）") : *words);
}

std::optional<QString> OperationStatus::nextAnnouncement() const
{
    const qint32 next = m_tape.GetTapePos() + 1;
    if (next > m_tape.GetTapeCount()) {
        return std::nullopt;
    }
    return m_tape.GetTapeText(next);
}
