#include "SideSettingsSave.h"

#include "display/ErrorReport.h"
#include "settings/SideSettingsStore.h"

void SideSettingsSave::apply(SideSettingsStore &store, QWidget *parent, const QString &failure,
                             const std::function<void(SideSettings &)> &change)
{
    QString error;
    if (!store.update(change, &error) && store.takeFailureNotice()) {
        ErrorReport::showPlain(parent, failure, error);
    }
}
