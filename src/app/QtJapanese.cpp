#include "QtJapanese.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace QtJapanese {

bool install(QCoreApplication &app)
{
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    // Widgets made from now on (the calendar's month and day names, the
    // file chooser's dates) take their locale from the default.
    QLocale::setDefault(japanese);
    // Owned by the application, which uses it until it ends.
    auto *translator = new QTranslator(&app);
    if (!translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace QtJapanese
