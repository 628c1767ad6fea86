#include "LcdFareDisplay.h"

#include <QAccessible>
#include <QPainter>
#include <QPaintEvent>

LcdFareDisplay::LcdFareDisplay(BusOperation &bus, Sources sources, QWidget *parent)
    : QWidget(parent)
    , m_bus(bus)
    , m_sources(std::move(sources))
{
    setObjectName(QStringLiteral("LcdFareDisplay"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QString());
    m_languageTimer.setInterval(LcdBoardCycle::LanguageMs);
    m_pageTimer.setInterval(LcdBoardCycle::PageMs);
    m_clockTimer.setInterval(1000);
    connect(&m_languageTimer, &QTimer::timeout, this, &LcdFareDisplay::nextLanguage);
    connect(&m_pageTimer, &QTimer::timeout, this, &LcdFareDisplay::nextPage);
    connect(&m_clockTimer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    connect(&m_bus, &BusOperation::changed, this, &LcdFareDisplay::followBus);
    m_kana.load(m_bus.tapeFolder());
    refresh();
}

void LcdFareDisplay::setStopNames(LcdBoardContent::StopNames names)
{
    m_stopNames = std::move(names);
    refresh();
}

bool LcdFareDisplay::timersActive() const
{
    return m_languageTimer.isActive() || m_pageTimer.isActive() || m_clockTimer.isActive();
}

void LcdFareDisplay::followBus(BusOperation::Changes what)
{
    if (what & BusOperation::Change::Route) {
        m_kana.load(m_bus.tapeFolder());
    }
    refresh();
}

void LcdFareDisplay::refresh()
{
    // The route source's names, over the name and kana the fare data and
    // the readings give.
    const LcdBoardContent::StopNames names = [this](int stop) {
        QMap<QString, QString> shown = m_kana.names(m_bus.route().table().slot(stop).name);
        if (m_stopNames) {
            shown.insert(m_stopNames(stop));
        }
        return shown;
    };
    const DegitFormat format = m_sources.format ? m_sources.format() : DegitFormat();
    LcdBoardView view = LcdBoardContent::build(m_bus, names, m_sources.labels, format);
    if (view == m_view) {
        return;
    }
    // The table starts again at its first page for a new stop or route; a
    // lamp lit or put out leaves the page where it is.
    const bool newTable = view.fares != m_view.fares;
    const bool newNames = view.names != m_view.names;
    m_view = std::move(view);
    m_cycle.setNames(m_view.names);
    m_cycle.setFareCount(int(m_view.fares.size()), newTable);
    // What starts again has its full turn before the next.
    if (newTable) {
        m_pageTimer.stop();
    }
    if (newNames) {
        m_languageTimer.stop();
    }
    updateTimers();
    report();
    update();
}

void LcdFareDisplay::nextLanguage()
{
    m_cycle.nextLanguage();
    update();
}

void LcdFareDisplay::nextPage()
{
    m_cycle.nextPage();
    report();
    update();
}

void LcdFareDisplay::report()
{
    const QString name = LcdBoardContent::spokenStop(m_view);
    const QString description = LcdBoardContent::spokenFares(m_view, m_cycle);
    if (name != accessibleName()) {
        setAccessibleName(name);
    }
    if (description != accessibleDescription()) {
        setAccessibleDescription(description);
    }
}

void LcdFareDisplay::updateTimers()
{
    const bool shown = isVisible() && !m_view.dark;
    const auto run = [](QTimer &timer, bool needed) {
        if (!needed) {
            timer.stop();
        } else if (!timer.isActive()) {
            timer.start();
        }
    };
    run(m_languageTimer, shown && m_cycle.rotatesLanguages());
    run(m_pageTimer, shown && m_cycle.pages());
    run(m_clockTimer, shown);
}

void LcdFareDisplay::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refresh();
    updateTimers();
}

void LcdFareDisplay::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_languageTimer.stop();
    m_pageTimer.stop();
    m_clockTimer.stop();
}

void LcdFareDisplay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QTime now = m_sources.clock ? m_sources.clock() : QTime::currentTime();
    m_painter.paint(painter, rect(), m_view, m_cycle, now);
}
