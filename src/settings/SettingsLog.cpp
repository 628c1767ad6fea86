#include "SettingsLog.h"

Q_LOGGING_CATEGORY(lcSettings, "tavelo.settings")
