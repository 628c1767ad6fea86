#include "TimetableRunDialog.h"

#include "route/ServiceTime.h"
#include "run/RouteTrips.h"
#include "run/RunClock.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

TimetableRunDialog::TimetableRunDialog(const RouteTrips &trips, const QString &routeText, int firstStop,
                                       QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("時刻表で運行"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("系統 %1 の便（発車は停留所 %2 から）").arg(routeText).arg(firstStop)));

    m_trips = new QTreeWidget;
    m_trips->setAccessibleName(QStringLiteral("便"));
    m_trips->setHeaderLabels({QStringLiteral("便"), QStringLiteral("行先"), QStringLiteral("発車")});
    m_trips->setRootIsDecorated(false);
    m_trips->setAllColumnsShowFocus(true);
    for (const RouteTrip &trip : trips.trips()) {
        const std::optional<int> departure = RouteTrips::departure(trip, firstStop);
        auto *item = new QTreeWidgetItem(m_trips, {trip.id, trip.headsign,
                                                   departure ? ServiceTime::format(*departure) : QStringLiteral("—")});
        item->setData(0, Qt::UserRole, trip.id);
    }
    m_trips->sortByColumn(2, Qt::AscendingOrder);
    m_trips->setSortingEnabled(true);
    m_trips->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (m_trips->topLevelItemCount() > 0) {
        m_trips->setCurrentItem(m_trips->topLevelItem(0));
    }
    layout->addWidget(m_trips);

    auto *form = new QFormLayout;
    m_speed = new QSpinBox;
    m_speed->setRange(RunClock::MinSpeed, RunClock::MaxSpeed);
    m_speed->setValue(1);
    m_speed->setPrefix(QStringLiteral("×"));
    m_speed->setAccessibleName(QStringLiteral("速さ"));
    form->addRow(QStringLiteral("速さ（実時間の何倍か）"), m_speed);
    layout->addLayout(form);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("運行開始"));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(m_trips->topLevelItemCount() > 0);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_trips, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(520, 420);
}

QString TimetableRunDialog::tripId() const
{
    const QTreeWidgetItem *item = m_trips->currentItem();
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

int TimetableRunDialog::speed() const
{
    return m_speed->value();
}
