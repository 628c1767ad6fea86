#include "SideSettingsStore.h"

#include "SettingsLog.h"
#include "app/LogText.h"

SideSettingsStore::SideSettingsStore(const QString &path, QObject *parent)
    : QObject(parent)
    , m_path(path)
{
    if (!m_path.isEmpty()) {
        QString problem;
        m_settings = SideSettings::load(m_path, &problem);
        report(problem);
    }
}

bool SideSettingsStore::update(const std::function<void(SideSettings &)> &change, QString *error)
{
    if (m_path.isEmpty()) {
        const SideSettings before = m_settings;
        change(m_settings);
        if (!(m_settings == before)) {
            emit changed();
        }
        return true;
    }
    QString problem;
    SideSettings fresh = SideSettings::load(m_path, &problem);
    report(problem);
    // A file damaged since it was read well: the copy here still has all it
    // held, its other fields included, while the file now has the defaults.
    SideSettings next = fresh.keptAsBad() ? m_settings : fresh;
    change(next);
    QString why;
    const bool saved = next.save(m_path, &why);
    if (!saved) {
        if (!m_failuresSaid.contains(why)) {
            m_failuresSaid.insert(why);
            qCWarning(lcSettings).noquote() << LogText::escaped(why);
        }
        if (error) {
            *error = why;
        }
    }
    if (!(next == m_settings)) {
        m_settings = next;
        emit changed();
    }
    return saved;
}

bool SideSettingsStore::takeFailureNotice()
{
    if (m_failureNoticeTaken) {
        return false;
    }
    m_failureNoticeTaken = true;
    return true;
}

void SideSettingsStore::report(const QString &text)
{
    if (text.isEmpty() || m_problems.contains(text)) {
        return;
    }
    m_problems << text;
    emit problemFound(text);
}
