#include "BusPanelControl.h"

#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "display/BoardLayout.h"
#include "display/ErrorReport.h"
#include "windows/Form1.h"
#include "lcd/LcdFareDisplay.h"
#include "fare/BusOperation.h"
#include "fare/OperationStatus.h"
#include "run/RunSlot.h"
#include "sound/mdlM_Tape.h"

#include <QApplication>
#include <QJsonArray>
#include <QLabel>

namespace {

QJsonObject namesJson(const QMap<QString, QString> &names)
{
    QJsonObject json;
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        json.insert(it.key(), it.value());
    }
    return json;
}

// What the LCD shows, for the board mirror to draw the same screen.
QJsonObject lcdJson(const LcdBoardView &view)
{
    QJsonArray fares;
    for (const LcdBoardView::Fare &fare : view.fares) {
        fares.append(QJsonArray{fare.number, fare.fare});
    }
    return {{"destination", namesJson(view.destination)},
            {"names", namesJson(view.names)},
            {"standing", view.standing},
            {"lastStop", view.lastStop},
            {"message", view.message},
            {"fares", fares}};
}

} // namespace

BusPanelControl::BusPanelControl(BusOperation &bus, const Form1 &display, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
    , m_display(display)
{
    connect(&m_bus, &BusOperation::changed, this, &BusPanelControl::changed);
    connect(&m_display.runs(), &RunSlot::changed, this, &BusPanelControl::changed);
    // The board mirror draws the look the display shows.
    connect(&m_display, &Form1::displayStyleChanged, this, &BusPanelControl::changed);
}

PanelState BusPanelControl::state() const
{
    PanelState state;
    const FareRoute &route = m_bus.route();
    state.hasRoute = route.hasRoute();
    state.route = route.state().RouteText;
    state.section = route.state().StartSection;
    if (state.hasRoute) {
        state.stopPosition = route.currentStop();
        state.stopCount = route.state().RecordCount;
        const StopRecord &slot = route.table().slot(state.stopPosition);
        state.stopName = slot.name;
        state.ticket = slot.ticketNumber;
        state.stopNames = m_display.stopNames(state.stopPosition);
    }
    state.lateNight = m_bus.lateNight();
    state.backlight = m_bus.backlight();
    state.cleared = m_bus.cleared();
    state.stopRequested = m_bus.stopRequested();

    const mdlM_Tape &tape = m_bus.tape();
    state.announcementPosition = tape.GetTapePos();
    state.announcementCount = tape.GetTapeCount();
    state.nextAnnouncement = OperationStatus(route, tape).nextAnnouncement().value_or(QString());
    state.speaking = m_bus.speaking();
    state.announcementAvailable = m_bus.announcementsAvailable();

    // What the board lights, in the cells' own format.
    for (int n = 1; n <= BoardLayout::Positions; ++n) {
        state.cells.append(m_display.Degit(n)->shownText());
        state.labels.append(m_display.ticketLabel(n));
    }
    // The strip names what it shows for a screen reader.
    state.strip = m_display.ChimeiCtl()->accessibleName();
    state.held = heldReason();
    state.run = m_display.runs().state();
    state.style = DisplayStyles::word(m_display.displayStyle());
    state.lcd = lcdJson(m_display.lcdDisplay()->view());
    return state;
}

QString BusPanelControl::heldReason() const
{
    if (const QString held = m_bus.heldReason(); !held.isEmpty()) {
        return held;
    }
    // A dialog of the program (options, a message, the end question) holds
    // the panel until the operator answers it.
    if (const QWidget *dialog = QApplication::activeModalWidget()) {
        return QStringLiteral("操作盤でダイアログ「%1」が開いています").arg(dialog->windowTitle());
    }
    return QString();
}

template <typename Command>
CommandResult BusPanelControl::run(Command command)
{
    if (const QString held = heldReason(); !held.isEmpty()) {
        return {CommandResult::Unavailable, held, QString()};
    }
    ErrorReport::Capture capture;
    CommandResult result = command();
    if (result.outcome == CommandResult::Done && !capture.messages().isEmpty()) {
        // A window could not show what the bus does (a panel picture).
        return {CommandResult::Refused, capture.messages().join(QLatin1Char('\n')), QString()};
    }
    // One text for whoever asked: the message, then what it names.
    if (!result.detail.isEmpty()) {
        result.reason += QLatin1Char('\n') + result.detail;
        result.detail.clear();
    }
    return result;
}

CommandResult BusPanelControl::setRoute(const QString &route, const QString &section)
{
    return run([&] { return m_bus.setRoute(route, section); });
}

CommandResult BusPanelControl::step(bool forward)
{
    return run([&] { return m_bus.step(forward); });
}

CommandResult BusPanelControl::announce(bool next)
{
    return run([&] { return m_bus.announce(next); });
}

CommandResult BusPanelControl::stopAnnouncement()
{
    return run([&] { return m_bus.stopAnnouncement(); });
}

CommandResult BusPanelControl::setLateNight(bool on)
{
    return run([&] { return m_bus.setLateNight(on); });
}

CommandResult BusPanelControl::setBacklight(int state)
{
    return run([&] { return m_bus.setBacklight(state); });
}

CommandResult BusPanelControl::setCleared(bool on)
{
    return run([&] { return m_bus.setCleared(on); });
}

CommandResult BusPanelControl::requestStop()
{
    return run([&] { return m_bus.requestStop(); });
}

CommandResult BusPanelControl::startRun(const QString &tripId, int speed)
{
    return run([&] { return m_display.runs().startTimetable(tripId, speed); });
}

CommandResult BusPanelControl::pauseRun(bool paused)
{
    return run([&] { return m_display.runs().setPaused(paused); });
}

CommandResult BusPanelControl::stopRun()
{
    return run([&] { return m_display.runs().stop(); });
}

CommandResult BusPanelControl::setRecording(bool on)
{
    return m_recording ? m_recording(on) : PanelControl::setRecording(on);
}
