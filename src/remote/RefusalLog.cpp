#include "RefusalLog.h"

#include "app/LogText.h"

Q_LOGGING_CATEGORY(lcRemote, "tavelo.remote")

namespace {

// Clients remembered at once; beyond it, those quiet for a minute are forgotten.
constexpr qsizetype MaxRemembered = 4096;

} // namespace

void RefusalLog::refused(const QByteArray &peer, const QString &text, bool notable, Clock::time_point now)
{
    const auto found = m_said.find(peer);
    if (found != m_said.end() && now - found->at < Quiet) {
        ++found->since;
        return;
    }
    QString line = LogText::escaped(text);
    if (found != m_said.end() && found->since > 0) {
        line += QStringLiteral(" (and %1 more refused since the last line about it)").arg(found->since);
    }
    if (notable) {
        qCInfo(lcRemote).noquote() << line;
    } else {
        qCDebug(lcRemote).noquote() << line;
    }
    if (found == m_said.end() && m_said.size() >= MaxRemembered) {
        m_said.removeIf([now](const auto &said) { return now - said.value().at >= Quiet; });
        if (m_said.size() >= MaxRemembered) {
            m_said.clear();
        }
    }
    m_said.insert(peer, Said{now, 0});
}
