#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

class QWidget;

// The system-time record handed to the date chooser: eight 16-bit fields.
struct SystemTime
{
    qint16 wYear = 0;
    qint16 wMonth = 0;
    qint16 wDayOfWeek = 0;
    qint16 wDay = 0;
    qint16 wHour = 0;
    qint16 wMinute = 0;
    qint16 wSecond = 0;
    qint16 wMilliseconds = 0;
};

// The table of custom colours that the colour chooser shows and keeps.
using CustomColors = std::array<quint32, 17>;

// The stock dialogs and system query of the companion library. The program
// uses QtCompanion; tests hand in a fake that records what was asked.
class Companion
{
public:
    virtual ~Companion() = default;

    // The digit cell's settings dialog: edits the three values in place.
    // Returns 1 when the user accepted.
    virtual qint32 Call_dlg100(QWidget *owner, qint16 keta, qint16 &zeroMode, qint16 &shift,
                               qint16 &fillZero) = 0;
    // The modal About box showing the text.
    virtual void Call_dlg110(QWidget *owner, qint32 mode, const QString &text) = 0;
    // The date chooser: non-zero when a date was chosen, which then fills
    // year, month, day of week and day.
    virtual qint32 Call_dlg111(QWidget *owner, SystemTime &date) = 0;
    // A file chooser. `filter` holds description and pattern pairs, each text
    // ended by a NUL. Gives the chosen path, empty when cancelled.
    virtual QString Brix3FileDlg(QWidget *owner, qint32 flags, const QString &filter,
                                 const QString &initialFile, const QString &title) = 0;
    // A folder chooser: the chosen folder, empty when cancelled.
    virtual QString Brix3FolderDlg(QWidget *owner, const QString &title) = 0;
    // The colour chooser (0x00BBGGRR). Non-zero when a colour was chosen; the
    // custom colours are taken back from the chooser either way.
    virtual qint32 Brix3ChooseColor(QWidget *owner, quint32 &color, CustomColors &customColors) = 0;
    // The running system's name.
    virtual QString GetOsInfo() = 0;
};
