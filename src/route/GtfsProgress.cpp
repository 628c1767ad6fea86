#include "GtfsProgress.h"

QString GtfsProgress::cancelledText()
{
    return QStringLiteral("取り込みを取り消しました");
}

void GtfsProgress::setFile(const QString &name)
{
    const QMutexLocker lock(&m_mutex);
    m_file = name;
    m_permille.store(0, std::memory_order_relaxed);
}

QString GtfsProgress::file() const
{
    const QMutexLocker lock(&m_mutex);
    return m_file;
}
