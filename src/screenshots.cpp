// Renders the program's windows to PNG files: `screenshots OUTDIR`.
// Run offscreen by scripts/screenshots.

#include "companion/QtCompanion.h"
#include "display/Form1.h"
#include "display/JapaneseFonts.h"
#include "fare/frmCtl.h"
#include "sound/EspeakSpeechService.h"
#include "sound/VoiceDialog.h"
#include "sound/mdlM_Tape.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

namespace {

bool save(QWidget *window, const QDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: screenshots OUTDIR\n", stderr);
        return 2;
    }
    JapaneseFonts::installSubstitutions();
    const QDir dir(QString::fromLocal8Bit(argv[1]));

    QtCompanion companion;
    PlatformServices services;
    services.companion = &companion;
    EspeakSpeechService speech;
    services.speech = &speech;
    Form1 display(services);
    display.Form_Load();
    QApplication::processEvents();

    bool ok = save(&display, dir, QStringLiteral("display.png"));
    ok = save(display.controlPanel(), dir, QStringLiteral("control-panel.png")) && ok;
    if (SpeechEngine *engine = display.controlPanel()->tape().engine()) {
        VoiceDialog voice(*engine, display.controlPanel());
        voice.adjustSize();
        ok = save(&voice, dir, QStringLiteral("voice-dialog.png")) && ok;
    }
    return ok ? 0 : 1;
}
