#pragma once

#include <QString>

#include <functional>

class QWidget;
class SideSettings;
class SideSettingsStore;

namespace SideSettingsSave {

// Changes the side settings as a window does. When they cannot be saved the
// log says why, and the operator hears of it once in the run, in a box over
// `parent` headed `failure` ("表示の設定を保存できません。").
void apply(SideSettingsStore &store, QWidget *parent, const QString &failure,
           const std::function<void(SideSettings &)> &change);

} // namespace SideSettingsSave
