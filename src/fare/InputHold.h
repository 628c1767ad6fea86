#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// Whether the control panel is in the middle of an operation that holds the
// operator's input (the lamp test of route setting, a waited sound), and
// why. Waits run a local event loop that keeps timers and the network going,
// so whoever acts on the panel from elsewhere asks here first: an operation
// started meanwhile would run inside the one that is waiting.
class InputHold : public QObject
{
    Q_OBJECT

public:
    // Holds the input from its construction to its destruction; scopes nest,
    // and the innermost gives the reason.
    class Scope
    {
    public:
        Scope(InputHold &hold, const QString &reason);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        InputHold &m_hold;
    };

    using QObject::QObject;

    bool isHeld() const { return !m_reasons.isEmpty(); }
    // What the panel is doing, in the operator's words; empty when nothing.
    QString reason() const { return m_reasons.isEmpty() ? QString() : m_reasons.constLast(); }

signals:
    // The panel started or ended holding its input, or the reason changed.
    void changed();

private:
    QStringList m_reasons;
};
