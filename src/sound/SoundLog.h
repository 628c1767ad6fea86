#pragma once

#include <QLoggingCategory>

// Why a sound did not play, or why a route has no announcements. No
// message box interrupts the operator; the log says which file failed and
// why (for a sound, what GStreamer made of it).
Q_DECLARE_LOGGING_CATEGORY(lcSound)
