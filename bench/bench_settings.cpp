// Measures the settings load at the end of start-up: reading R57.in4 and
// applying everything to the windows (cells, options, control panel, window
// position, the options applied to the display).
// Target: under 20 ms (median), so the settings never delay the start-up.
// Exits non-zero when it is missed.

#include "FakeCompanion.h"
#include "MedianTarget.h"
#include "controls/M_Degit.h"
#include "windows/Form1.h"
#include "display/JapaneseFonts.h"
#include "settings/SettingsLocation.h"
#include "windows/frmOption.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    JapaneseFonts::installSubstitutions();
    QTemporaryDir dir;
    const SettingsLocation location(dir.filePath("R57"), QString(), true);
    FakeCompanion companion;
    PlatformServices services;
    services.companion = &companion;
    services.settings = &location;
    Form1 display(services);
    display.Form_Load();

    // A file with something in every kind of field.
    frmOption &options = *display.optionsDialog();
    options.Text2(0)->setText(QStringLiteral("/srv/運賃データ"));
    options.Text2(1)->setText(QStringLiteral("/srv/音声データ"));
    options.Check2()->setChecked(true);
    options.Combo2()->setCurrentIndex(4);
    options.acceptEdits();
    for (int i = 1; i <= 98; ++i) {
        display.Degit(i)->setShift(1);
        display.Degit(i)->setFillZero(1);
    }
    display.SaveIni();

    std::vector<double> loads;
    for (int round = 0; round < 50; ++round) {
        QElapsedTimer timer;
        timer.start();
        display.LoadIni();
        loads.push_back(timer.nsecsElapsed() / 1e6);
    }
    return medianMeets("LoadIni and applying everything", loads, 20) ? 0 : 1;
}
