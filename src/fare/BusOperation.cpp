#include "BusOperation.h"

#include "fare/OperationOptions.h"
#include "fare/RouteSetting.h"
#include "fare/SteppingSound.h"
#include "sound/ChimePlayer.h"
#include "sound/MultimediaCommands.h"
#include "sound/SpeechEngine.h"
#include "sound/mdlM_Tape.h"
#include "sound/mdlSndAPI.h"

namespace {

constexpr int SpeechWatchMs = 200;

const QString NoRoute = QStringLiteral("系統が設定されていません");
const QString Cleared = QStringLiteral("表示消去中です");

CommandResult unavailableFor(const QString &reason)
{
    return {CommandResult::Unavailable, reason, QString()};
}

} // namespace

BusOperation::BusOperation(Services services, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
{
    m_tape = std::make_unique<mdlM_Tape>(m_services.speech, m_services.chimes,
                                         [this] {
                                             TapeOptions tape = OperationOptions::tape(options());
                                             tape.english = m_english;
                                             return tape;
                                         });
    connect(m_tape.get(), &mdlM_Tape::groupChanged, this, [this] { emit changed(Change::Announcement); });
    connect(&m_hold, &InputHold::changed, this, [this] { emit changed(Change::Held); });
    m_speechWatch.setInterval(SpeechWatchMs);
    connect(&m_speechWatch, &QTimer::timeout, this, &BusOperation::watchSpeech);
}

BusOperation::~BusOperation() = default;

// ---------------------------------------------------------------------------
// State

OptionInfo BusOperation::options() const
{
    return m_services.options ? m_services.options() : OptionInfo();
}

QString BusOperation::fareFolder() const
{
    return OperationOptions::fareFolder(options());
}

QString BusOperation::tapeFolder() const
{
    return OperationOptions::tapeFolder(options());
}

QDateTime BusOperation::now() const
{
    return m_services.clock ? m_services.clock() : QDateTime::currentDateTime();
}

StopView BusOperation::stopView(int stop) const
{
    return FareBoard::compute(m_route, stop, OperationOptions::fareDisplay(options(), m_lateNight), now());
}

bool BusOperation::speaking() const
{
    return m_tape->engine() && m_tape->engine()->isSpeaking();
}

bool BusOperation::announcementsAvailable() const
{
    return !m_cleared && m_tape->groupEnabled() && m_tape->buttonsEnabled();
}

std::optional<CommandResult> BusOperation::unavailable(bool needsRoute, bool refusedWhileCleared) const
{
    if (m_hold.isHeld()) {
        return unavailableFor(m_hold.reason());
    }
    if (refusedWhileCleared && m_cleared) {
        return unavailableFor(Cleared);
    }
    if (needsRoute && !m_route.hasRoute()) {
        return unavailableFor(NoRoute);
    }
    return std::nullopt;
}

// ---------------------------------------------------------------------------
// Route setting

CommandResult BusOperation::setRoute(const QString &routeText, const QString &sectionText)
{
    if (const auto refusal = unavailable(false, true)) {
        return *refusal;
    }
    const InputHold::Scope hold(m_hold, QStringLiteral("系統設定中です"));
    const OptionInfo settings = options();
    // The route-setting sound plays even when the setting then fails.
    playSound(settings.Sound.SndRouteSet, QStringLiteral("S1"), false);

    const RouteRequest request = RouteSetting::request(routeText, sectionText);
    const RouteLoadResult loaded = m_route.load(
        request, RouteSetting::fareFilePath(OperationOptions::fareFolder(settings), request.routeNumber));
    if (!loaded.ok) {
        // The fares, the stop and the announcements stay those of the route
        // on the board.
        return {CommandResult::Refused, loaded.message, loaded.informativeText};
    }
    m_sectionText = sectionText;
    m_tape->LoadTape(OperationOptions::tapeFolder(settings), request.routeNumber);
    runLampTest();
    m_route.setHeldDate(OperationOptions::heldDate(settings, now().date()));
    // A request made on the last route is not one for this route's stops.
    showStop(Change::Route | Change::LampTest | takeStopRequest());
    return {};
}

void BusOperation::runLampTest()
{
    const InputHold::Scope hold(m_hold, QStringLiteral("ランプテスト中です"));
    m_lampTest = true;
    emit changed(Change::LampTest);
    if (m_services.sound) {
        m_services.sound->sleep(LampTestMs);
    }
    // The views hear of the end together with the stop they show next.
    m_lampTest = false;
}

void BusOperation::showStop(Changes alongWith)
{
    m_board = stopView(m_route.currentStop());
    emit changed(alongWith | Change::Stop);
}

// ---------------------------------------------------------------------------
// Stepping and announcements

CommandResult BusOperation::step(bool forward)
{
    if (const auto refusal = unavailable(true, true)) {
        return *refusal;
    }
    moveStop(forward);
    return {};
}

void BusOperation::moveStop(bool forward)
{
    const InputHold::Scope hold(m_hold, QStringLiteral("データ送り・戻しの途中です"));
    if (!(forward ? m_route.stepForward() : m_route.stepBack())) {
        return; // at the first or the last stop nothing happens, not even a sound
    }
    const OptionInfo settings = options();
    // With the waiting option the fares change only after the sound.
    playSound(SteppingSound::fileFor(m_route, m_route.currentStop(), OperationOptions::steppingSound(settings)),
              QStringLiteral("S2"), OperationOptions::waitsForSteppingSound(settings));
    // The bus has stopped for whoever asked.
    showStop(takeStopRequest());
}

std::optional<CommandResult> BusOperation::announcementRefusal() const
{
    if (const auto refusal = unavailable(false, true)) {
        return refusal;
    }
    if (announcementsAvailable()) {
        return std::nullopt;
    }
    if (!m_tape->SpeechAvailable()) {
        return unavailableFor(QStringLiteral("音声合成が使えません（%1）").arg(m_tape->groupCaption()));
    }
    return unavailableFor(QStringLiteral("この系統の放送データがありません"));
}

CommandResult BusOperation::announce(bool next)
{
    if (const auto refusal = announcementRefusal()) {
        return *refusal;
    }
    const InputHold::Scope hold(m_hold, QStringLiteral("放送の途中です"));
    if (next) {
        m_tape->TapeNext();
    } else {
        m_tape->TapeBack();
    }
    if (speaking() && !m_speechWatch.isActive()) {
        m_speechWatch.start();
    }
    emit changed(Change::Announcement);
    // Also past the last record or before the first: the record the
    // position rests on says whether the fares step with it.
    if (m_tape->GetTapeStepFlag(m_tape->GetTapePos()) == 1) {
        moveStop(next);
    }
    return {};
}

CommandResult BusOperation::passAnnouncement()
{
    if (const auto refusal = announcementRefusal()) {
        return *refusal;
    }
    const InputHold::Scope hold(m_hold, QStringLiteral("放送の途中です"));
    m_tape->TapeSkip();
    emit changed(Change::Announcement);
    if (m_tape->GetTapeStepFlag(m_tape->GetTapePos()) == 1) {
        moveStop(true);
    }
    return {};
}

CommandResult BusOperation::stopAnnouncement()
{
    if (const auto refusal = announcementRefusal()) {
        return *refusal;
    }
    m_tape->StopTape();
    m_speechWatch.stop();
    emit changed(Change::Announcement);
    return {};
}

CommandResult BusOperation::requestStop()
{
    if (const auto refusal = unavailable(true, true)) {
        return *refusal;
    }
    if (m_stopRequested) {
        return {}; // a lit lamp takes further presses without a sound
    }
    const InputHold::Scope hold(m_hold, QStringLiteral("とまりますの案内中です"));
    m_stopRequested = true;
    emit changed(Change::StopRequest);
    // The words follow the chime, as on a real bus; they cut short an
    // announcement that was playing.
    if (m_services.chimes) {
        m_services.chimes->play(QString::fromLatin1(StopRequestChime), QStringLiteral("S4"), true);
    }
    if (SpeechEngine *engine = m_tape->engine()) {
        engine->stop();
        if (engine->speak(QString::fromUtf8(StopRequestWords))) {
            if (!m_speechWatch.isActive()) {
                m_speechWatch.start();
            }
            emit changed(Change::Announcement);
        }
    }
    return {};
}

BusOperation::Changes BusOperation::takeStopRequest()
{
    if (!m_stopRequested) {
        return {};
    }
    m_stopRequested = false;
    return Change::StopRequest;
}

void BusOperation::watchSpeech()
{
    if (!speaking()) {
        m_speechWatch.stop();
        emit changed(Change::Announcement);
    }
}

// ---------------------------------------------------------------------------
// Switches

CommandResult BusOperation::setLateNight(bool on)
{
    if (const auto refusal = unavailable(false, true)) {
        return *refusal;
    }
    if (on == m_lateNight) {
        return {};
    }
    // Not redrawn here: the doubled or normal fares show at the next stop shown.
    m_lateNight = on;
    emit changed(Change::LateNight);
    return {};
}

CommandResult BusOperation::setBacklight(int state)
{
    if (const auto refusal = unavailable(false, false)) {
        return *refusal;
    }
    if (state < 0 || state > 2) {
        return {CommandResult::Refused, QStringLiteral("バックライトは 0（OFF）、1（ON1）、2（ON2）のどれかです"), QString()};
    }
    if (state == m_backlight) {
        return {};
    }
    m_backlight = state;
    emit changed(Change::Backlight);
    return {};
}

CommandResult BusOperation::setCleared(bool on)
{
    if (const auto refusal = unavailable(true, false)) {
        return *refusal;
    }
    if (on == m_cleared) {
        return {};
    }
    const InputHold::Scope hold(m_hold, QStringLiteral("表示消去の切り替え中です"));
    m_cleared = on;
    if (on) {
        emit changed(Change::Cleared | Change::Announcement);
    } else {
        showStop(Change::Cleared | Change::Announcement);
    }
    return {};
}

// ---------------------------------------------------------------------------
// Helpers

void BusOperation::playSound(const QString &file, const QString &channel, bool wait)
{
    if (m_services.sound) {
        mdlSndAPI(*m_services.sound).PlaySnd(file, channel, wait, 0);
    }
}
