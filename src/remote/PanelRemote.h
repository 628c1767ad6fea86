#pragma once

#include "PanelControl.h"

#include <QObject>
#include <QTimer>

class Form1;
class QAbstractButton;
class frmCtl;

// The control panel and the board as the remote interface sees them: every
// command checks that the panel's own key could be used now and then runs
// the panel's own handler, with the messages the panel would show in a box
// taken back as the refusal's reason.
class PanelRemote : public QObject, public PanelControl
{
    Q_OBJECT

public:
    explicit PanelRemote(Form1 &display, QObject *parent = nullptr);

    PanelState state() const override;
    CommandResult setRoute(const QString &route, const QString &section) override;
    CommandResult step(bool forward) override;
    CommandResult announce(bool next) override;
    CommandResult stopAnnouncement() override;
    CommandResult setLateNight(bool on) override;
    CommandResult setBacklight(int state) override;
    CommandResult setCleared(bool on) override;

signals:
    // The state may have changed (a panel operation began or ended, a
    // switch moved, an announcement ended).
    void changed();

private:
    // Why nothing can be done now, or empty.
    QString heldReason() const;
    // Why `key` cannot be used now (held input, or the key is disabled:
    // `unavailable` says why), or empty.
    QString refusalFor(const QAbstractButton *key, const QString &unavailable) const;
    // Why the announcement keys are off.
    QString tapeUnavailable() const;
    // Runs `operation` as the panel's key would and turns a message it
    // shows into a refusal.
    template <typename Operation>
    CommandResult run(Operation operation);
    void watchSpeech();

    Form1 &m_display;
    frmCtl &m_panel;
    // Speech has no signal of its own for its end: look while it speaks.
    QTimer m_speechWatch;
};
