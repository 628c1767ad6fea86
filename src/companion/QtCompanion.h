#pragma once

#include "controls/Companion.h"

class QDialog;

// The companion library's dialogs built with Qt's own.
class QtCompanion : public Companion
{
public:
    qint32 Call_dlg100(QWidget *owner, qint16 keta, qint16 &zeroMode, qint16 &shift, qint16 &fillZero) override;
    void Call_dlg110(QWidget *owner, qint32 mode, const QString &text) override;
    qint32 Call_dlg111(QWidget *owner, SystemTime &date) override;
    QString Brix3FileDlg(QWidget *owner, qint32 flags, const QString &filter, const QString &initialFile,
                         const QString &title) override;
    QString Brix3FolderDlg(QWidget *owner, const QString &title) override;
    qint32 Brix3ChooseColor(QWidget *owner, quint32 &color, CustomColors &customColors) override;
    QString GetOsInfo() override;

    // "Text\0*.wav;*.mp3\0All\0*.*\0\0" -> "Text (*.wav *.mp3);;All (*.*)".
    // A parenthesised pattern list already ending a description is replaced.
    static QString qtFileFilter(const QString &nulSeparatedPairs);

    // Lets tests drive the modal dialogs: called with each dialog just before
    // it runs.
    using DialogHook = void (*)(QDialog *dialog);
    static void setDialogHook(DialogHook hook) { s_dialogHook = hook; }

private:
    static int runDialog(QDialog &dialog);
    static DialogHook s_dialogHook;
};
