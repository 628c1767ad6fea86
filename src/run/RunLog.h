#pragma once

#include <QLoggingCategory>

// What runs of the bus log: when they start and end, and why.
Q_DECLARE_LOGGING_CATEGORY(lcRun)
