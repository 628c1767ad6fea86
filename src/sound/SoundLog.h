#pragma once

#include <QLoggingCategory>

// Why a sound did not play. The operator is shown nothing; the log says
// which file failed and what GStreamer made of it.
Q_DECLARE_LOGGING_CATEGORY(lcSound)
