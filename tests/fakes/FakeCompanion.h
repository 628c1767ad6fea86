#pragma once

#include "controls/Companion.h"

#include <QStringList>

#include <functional>

// Records every call and answers with what the test scripted.
class FakeCompanion : public Companion
{
public:
    // What the next dialogs hand back.
    qint32 dlg100Result = 1;
    qint16 dlg100ZeroMode = 0, dlg100Shift = 0, dlg100FillZero = 0;
    qint32 dlg111Result = 0;
    SystemTime dlg111Date;
    QString fileAnswer;
    QString folderAnswer;
    qint32 colorResult = 0;
    quint32 colorAnswer = 0;
    QString osName = QStringLiteral("Debian GNU/Linux 12 (bookworm)");
    // Runs inside Call_dlg100, while the dialog would be open.
    std::function<void()> duringDlg100;

    // "Call_dlg100 keta=4 zm=0 sh=0 fz=0", "Brix3FileDlg title=..." and so on.
    QStringList calls;
    QString lastFilter;
    CustomColors lastCustomColors{};

    qint32 Call_dlg100(QWidget *owner, qint16 keta, qint16 &zeroMode, qint16 &shift, qint16 &fillZero) override;
    void Call_dlg110(QWidget *owner, qint32 mode, const QString &text) override;
    qint32 Call_dlg111(QWidget *owner, SystemTime &date) override;
    QString Brix3FileDlg(QWidget *owner, qint32 flags, const QString &filter, const QString &initialFile,
                         const QString &title) override;
    QString Brix3FolderDlg(QWidget *owner, const QString &title) override;
    qint32 Brix3ChooseColor(QWidget *owner, quint32 &color, CustomColors &customColors) override;
    QString GetOsInfo() override;
};
