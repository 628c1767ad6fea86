#pragma once

#include "fare/CommandResult.h"
#include "fare/FareBoard.h"
#include "fare/FareRoute.h"
#include "fare/InputHold.h"
#include "settings/OptionInfo.h"

#include <QDateTime>
#include <QFlags>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class ChimePlayer;
class MultimediaCommands;
class SpeechService;
class mdlM_Tape;

// The running bus: the route that is set (its number and section, fares,
// announcements and their readings), the stop it stands at, what the board
// shows there, the late-night fare, the backlight, the cleared display, the
// lamp test and why the input is held. Whoever drives the bus (the panel's
// keys, the remote interface, the route editor) calls its commands; the
// windows show its state and follow its change signal. No window is needed
// to run it.
class BusOperation : public QObject
{
    Q_OBJECT

public:
    // What a change touched; one signal carries them all.
    enum class Change : unsigned {
        // A route was set: its number, section, fares and announcements.
        Route = 0x01,
        // The board shows the current stop anew (board() holds it): a data
        // step, a route set, the display restored. Nothing else redraws the
        // fares: a late-night switch shows at the next stop shown.
        Stop = 0x02,
        // The announcement position, whether it speaks, or whether the
        // announcement keys can be used (speech, the route's file).
        Announcement = 0x04,
        LateNight = 0x08,
        Backlight = 0x10,
        Cleared = 0x20,
        // The lamp test began or ended.
        LampTest = 0x40,
        // The input was held or released, or the reason changed.
        Held = 0x80,
        // The stop request lamp lit or went out.
        StopRequest = 0x100,
    };
    Q_DECLARE_FLAGS(Changes, Change)

    // How the bus reaches the platform. Any may be null: no sound, no
    // speech. `options` is asked at the moment of use, so changed options
    // apply from the next command on; `clock` gives the time of day for the
    // ticket and the held date (the system's when not given).
    struct Services
    {
        // The sound channels, and the wait of a waited sound (also the lamp
        // test's): it holds the input, not the painting.
        MultimediaCommands *sound = nullptr;
        SpeechService *speech = nullptr;
        // The sound before an announcement.
        ChimePlayer *chimes = nullptr;
        std::function<OptionInfo()> options;
        std::function<QDateTime()> clock;
    };

    // How long route setting lights every segment of the fare cells.
    static constexpr int LampTestMs = 3000;
    // The stop request's chime, in the working folder beside the demo
    // routes, and the words said after it.
    static constexpr const char *StopRequestChime = "sound/stop-request.wav";
    static constexpr const char *StopRequestWords = "次、とまります。";

    explicit BusOperation(Services services, QObject *parent = nullptr);
    ~BusOperation() override;

    // --- State

    const FareRoute &route() const { return m_route; }
    // The section as entered when the route was set (digits; may be empty).
    QString sectionText() const { return m_sectionText; }
    // What the board shows at the current stop, as it was last shown:
    // fares (doubled while the late-night fare was on), information
    // numbers, the stop name and the ticket. Invalid before any route.
    const StopView &board() const { return m_board; }
    // What the board would show at `stop` now, with the options as they are.
    StopView stopView(int stop) const;

    bool lateNight() const { return m_lateNight; }
    // 英語放送: each announcement followed by its English line.
    bool englishAnnouncements() const { return m_english; }
    void setEnglishAnnouncements(bool on) { m_english = on; }
    // 0 OFF, 1 ON1, 2 ON2.
    int backlight() const { return m_backlight; }
    bool cleared() const { return m_cleared; }
    bool lampTest() const { return m_lampTest; }
    // A passenger asked to get off at the next stop (the とまります lamp).
    bool stopRequested() const { return m_stopRequested; }

    // The route's announcements (position, records, speech).
    mdlM_Tape &tape() const { return *m_tape; }
    bool speaking() const;
    // Whether the announcement keys can be used now.
    bool announcementsAvailable() const;

    // Why the bus takes no command now, in the operator's words; empty when
    // it takes them.
    QString heldReason() const { return m_hold.reason(); }
    const InputHold &inputHold() const { return m_hold; }

    OptionInfo options() const;
    // The folders a route setting reads from (empty: the working folder),
    // each ending in "/" when not empty.
    QString fareFolder() const;
    QString tapeFolder() const;

    // --- Commands. Each one either is done or changes nothing at all and
    // says why.

    // Route and section as entered (digits): plays the route-setting sound
    // (also when the route is then refused), reads the fare data and the
    // announcements, runs the lamp test and shows the start stop.
    CommandResult setRoute(const QString &routeText, const QString &sectionText);
    // Data back or forward (データ戻し・送り), with its stepping sound. At
    // either end of the route nothing happens, not even the sound.
    CommandResult step(bool forward);
    // Announcement next or back (送り・戻し): the sound before it, the
    // words, and a data step where the record's step flag says so.
    CommandResult announce(bool next);
    CommandResult stopAnnouncement();
    // The next announcement passed over unspoken, for a bus that drives on
    // before it was said: the position moves on and the fares step where
    // the record's flag says so, with the stepping sound but no words.
    CommandResult passAnnouncement();
    CommandResult setLateNight(bool on);
    CommandResult setBacklight(int state);
    // Clearing blanks the display and takes the keys of route entry,
    // stepping, announcements and the late-night fare away; restoring shows
    // the current stop again.
    CommandResult setCleared(bool on);
    // The stop request (降車ボタン): lights the lamp, plays the chime and
    // says the words. Pressed again while lit it does nothing; the next
    // data step (the bus has stopped) or a new route puts it out.
    CommandResult requestStop();

signals:
    void changed(BusOperation::Changes what);

private:
    // Why a command cannot be taken: held input first, then what the key
    // needs (a route, an undimmed display); nothing when it can.
    std::optional<CommandResult> unavailable(bool needsRoute, bool refusedWhileCleared) const;
    // Why the announcement keys cannot be used now; nothing when they can.
    std::optional<CommandResult> announcementRefusal() const;
    // One stop back or forward with its sound, then the stop shown. Every
    // data step passes here: the operator's, an announcement's.
    void moveStop(bool forward);
    // Puts the stop request lamp out; what that changed, for the signal.
    Changes takeStopRequest();
    // Lights every segment for LampTestMs, holding the input.
    void runLampTest();
    // Takes the current stop onto the board and tells the views.
    void showStop(Changes alongWith);
    void playSound(const QString &file, const QString &channel, bool wait);
    // While it speaks: when the words have ended, the views hear of it.
    void watchSpeech();
    QDateTime now() const;

    Services m_services;
    FareRoute m_route;
    QString m_sectionText;
    std::unique_ptr<mdlM_Tape> m_tape;
    InputHold m_hold;
    StopView m_board;
    bool m_lateNight = false;
    bool m_english = true;
    int m_backlight = 0;
    bool m_cleared = false;
    bool m_lampTest = false;
    bool m_stopRequested = false;
    // Speech says nothing when it ends: look while it speaks.
    QTimer m_speechWatch;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(BusOperation::Changes)
