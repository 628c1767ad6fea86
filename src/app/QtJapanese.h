#pragma once

class QCoreApplication;

// Qt's own texts and formats in Japanese whatever the system's locale, as the
// rest of the program speaks: the buttons of message boxes, the colour, file
// and folder choosers, the month and day names of the calendar.
namespace QtJapanese {

// Makes Japanese the default locale and installs Qt's Japanese translations
// into `app`; false when the translations are not installed (then Qt's
// texts stay in English).
bool install(QCoreApplication &app);

} // namespace QtJapanese
