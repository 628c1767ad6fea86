#include "QtCompanion.h"

#include "controls/ColorRef.h"
#include "controls/M_Degit.h"

#include <QCalendarWidget>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRegularExpression>
#include <QSpinBox>
#include <QSysInfo>
#include <QVBoxLayout>

QtCompanion::DialogHook QtCompanion::s_dialogHook = nullptr;

int QtCompanion::runDialog(QDialog &dialog)
{
    if (s_dialogHook) {
        s_dialogHook(&dialog);
    }
    return dialog.exec();
}

qint32 QtCompanion::Call_dlg100(QWidget *owner, qint16 keta, qint16 &zeroMode, qint16 &shift, qint16 &fillZero)
{
    QDialog dialog(owner);
    dialog.setObjectName("dlg100");
    dialog.setWindowTitle(QStringLiteral("表示形式の設定"));

    auto *zeroModeList = new QComboBox(&dialog);
    zeroModeList->setObjectName("zeroMode");
    zeroModeList->addItems({QStringLiteral("0 と空欄は表示しない"), QStringLiteral("0 と空欄は 0 を表示する"),
                            QStringLiteral("-1 は 0、0 は表示しない"),
                            QStringLiteral("-1、0 と空欄は 0 を表示する")});
    zeroModeList->setCurrentIndex(qBound(0, int(zeroMode), 3));
    auto *shiftBox = new QSpinBox(&dialog);
    shiftBox->setObjectName("shift");
    shiftBox->setRange(0, qMax(0, keta - 1));
    shiftBox->setValue(shift);
    auto *fillZeroBox = new QSpinBox(&dialog);
    fillZeroBox->setObjectName("fillZero");
    fillZeroBox->setRange(0, keta);
    fillZeroBox->setValue(qMax<qint16>(0, fillZero));

    // Live previews: a fare, a zero and a minus one in the format being edited.
    auto *previewRow = new QHBoxLayout;
    QList<M_Degit *> previews;
    for (const QVariant &sample : {QVariant(210), QVariant(0), QVariant(-1)}) {
        auto *cell = new M_Degit(&dialog);
        cell->setUserSet(false);
        cell->setKeta(keta);
        cell->setProperty("sample", sample);
        cell->setFixedSize(cell->sizeHint());
        previewRow->addWidget(cell);
        previews.append(cell);
    }
    previewRow->addStretch();
    auto refresh = [&] {
        for (M_Degit *cell : previews) {
            cell->setShift(shiftBox->value());
            cell->setFillZero(fillZeroBox->value());
            cell->setZeroMode(zeroModeList->currentIndex());
            cell->setValue(cell->property("sample"));
        }
    };
    QObject::connect(zeroModeList, &QComboBox::currentIndexChanged, &dialog, refresh);
    QObject::connect(shiftBox, &QSpinBox::valueChanged, &dialog, refresh);
    QObject::connect(fillZeroBox, &QSpinBox::valueChanged, &dialog, refresh);
    refresh();

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("ゼロの表示"), zeroModeList);
    form->addRow(QStringLiteral("右詰めの空き桁"), shiftBox);
    form->addRow(QStringLiteral("ゼロ埋めの桁数"), fillZeroBox);
    form->addRow(QStringLiteral("見本（210 / 0 / -1）"), previewRow);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);

    if (runDialog(dialog) != QDialog::Accepted) {
        return 0;
    }
    zeroMode = static_cast<qint16>(zeroModeList->currentIndex());
    shift = static_cast<qint16>(shiftBox->value());
    fillZero = static_cast<qint16>(fillZeroBox->value());
    return 1;
}

void QtCompanion::Call_dlg110(QWidget *owner, qint32 /*mode*/, const QString &text)
{
    QDialog dialog(owner);
    dialog.setObjectName("dlg110");
    dialog.setWindowTitle(QStringLiteral("バージョン情報"));
    auto *label = new QLabel(text, &dialog);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(buttons);
    runDialog(dialog);
}

qint32 QtCompanion::Call_dlg111(QWidget *owner, SystemTime &date)
{
    QDialog dialog(owner);
    dialog.setObjectName("dlg111");
    dialog.setWindowTitle(QStringLiteral("日付の選択"));
    auto *calendar = new QCalendarWidget(&dialog);
    calendar->setObjectName("calendar");
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(calendar, &QCalendarWidget::activated, &dialog, &QDialog::accept);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(calendar);
    layout->addWidget(buttons);
    if (runDialog(dialog) != QDialog::Accepted) {
        return 0;
    }
    const QDate chosen = calendar->selectedDate();
    date.wYear = static_cast<qint16>(chosen.year());
    date.wMonth = static_cast<qint16>(chosen.month());
    date.wDayOfWeek = static_cast<qint16>(chosen.dayOfWeek() % 7); // Sunday is 0
    date.wDay = static_cast<qint16>(chosen.day());
    return 1;
}

QString QtCompanion::qtFileFilter(const QString &nulSeparatedPairs)
{
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*[（(][^()（）]*[)）]\\s*$"));
    const QStringList parts = nulSeparatedPairs.split(QChar(u'\0'), Qt::SkipEmptyParts);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts.at(i);
        description.remove(trailingPatterns);
        QString patterns = parts.at(i + 1);
        patterns.replace(u';', u' ');
        filters.append(QStringLiteral("%1 (%2)").arg(description, patterns.simplified()));
    }
    return filters.join(QStringLiteral(";;"));
}

QString QtCompanion::Brix3FileDlg(QWidget *owner, qint32 /*flags*/, const QString &filter,
                                  const QString &initialFile, const QString &title)
{
    QFileDialog dialog(owner, title, initialFile, qtFileFilter(filter));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (runDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString QtCompanion::Brix3FolderDlg(QWidget *owner, const QString &title)
{
    QFileDialog dialog(owner, title);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (runDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

qint32 QtCompanion::Brix3ChooseColor(QWidget *owner, quint32 &color, CustomColors &customColors)
{
    // Qt's chooser keeps 16 custom colours; the table's last entry rides along
    // unchanged.
    const int shown = qMin<int>(QColorDialog::customCount(), int(customColors.size()));
    for (int i = 0; i < shown; ++i) {
        QColorDialog::setCustomColor(i, ColorRef::toQColor(customColors[i]));
    }
    QColorDialog dialog(ColorRef::toQColor(color), owner);
    const bool chosen = runDialog(dialog) == QDialog::Accepted;
    for (int i = 0; i < shown; ++i) {
        customColors[i] = ColorRef::fromQColor(QColorDialog::customColor(i));
    }
    if (!chosen) {
        return 0;
    }
    color = ColorRef::fromQColor(dialog.selectedColor());
    return 1;
}

QString QtCompanion::GetOsInfo()
{
    return QSysInfo::prettyProductName();
}
