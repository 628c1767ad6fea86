#pragma once

#include <QDialog>
#include <QString>

class QSpinBox;
class QTreeWidget;
class RouteTrips;

// "時刻表で運行": the trips of the route on the board, each with its
// headsign and its departure from the route's first stop (the section's),
// and the speed of the run.
class TimetableRunDialog : public QDialog
{
    Q_OBJECT

public:
    TimetableRunDialog(const RouteTrips &trips, const QString &routeText, int firstStop, QWidget *parent = nullptr);

    // The trip chosen; empty when none.
    QString tripId() const;
    int speed() const;

private:
    QTreeWidget *m_trips = nullptr;
    QSpinBox *m_speed = nullptr;
};
