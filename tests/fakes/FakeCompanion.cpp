#include "FakeCompanion.h"

qint32 FakeCompanion::Call_dlg100(QWidget *, qint16 keta, qint16 &zeroMode, qint16 &shift, qint16 &fillZero)
{
    calls << QStringLiteral("Call_dlg100 keta=%1 zm=%2 sh=%3 fz=%4").arg(keta).arg(zeroMode).arg(shift).arg(fillZero);
    if (duringDlg100) {
        duringDlg100();
    }
    zeroMode = dlg100ZeroMode;
    shift = dlg100Shift;
    fillZero = dlg100FillZero;
    return dlg100Result;
}

void FakeCompanion::Call_dlg110(QWidget *, qint32 mode, const QString &text)
{
    calls << QStringLiteral("Call_dlg110 mode=%1 text=%2").arg(mode).arg(text);
}

qint32 FakeCompanion::Call_dlg111(QWidget *, SystemTime &date)
{
    calls << QStringLiteral("Call_dlg111");
    if (dlg111Result != 0) {
        date = dlg111Date;
    }
    return dlg111Result;
}

QString FakeCompanion::Brix3FileDlg(QWidget *, qint32, const QString &filter, const QString &, const QString &title)
{
    calls << QStringLiteral("Brix3FileDlg title=%1").arg(title);
    lastFilter = filter;
    return fileAnswer;
}

QString FakeCompanion::Brix3FolderDlg(QWidget *, const QString &title)
{
    calls << QStringLiteral("Brix3FolderDlg title=%1").arg(title);
    return folderAnswer;
}

qint32 FakeCompanion::Brix3ChooseColor(QWidget *, quint32 &color, CustomColors &customColors)
{
    calls << QStringLiteral("Brix3ChooseColor color=%1").arg(color, 6, 16, QChar(u'0'));
    lastCustomColors = customColors;
    if (colorResult != 0) {
        color = colorAnswer;
    }
    return colorResult;
}

QString FakeCompanion::GetOsInfo()
{
    calls << QStringLiteral("GetOsInfo");
    return osName;
}
