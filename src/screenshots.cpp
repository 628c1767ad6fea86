// Renders the program's windows to PNG files: `screenshots OUTDIR`.
// Run offscreen by scripts/screenshots.

#include "app/QtJapanese.h"
#include "companion/PluginBridge.h"
#include "controls/ChimeiCtl_B.h"
#include "windows/DesktopPlatform.h"
#include "windows/Form1.h"
#include "display/JapaneseFonts.h"
#include "windows/frmCtl.h"
#include "settings/PageTabButton.h"
#include "windows/frmOption.h"
#include "settings/OptionsStore.h"
#include "sound/VoiceDialog.h"
#include "sound/mdlM_Tape.h"
#include "ticket/SeirikenPreview.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QTime>
#include <QRadioButton>
#include <QDir>
#include <QFileInfo>

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

// Qt's own dialogs as the program shows them, to check that they speak
// Japanese.
bool saveStockDialogs(QWidget *owner, const QDir &dir)
{
    QMessageBox question(QMessageBox::Question, QStringLiteral("確認"), QStringLiteral("はい・いいえ・OK・キャンセル"),
                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok | QMessageBox::Cancel, owner);
    QColorDialog colour(owner);
    colour.setOption(QColorDialog::DontUseNativeDialog);
    QFileDialog file(owner);
    file.setOption(QFileDialog::DontUseNativeDialog);
    QCalendarWidget calendar;
    calendar.setSelectedDate(QDate(2024, 4, 1));
    bool ok = true;
    const std::pair<QWidget *, QString> shots[] = {{&question, QStringLiteral("qt-message-box.png")},
                                                   {&colour, QStringLiteral("qt-colour-dialog.png")},
                                                   {&file, QStringLiteral("qt-file-dialog.png")},
                                                   {&calendar, QStringLiteral("qt-calendar.png")}};
    for (const auto &[dialog, name] : shots) {
        dialog->show();
        QApplication::processEvents();
        ok = save(dialog, dir, name) && ok;
        dialog->hide();
    }
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: screenshots OUTDIR\n", stderr);
        return 2;
    }
    QtJapanese::install(app);
    JapaneseFonts::installSubstitutions();
    const QDir dir(QString::fromLocal8Bit(argv[1]));

    const DesktopPlatform platform;
    Form1 display(platform.services());
    display.Form_Load();
    frmCtl *panel = display.controlPanel();
    bool ok = save(panel, dir, QStringLiteral("control-panel-start.png"));
    // The sample ticket with every field in the preview, the first company chosen.
    const QString plugin = QFileInfo(QStringLiteral("full.4SP")).absoluteFilePath();
    const OptionResult refused = display.options().update([&plugin](OptionInfo &options) {
        options.Seiriken.UseSeiriPrev = 1;
        options.Seiriken.PluginPath = plugin;
    });
    Q_ASSERT(!refused);
    if (panel->Combo1()->count() > 0) {
        panel->Combo1()->setCurrentIndex(0);
    }
    if (QFileInfo::exists(QStringLiteral("0.hy3"))) {
        // Route 0 of the demo data, from the untouched lists, ten stops on
        // (本町一丁目): half-way round, a board of ten fares.
        panel->Command1_Click(0);
        for (int stop = 1; stop <= 10; ++stop) {
            panel->Command2_Click(1);
        }
    } else {
        display.ChimeiCtl()->SetChimei(QStringLiteral("市民病院前"));
        // Without route data no stop is shown; draw the ticket such a stop gets.
        PluginBridge::Brix4_DrawSeiriken(plugin, &panel->picSeirikenPrev()->image(), QStringLiteral("市民病院前"),
                                         QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy")),
                                         QTime::currentTime().toString(QStringLiteral("HH:mm:ss")), 12, 3, 3, 0);
    }
    QApplication::processEvents();

    ok = save(&display, dir, QStringLiteral("display.png")) && ok;
    ok = save(panel, dir, QStringLiteral("control-panel.png")) && ok;
    panel->Frame1_DblClick(1); // the digit lists in front
    ok = save(panel, dir, QStringLiteral("control-panel-lists.png")) && ok;
    panel->Frame1_DblClick(0);
    panel->Check4()->click();
    QApplication::processEvents();
    ok = save(panel, dir, QStringLiteral("control-panel-preview.png")) && ok;
    panel->Check4()->click();

    // The options dialog, page by page as a new installation shows them,
    // then the frames that only show once chosen.
    frmOption *options = display.optionsDialog();
    options->show();
    for (int page = 0; page < 6; ++page) {
        options->Option1(page)->click();
        QApplication::processEvents();
        ok = save(options, dir, QStringLiteral("options-%1.png").arg(page)) && ok;
    }
    const auto showPage = [&](int page, const QString &name) {
        options->Option1(page)->click();
        QApplication::processEvents();
        ok = save(options, dir, name) && ok;
    };
    options->Option3(1)->click();
    showPage(1, QStringLiteral("options-1-pictures-per-state.png"));
    options->Option5(0)->click();
    showPage(4, QStringLiteral("options-4-before-announcements.png"));
    showPage(5, QStringLiteral("options-5-preview-in-use.png"));
    if (SpeechEngine *engine = display.operation().tape().engine()) {
        VoiceDialog voice(*engine, display.controlPanel());
        voice.adjustSize();
        ok = save(&voice, dir, QStringLiteral("voice-dialog.png")) && ok;
    }
    ok = saveStockDialogs(panel, dir) && ok;
    return ok ? 0 : 1;
}
