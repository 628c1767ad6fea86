#include "RunLog.h"

Q_LOGGING_CATEGORY(lcRun, "tavelo.run")
