#include "GpsLog.h"

Q_LOGGING_CATEGORY(lcGps, "tavelo.gps")
