#include "PanelRemote.h"

#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "display/BoardLayout.h"
#include "display/ErrorReport.h"
#include "display/Form1.h"
#include "fare/OperationStatus.h"
#include "fare/PanelButton.h"
#include "fare/BusOperation.h"
#include "fare/frmCtl.h"
#include "sound/SpeechEngine.h"
#include "sound/mdlM_Tape.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int SpeechWatchMs = 200;

const QString NoRoute = QStringLiteral("系統が設定されていません");
const QString Cleared = QStringLiteral("表示消去中です");

} // namespace

PanelRemote::PanelRemote(Form1 &display, QObject *parent)
    : QObject(parent)
    , m_display(display)
    , m_panel(*display.controlPanel())
{
    m_speechWatch.setInterval(SpeechWatchMs);
    connect(&m_speechWatch, &QTimer::timeout, this, &PanelRemote::watchSpeech);
    connect(&m_display.operation().inputHold(), &InputHold::changed, this, &PanelRemote::changed);
    connect(m_panel.Check1(), &QCheckBox::toggled, this, &PanelRemote::changed);
    connect(m_panel.Check2(), &QCheckBox::toggled, this, &PanelRemote::changed);
    for (int i = 0; i < 3; ++i) {
        connect(m_panel.Option4(i), &QRadioButton::toggled, this, &PanelRemote::changed);
    }
    connect(&m_display.operation().tape(), &mdlM_Tape::groupChanged, this, &PanelRemote::changed);
    // While an announcement is spoken, look for its end.
    connect(this, &PanelRemote::changed, this, [this] {
        if (state().speaking && !m_speechWatch.isActive()) {
            m_speechWatch.start();
        }
    });
}

void PanelRemote::watchSpeech()
{
    const SpeechEngine *engine = m_display.operation().tape().engine();
    if (!engine || !engine->isSpeaking()) {
        m_speechWatch.stop();
        emit changed();
    }
}

PanelState PanelRemote::state() const
{
    PanelState state;
    const FareRoute &route = m_display.operation().route();
    state.hasRoute = route.hasRoute();
    state.route = route.state().RouteText;
    state.section = route.state().StartSection;
    if (state.hasRoute) {
        state.stopPosition = route.currentStop();
        state.stopCount = route.state().RecordCount;
        const auto &slot = route.table().slot(state.stopPosition);
        state.stopName = slot.name;
        state.ticket = slot.ticketNumber;
    }
    state.lateNight = m_panel.Check2()->isChecked();
    state.backlight = m_panel.backlightState();
    state.cleared = m_panel.Check1()->isChecked();

    const mdlM_Tape &tape = m_display.operation().tape();
    state.announcementPosition = tape.GetTapePos();
    state.announcementCount = tape.GetTapeCount();
    state.nextAnnouncement = OperationStatus(route, tape).nextAnnouncement().value_or(QString());
    state.speaking = tape.engine() && tape.engine()->isSpeaking();
    state.announcementAvailable = m_panel.findChild<QPushButton *>(QStringLiteral("cmdTapeNext"))->isEnabled();

    for (int n = 1; n <= BoardLayout::Positions; ++n) {
        state.cells.append(m_display.Degit(n)->shownText());
        state.labels.append(m_display.lblSeiriNum(n)->text());
    }
    // The strip names what it shows for a screen reader.
    state.strip = m_display.ChimeiCtl()->accessibleName();
    state.held = heldReason();
    return state;
}

QString PanelRemote::heldReason() const
{
    if (m_display.operation().inputHold().isHeld()) {
        return m_display.operation().inputHold().reason();
    }
    // A dialog of the program (options, a message, the end question) holds
    // the panel until the operator answers it.
    if (const QWidget *dialog = QApplication::activeModalWidget()) {
        return QStringLiteral("操作盤でダイアログ「%1」が開いています").arg(dialog->windowTitle());
    }
    return QString();
}

QString PanelRemote::refusalFor(const QAbstractButton *key, const QString &unavailable) const
{
    if (const QString held = heldReason(); !held.isEmpty()) {
        return held;
    }
    if (!key->isEnabled()) {
        return unavailable;
    }
    return QString();
}

template <typename Operation>
CommandResult PanelRemote::run(Operation operation)
{
    ErrorReport::Capture capture;
    operation();
    emit changed();
    if (!capture.messages().isEmpty()) {
        return {CommandResult::Refused, capture.messages().join(QLatin1Char('\n'))};
    }
    return {};
}

CommandResult PanelRemote::setRoute(const QString &route, const QString &section)
{
    // Route entry is the keypad's: usable while its frame is.
    if (const QString held = heldReason(); !held.isEmpty()) {
        return {CommandResult::Unavailable, held};
    }
    if (!m_panel.Frame1(1)->isEnabled()) {
        return {CommandResult::Unavailable, Cleared};
    }
    CommandResult result = m_display.operation().setRoute(route, section);
    emit changed();
    if (!result.detail.isEmpty()) {
        result.reason += QLatin1Char('\n') + result.detail;
    }
    return result;
}

CommandResult PanelRemote::step(bool forward)
{
    QAbstractButton *key = m_panel.Command2(forward ? 1 : 0);
    if (const QString refusal = refusalFor(key, m_panel.Check1()->isChecked() ? Cleared : NoRoute); !refusal.isEmpty()) {
        return {CommandResult::Unavailable, refusal};
    }
    return run([key] { key->click(); });
}

QString PanelRemote::tapeUnavailable() const
{
    if (m_panel.Check1()->isChecked()) {
        return Cleared;
    }
    if (!m_display.operation().tape().SpeechAvailable()) {
        return QStringLiteral("音声合成が使えません（%1）").arg(m_display.operation().tape().groupCaption());
    }
    return QStringLiteral("この系統の放送データがありません");
}

CommandResult PanelRemote::announce(bool next)
{
    auto *key = m_panel.findChild<QPushButton *>(next ? QStringLiteral("cmdTapeNext") : QStringLiteral("cmdTapeBack"));
    if (const QString refusal = refusalFor(key, tapeUnavailable()); !refusal.isEmpty()) {
        return {CommandResult::Unavailable, refusal};
    }
    return run([key] { key->click(); });
}

CommandResult PanelRemote::stopAnnouncement()
{
    auto *key = m_panel.findChild<QPushButton *>(QStringLiteral("cmdTapeStop"));
    if (const QString refusal = refusalFor(key, tapeUnavailable()); !refusal.isEmpty()) {
        return {CommandResult::Unavailable, refusal};
    }
    return run([key] { key->click(); });
}

CommandResult PanelRemote::setLateNight(bool on)
{
    QCheckBox *key = m_panel.Check2();
    if (const QString refusal = refusalFor(key, Cleared); !refusal.isEmpty()) {
        return {CommandResult::Unavailable, refusal};
    }
    return run([key, on] {
        if (key->isChecked() != on) {
            key->click();
        }
    });
}

CommandResult PanelRemote::setBacklight(int state)
{
    QRadioButton *key = m_panel.Option4(state);
    if (const QString refusal = refusalFor(key, QStringLiteral("バックライトは使えません")); !refusal.isEmpty()) {
        return {CommandResult::Unavailable, refusal};
    }
    return run([key] { key->click(); });
}

CommandResult PanelRemote::setCleared(bool on)
{
    QCheckBox *key = m_panel.Check1();
    if (const QString refusal = refusalFor(key, NoRoute); !refusal.isEmpty()) {
        return {CommandResult::Unavailable, refusal};
    }
    return run([key, on] {
        if (key->isChecked() != on) {
            key->click();
        }
    });
}
