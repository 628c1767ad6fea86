#pragma once

#include <QLoggingCategory>

// What the settings could not keep as the operator gave it: a path refused
// in the options dialog, a string the settings file cannot hold.
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
