#pragma once

#include "lcd/KanaStopNames.h"
#include "lcd/LcdBoardContent.h"
#include "lcd/LcdBoardCycle.h"
#include "lcd/LcdBoardPainter.h"
#include "fare/BusOperation.h"

#include <QTime>
#include <QTimer>
#include <QWidget>

#include <functional>

// The display window's LCD look: the running bus painted by LcdBoardPainter
// over the whole window. It follows the bus's changes; while shown, it turns
// the stop's languages every 4 s, the fare pages every 5 s and the clock
// each second. Hidden, it holds no timer. It tells assistive technology
// what it shows: the stop in each language as its name, the fares of the
// page as its description.
class LcdFareDisplay : public QWidget
{
    Q_OBJECT

public:
    struct Sources
    {
        // The board's label above a position, and the cells' format.
        LcdBoardContent::Labels labels;
        std::function<DegitFormat()> format;
        // The time of day for the clock (the system's when not given).
        std::function<QTime()> clock;
    };

    LcdFareDisplay(BusOperation &bus, Sources sources, QWidget *parent = nullptr);

    // Where the stop names in other languages come from (the route source);
    // what it gives is shown over the name from the fare data and its kana
    // from the reading dictionary, which are shown alone without it.
    void setStopNames(LcdBoardContent::StopNames names);

    const LcdBoardView &view() const { return m_view; }
    const LcdBoardCycle &cycle() const { return m_cycle; }
    bool timersActive() const;

public slots:
    // Takes what the bus shows now (also after the labels or cells' format
    // changed).
    void refresh();
    void nextLanguage();
    void nextPage();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void followBus(BusOperation::Changes what);
    void report();
    // Runs the timers that have something to turn while shown.
    void updateTimers();

    BusOperation &m_bus;
    Sources m_sources;
    LcdBoardContent::StopNames m_stopNames;
    KanaStopNames m_kana;
    LcdBoardView m_view;
    LcdBoardCycle m_cycle;
    LcdBoardPainter m_painter;
    QTimer m_languageTimer;
    QTimer m_pageTimer;
    QTimer m_clockTimer;
};
