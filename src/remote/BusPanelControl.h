#pragma once

#include "PanelControl.h"

#include <QMap>
#include <QObject>
#include <QString>

#include <functional>

class BusOperation;
class Form1;

// The running bus as the remote interface and the route editor drive it:
// each command is the bus's own, as the panel's keys run it, and the state
// is the bus's with what the board lights. A dialog of the program holds
// these commands as it holds the operator's keys; a message a window would
// show in a box while a command runs comes back as the refusal instead.
class BusPanelControl : public QObject, public PanelControl
{
    Q_OBJECT

public:
    BusPanelControl(BusOperation &bus, const Form1 &display, QObject *parent = nullptr);

    PanelState state() const override;
    CommandResult setRoute(const QString &route, const QString &section) override;
    CommandResult step(bool forward) override;
    CommandResult announce(bool next) override;
    CommandResult stopAnnouncement() override;
    CommandResult setLateNight(bool on) override;
    CommandResult setBacklight(int state) override;
    CommandResult setCleared(bool on) override;
    CommandResult requestStop() override;
    CommandResult startRun(const QString &tripId, int speed) override;
    CommandResult pauseRun(bool paused) override;
    CommandResult stopRun() override;

signals:
    // The bus changed: what it does or what it holds.
    void changed();

private:
    // Why nothing can be done now, or empty.
    QString heldReason() const;
    template <typename Command>
    CommandResult run(Command command);

    BusOperation &m_bus;
    const Form1 &m_display;
};
