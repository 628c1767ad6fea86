#pragma once

#include <QWidget>

// The とまります lamp of the board: a lit panel when a passenger has asked
// the bus to stop, a dark one otherwise, drawn at whatever size the board is
// shown. A screen reader hears its name and whether it is lit.
class StopRequestLamp : public QWidget
{
    Q_OBJECT

public:
    explicit StopRequestLamp(QWidget *parent = nullptr);

    bool isLit() const { return m_lit; }
    void setLit(bool lit);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_lit = false;
};
