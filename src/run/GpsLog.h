#pragma once

#include <QLoggingCategory>

// Following the bus by its position: the receiver's connection, the tracks
// replayed, the stops passed.
Q_DECLARE_LOGGING_CATEGORY(lcGps)
