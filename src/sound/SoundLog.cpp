#include "SoundLog.h"

Q_LOGGING_CATEGORY(lcSound, "tavelo.sound")
